#include "cli/fdstream.h"
#include "cli/slopecalc.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>

int main(int argc, char* argv[]) {
    FdOutput output(1), errors(2);
    std::ostream out(&output), err(&errors);
    FdInput input(0, false, &out);
    std::istream in(&input);
    catchStopSignals();
    // a file-size limit fails the write (EFBIG), which slopecalc reports, instead of killing it
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        const int status =
            runSlopecalc(std::vector<std::string>(argv + 1, argv + argc), in, out, err);
        return stopSignal() ? 128 + stopSignal() : status;
    } catch (const std::exception& e) { // the last resort: a fault of slopecalc, never an abort
        std::fprintf(stderr, "slopecalc: internal error: %s\n", e.what());
        return 4;
    }
}
