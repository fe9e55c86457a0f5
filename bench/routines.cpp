#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "calculators/study.h"
#include "cli/batch.h"
#include "core/numerictext.h"
#include "inputs.h"
#include "plain.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// bench_routines [ROUNDS]: each checked routine against the same formula in plain doubles, and
// the text conversions against <charconv>. For each pair, ROUNDS rounds time both over the same
// varied inputs, one after the other in alternating order, so that the machine's drift cancels
// in each round's ratio; prints JSON: each pair's median ratio and its quartiles.
namespace {

using namespace subprogram;

// Keeps a value alive without a store the plain side would not make.
template <typename T> void keep(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

constexpr std::size_t kInputs = inputs::kCount;
std::mt19937_64 rng(18);
double in(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(rng);
}

template <typename Run> double seconds(Run run, int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; ++r) {
        for (std::size_t i = 0; i < kInputs; ++i) {
            run(i);
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Ratio {
    std::string name;
    double q1, median, q3, checkedNs, plainNs;
};
std::vector<Ratio> ratios;
int rounds = 41;

template <typename Checked, typename Plain>
void pair(const std::string& name, Checked checked, Plain plain) {
    int repeats = 1; // about a millisecond a timing
    while (seconds(checked, repeats) < 1e-3 && repeats < 1 << 20) {
        repeats *= 2;
    }
    std::vector<double> r, c, p;
    for (int round = 0; round < rounds; ++round) {
        double tc = 0, tp = 0;
        if (round % 2 == 0) {
            tc = seconds(checked, repeats), tp = seconds(plain, repeats);
        } else {
            tp = seconds(plain, repeats), tc = seconds(checked, repeats);
        }
        r.push_back(tc / tp);
        c.push_back(tc), p.push_back(tp);
    }
    const auto at = [](std::vector<double> v, double q) {
        std::sort(v.begin(), v.end());
        return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
    };
    const double calls = static_cast<double>(repeats) * kInputs;
    ratios.push_back({name, at(r, 0.25), at(r, 0.5), at(r, 0.75), at(c, 0.5) / calls * 1e9,
                      at(p, 0.5) / calls * 1e9});
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1) {
        rounds = std::max(5, std::atoi(argv[1]));
    }
    const inputs::All all = inputs::draw();
    const std::vector<inputs::Earth>& earth = all.earth;
    pair(
        "coulombActive",
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            keep(coulombActive(e.H, e.g, e.phi, e.c, e.q, e.delta, e.theta, e.beta, e.alpha));
        },
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            double Ka, Ea;
            plain::coulombActive(e.H, e.g, e.phi, e.c, e.q, e.delta, e.beta, e.alpha, Ka, Ea);
            keep(Ka), keep(Ea);
        });
    pair(
        "atRestEarthPressure",
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            keep(atRestEarthPressure(e.phi, e.q, e.g, e.H));
        },
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            double K0, E0;
            plain::atRestEarthPressure(e.phi, e.q, e.g, e.H, K0, E0);
            keep(K0), keep(E0);
        });
    pair(
        "limitedFillEarthPressure",
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            keep(limitedFillEarthPressure(e.H, e.g, e.dr, e.c, e.q, e.delta, e.theta, e.beta,
                                          e.alpha));
        },
        [&](std::size_t i) {
            const inputs::Earth& e = earth[i];
            double Ka, Ea;
            plain::limitedFillEarthPressure(e.H, e.g, e.dr, e.c, e.delta, e.theta, e.beta, e.alpha,
                                            Ka, Ea);
            keep(Ka), keep(Ea);
        });
    const std::vector<inputs::Anchor>& anchors = all.anchors;
    pair(
        "anchorBarDesign",
        [&](std::size_t i) {
            const inputs::Anchor& a = anchors[i];
            keep(anchorBarDesign(3, a.D, a.Htk, a.a, a.fy, true, a.g0, a.frb, a.fb, a.d));
        },
        [&](std::size_t i) {
            const inputs::Anchor& a = anchors[i];
            double out[5];
            plain::anchorBarDesign(3, a.D, a.Htk, a.a, a.fy, true, a.g0, a.frb, a.fb, a.d, out);
            keep(out);
        });
    const std::vector<inputs::Wall>& walls = all.walls;
    pair(
        "uprightWallWeight",
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(uprightWallWeight(inputs::upright(w)));
        },
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            float G, x0;
            plain::uprightWallWeight(w.n, w.Ht, w.h1, w.alpha0, w.b1, w.b2, w.gw, w.b, G, x0);
            keep(G), keep(x0);
        });
    pair(
        "shelfWallWeight",
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(shelfWallWeight(inputs::shelf(w)));
        },
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            float G, x0;
            plain::shelfWallWeight(w.n, w.x2, w.x3, w.h1, w.Ht, w.h4, w.b1, w.b2, w.b3, w.b4, w.b5,
                                   w.b, w.gw, G, x0);
            keep(G), keep(x0);
        });
    pair(
        "antiSlidingFactor",
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(antiSlidingFactor(w.G, w.Ea, w.alpha0, w.alpha, w.delta, w.mu));
        },
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(plain::antiSlidingFactor(w.G, w.Ea, w.alpha0, w.alpha, w.delta, w.mu));
        });
    pair(
        "antiOverturningFactor",
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(antiOverturningFactor(w.G, w.Ea, w.alpha0, w.z, w.alpha, w.delta, w.b, w.x0));
        },
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(plain::antiOverturningFactor(w.G, w.Ea, w.alpha0, w.z, w.alpha, w.delta, w.b,
                                              w.x0));
        });
    pair(
        "baseStress",
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            keep(baseStress(w.G, w.H, w.Ht, w.h2, w.x0, w.delta, w.alpha, w.Ea, w.b));
        },
        [&](std::size_t i) {
            const inputs::Wall& w = walls[i];
            float out[3];
            plain::baseStress(w.G, w.H, w.Ht, w.h2, w.x0, w.delta, w.alpha, w.Ea, w.b, out);
            keep(out);
        });
    const std::vector<double>& loads = all.loads;
    const std::vector<double> spans(10, 2.0);
    pair(
        "solveContinuousBeam (10 spans)",
        [&](std::size_t i) {
            keep(solveContinuousBeam(spans, 200, 300, loads[i], 25500, EndCondition::Hinged,
                                     EndCondition::Hinged));
        },
        [&](std::size_t i) {
            keep(plain::solveContinuousBeam(10, 2.0, 200, 300, loads[i], 25500, false));
        });

    // texts as engineers type them, numbers as the routines give them
    std::vector<std::string> texts(kInputs);
    std::vector<double> numbers(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
        char buffer[32];
        const int digits = static_cast<int>(in(0, 4));
        std::snprintf(buffer, sizeof buffer, "%.*f", digits, in(0, 500));
        texts[i] = buffer;
        numbers[i] = in(0.01, 500) * (1 + 1e-9);
    }
    pair(
        "textToDouble vs from_chars", [&](std::size_t i) { keep(textToDouble(texts[i])); },
        [&](std::size_t i) {
            double v;
            std::from_chars(texts[i].data(), texts[i].data() + texts[i].size(), v);
            keep(v);
        });
    pair(
        "doubleToText vs to_chars", [&](std::size_t i) { keep(doubleToText(numbers[i])); },
        [&](std::size_t i) {
            char buffer[32];
            const auto r =
                std::to_chars(buffer, buffer + 32, numbers[i], std::chars_format::general, 15);
            keep(std::string(buffer, r.ptr));
        });

    // a study of 10,000 values against the same 10,000 rows as one CSV batch: one engine
    {
        std::vector<std::string> texts;
        for (const Field& f : kGravityWall.fields) {
            texts.emplace_back(f.defaultText);
        }
        const FieldId b = kGravityWall.id(*kGravityWall.field("b"));
        const std::vector<std::string> values = studyRange("1", "2", 10000).value();
        std::string batch = "b\n";
        for (const std::string& v : values) {
            batch += v + "\n";
        }
        Options options;
        options.calculator = &kGravityWall;
        options.variant = int(WallType::Upright);
        options.csvFile = "-";
        pair(
            "study of 10,000 values vs the batch of them",
            [&](std::size_t i) {
                if (i == 0) {
                    Study study(kGravityWall, int(WallType::Upright), texts, b);
                    for (const std::string& v : values) {
                        study.add(v);
                    }
                    keep(study.rows().size());
                }
            },
            [&](std::size_t i) {
                if (i == 0) {
                    std::istringstream in(batch);
                    std::ostringstream out, err;
                    keep(runCsv(options, in, out, err));
                }
            });
    }

    std::printf("[");
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        const Ratio& r = ratios[i];
        std::printf("%s\n {\"name\": \"%s\", \"ratio\": [%.3f, %.3f, %.3f], \"checked_ns\": %.1f, "
                    "\"plain_ns\": %.1f}",
                    i ? "," : "", r.name.c_str(), r.q1, r.median, r.q3, r.checkedNs, r.plainNs);
    }
    std::printf("\n]\n");
    return 0;
}
