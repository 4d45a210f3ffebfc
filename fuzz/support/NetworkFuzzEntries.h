#pragma once
// The two entries of the network targets, kept out of the targets' own files
// so that the many per-handler targets compile in a moment: each fuzzed frame
// goes behind the prefix of the message name and "signal" code (an empty
// name: whole messages; a code below 0: no code) to a fresh server or console.

#include <cstddef>
#include <cstdint>

void FuzzServerInput(const uint8_t* data, size_t size, const char* messageName, int signalCode);
void FuzzClientInput(const uint8_t* data, size_t size, const char* messageName, int signalCode);

// The "signal" code a per-code target is run for, from the name it was
// started under (<side>_signal_<code>); prints how to run it and exits when
// the name ends in no code.
int SignalCodeOfProgram(const char* programPath);
