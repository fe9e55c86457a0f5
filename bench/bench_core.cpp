#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "core/numerictext.h"
#include "plain.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

// Each checked routine beside the same formula in plain double ("…/checked" against
// "…/plain"), and the text conversions beside std::from_chars and std::to_chars.
namespace {

using namespace subprogram;
using benchmark::DoNotOptimize;

// Inputs vary a little from call to call, so that nothing folds into a constant.
double vary(benchmark::State& state, double base) {
    return base + static_cast<double>(state.iterations() % 7) * 0.01;
}

void coulomb_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(coulombActive(5, 18, vary(st, 30), 10, 1.5, 10, 45, 10, 80));
}
void coulomb_plain(benchmark::State& st) {
    double Ka, Ea;
    for (auto _ : st) {
        plain::coulombActive(5, 18, vary(st, 30), 10, 1.5, 10, 10, 80, Ka, Ea);
        DoNotOptimize(Ka), DoNotOptimize(Ea);
    }
}
void atRest_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(atRestEarthPressure(vary(st, 30), 1.5, 18, 5));
}
void atRest_plain(benchmark::State& st) {
    double K0, E0;
    for (auto _ : st) {
        plain::atRestEarthPressure(vary(st, 30), 1.5, 18, 5, K0, E0);
        DoNotOptimize(K0), DoNotOptimize(E0);
    }
}
void limitedFill_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(limitedFillEarthPressure(5, 18, vary(st, 12), 10, 1.5, 10, 60, 10, 80));
}
void limitedFill_plain(benchmark::State& st) {
    double Ka, Ea;
    for (auto _ : st) {
        plain::limitedFillEarthPressure(5, 18, vary(st, 12), 10, 10, 60, 10, 80, Ka, Ea);
        DoNotOptimize(Ka), DoNotOptimize(Ea);
    }
}
void anchor_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(anchorBarDesign(3, 140, 10, vary(st, 15), 310, true, 1.1, 180, 2700, 22));
}
void anchor_plain(benchmark::State& st) {
    double out[4];
    for (auto _ : st) {
        plain::anchorBarDesign(3, 140, 10, vary(st, 15), 310, true, 1.1, 180, 2700, 22, out);
        DoNotOptimize(out);
    }
}
void uprightWall_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(uprightWallWeight(0.05f, 4, 2, float(vary(st, 11.3)), 0.5f, 1.3f, 24, 1.49f));
}
void uprightWall_plain(benchmark::State& st) {
    float G, x0;
    for (auto _ : st) {
        plain::uprightWallWeight(0.05f, 4, 2, float(vary(st, 11.3)), 0.5f, 1.3f, 24, 1.49f, G, x0);
        DoNotOptimize(G), DoNotOptimize(x0);
    }
}
void shelfWall_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(shelfWallWeight(0.05f, 0.35f, 0.25f, 2, 4, 0.65f, 0.5f, 1.3f, 1.03f, 0.45f,
                                      0.5f, float(vary(st, 1.49)), 24));
}
void shelfWall_plain(benchmark::State& st) {
    float G, x0;
    for (auto _ : st) {
        plain::shelfWallWeight(0.05f, 0.35f, 0.25f, 2, 4, 0.65f, 0.5f, 1.3f, 1.03f, 0.45f, 0.5f,
                               float(vary(st, 1.49)), 24, G, x0);
        DoNotOptimize(G), DoNotOptimize(x0);
    }
}
void sliding_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(antiSlidingFactor(118.8f, 28.87f, float(vary(st, 11.3)), 90, 10, 0.3f));
}
void sliding_plain(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(
            plain::antiSlidingFactor(118.8f, 28.87f, float(vary(st, 11.3)), 90, 10, 0.3f));
}
void overturning_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(antiOverturningFactor(118.8f, 28.87f, float(vary(st, 11.3)), 2.27f, 90, 10,
                                            1.49f, 0.93f));
}
void overturning_plain(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(plain::antiOverturningFactor(118.8f, 28.87f, float(vary(st, 11.3)), 2.27f, 90,
                                                   10, 1.49f, 0.93f));
}
void baseStress_checked(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(
            baseStress(118.8f, 2.6f, 4, 0.298f, float(vary(st, 0.93)), 10, 90, 28.87f, 1.49f));
}
void baseStress_plain(benchmark::State& st) {
    float out[3];
    for (auto _ : st) {
        plain::baseStress(118.8f, 2.6f, 4, 0.298f, float(vary(st, 0.93)), 10, 90, 28.87f, 1.49f,
                          out);
        DoNotOptimize(out);
    }
}
void beam10_checked(benchmark::State& st) {
    const std::vector<double> spans(10, 2.0);
    for (auto _ : st)
        DoNotOptimize(solveContinuousBeam(spans, 200, 300, vary(st, 10), 25500,
                                          EndCondition::Hinged, EndCondition::Hinged));
}
void beam10_plain(benchmark::State& st) {
    for (auto _ : st)
        DoNotOptimize(plain::solveContinuousBeam(10, 2.0, 200, 300, vary(st, 10), 25500, false));
}

// Field texts as engineers type them, and results as the routines give them.
const std::vector<std::string>& texts() {
    static const std::vector<std::string> t = {
        "5",    "18", "30",   "1.5", "0.344444462206344", "77.5000039964273",
        "11.3", ".5", "2700", "1.1"};
    return t;
}
const std::vector<double>& values() {
    static std::vector<double> v = [] {
        std::vector<double> out;
        for (const auto& t : texts())
            out.push_back(std::stod(t) * 1.0000001);
        return out;
    }();
    return v;
}

void textToDouble_checked(benchmark::State& st) {
    std::size_t i = 0;
    for (auto _ : st)
        DoNotOptimize(textToDouble(texts()[i++ % texts().size()]));
}
void textToDouble_plain(benchmark::State& st) {
    std::size_t i = 0;
    for (auto _ : st) {
        const std::string& t = texts()[i++ % texts().size()];
        double v;
        std::from_chars(t.data(), t.data() + t.size(), v);
        DoNotOptimize(v);
    }
}
void doubleToText_checked(benchmark::State& st) {
    std::size_t i = 0;
    for (auto _ : st)
        DoNotOptimize(doubleToText(values()[i++ % values().size()]));
}
void doubleToText_plain(benchmark::State& st) {
    std::size_t i = 0;
    for (auto _ : st) {
        char buffer[32];
        const auto r = std::to_chars(buffer, buffer + 32, values()[i++ % values().size()],
                                     std::chars_format::general, 15);
        DoNotOptimize(std::string(buffer, r.ptr));
    }
}

BENCHMARK(coulomb_checked);
BENCHMARK(coulomb_plain);
BENCHMARK(atRest_checked);
BENCHMARK(atRest_plain);
BENCHMARK(limitedFill_checked);
BENCHMARK(limitedFill_plain);
BENCHMARK(anchor_checked);
BENCHMARK(anchor_plain);
BENCHMARK(uprightWall_checked);
BENCHMARK(uprightWall_plain);
BENCHMARK(shelfWall_checked);
BENCHMARK(shelfWall_plain);
BENCHMARK(sliding_checked);
BENCHMARK(sliding_plain);
BENCHMARK(overturning_checked);
BENCHMARK(overturning_plain);
BENCHMARK(baseStress_checked);
BENCHMARK(baseStress_plain);
BENCHMARK(beam10_checked);
BENCHMARK(beam10_plain);
BENCHMARK(textToDouble_checked);
BENCHMARK(textToDouble_plain);
BENCHMARK(doubleToText_checked);
BENCHMARK(doubleToText_plain);

} // namespace

BENCHMARK_MAIN();
