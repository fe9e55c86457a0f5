#include "cli/slopecalc.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 1000;

// A batch of kRows rows varying one parameter; every tenth row bad unless `clean`.
std::string batch(const std::string& header, const std::string& fixed, int first, int step,
                  bool clean = false) {
    std::string csv = header + "\n";
    for (int i = 0; i < kRows; ++i) {
        const bool bad = !clean && i % 10 == 9;
        csv += (bad ? std::string("x") : std::to_string(first + i % 50 * step)) + fixed + "\n";
    }
    return csv;
}

void rowsPerSecond(benchmark::State& state, std::vector<std::string> args,
                   const std::string& input) {
    args.insert(args.end(), {"--csv", "-"});
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        benchmark::DoNotOptimize(runSlopecalc(args, in, out, err));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

const std::string kEarth = batch("phi,c,q", ",5,1.5", 20, 0);
const std::string kEarthClean = batch("phi,c,q", ",5,1.5", 20, 0, true);
const std::string kAnchor = batch("Htk,a", ",15", 10, 2);
const std::string kWall = batch("q,H", ",2.6", 5, 1);
const std::string kBeam = batch("q,n", ",5", 5, 1);

BENCHMARK_CAPTURE(rowsPerSecond, earth_pressure, {"earth-pressure"}, kEarth);
BENCHMARK_CAPTURE(rowsPerSecond, earth_pressure_no_bad_rows, {"earth-pressure"}, kEarthClean);
BENCHMARK_CAPTURE(rowsPerSecond, anchor, {"anchor"}, kAnchor);
BENCHMARK_CAPTURE(rowsPerSecond, gravity_wall, {"gravity-wall", "--type", "upright"}, kWall);
BENCHMARK_CAPTURE(rowsPerSecond, beam, {"beam"}, kBeam);

} // namespace

BENCHMARK_MAIN();
