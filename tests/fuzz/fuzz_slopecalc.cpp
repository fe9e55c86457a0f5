#include "cli/slopecalc.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// The first byte chooses between arguments and a CSV batch; the rest is either arguments, one a
// line, or a subcommand line followed by the CSV. slopecalc must answer with one of its statuses
// (0 to 3: a report it cannot write is 3), never crash. Every report goes to /dev/null: the
// fuzzer must not write files wherever it runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool batch = data[0] & 1;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> args;
    std::string input;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = rest.find('\n', start);
        const std::string line = rest.substr(start, end == std::string::npos ? end : end - start);
        if (batch && !args.empty()) {
            input = rest.substr(start);
            break;
        }
        args.push_back(line);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--report" && i + 1 < args.size()) {
            args[++i] = "/dev/null";
        } else if (args[i].starts_with("--report=")) {
            args[i] = "--report=/dev/null";
        }
    }
    if (batch) {
        args.insert(args.end(), {"--csv", "-"});
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runSlopecalc(args, in, out, err);
    if (status < 0 || status > 3) {
        __builtin_trap();
    }
    return 0;
}
