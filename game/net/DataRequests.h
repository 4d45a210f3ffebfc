#pragma once
// The server's answers to the data requests consoles send over "signal".
// The server's "signal" handler reads the code and hands the rest of the
// message here.

#include <cstdint>

class QelNetworkMessage;

// Code 3: each listed object that exists is queued for the requester, once
// however often it is named; the server's frames answer the queue with
// "fullobject" and the object's whole data set as "objectBlob".
void AnswerFullObjectRequest(QelNetworkMessage& message, uint64_t requester);
// Code 65: the ship definition is queued for the requester, once however
// often it is asked for; the server's frames answer with code 65 and the
// record's wire form. A key the definitions do not hold gets no answer.
void AnswerShipRecordRequest(QelNetworkMessage& message, uint64_t requester);
// Code 67: one chunk of a ship type's mesh, answered at once to the
// requester alone; a request that breaks its form is dropped and reported.
void AnswerAssetDataRequest(QelNetworkMessage& message, uint64_t requester);
