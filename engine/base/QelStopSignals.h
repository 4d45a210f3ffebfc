#pragma once
// SIGINT and SIGTERM as a request to end the program: while an instance
// lives, either signal only sets a flag, which the run loop's event pump
// turns into a quit, so the program ends through its normal path.

#include <memory>

class QelStopSignals {
public:
    // Installs the handlers and clears any earlier request.
    QelStopSignals();
    // Puts back the handlers that were there before.
    ~QelStopSignals();
    QelStopSignals(const QelStopSignals&) = delete;
    QelStopSignals& operator=(const QelStopSignals&) = delete;

    static bool Requested();

private:
    struct Previous;
    std::unique_ptr<Previous> previous;
};
