#pragma once

#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "calculators/layeredpressure.h"
#include "calculators/slipsurface.h"

#include <cfloat>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Every routine called twice on the same drawn inputs: untraced, it runs first on DeferredNum and
// falls back to Num when that fails; traced, it runs on Shown (Num that keeps its formulas). Both
// must give the same bits, or fail with the same kind. The unit test draws at random, the fuzz
// target from its data.
namespace routines {

// Where the inputs come from.
class Draw {
  public:
    virtual ~Draw() = default;
    virtual double any() = 0;
    virtual std::size_t pick(std::size_t n) = 0; // 0 … n − 1
    float single() {
        const double v = any();
        return fitsSingle(v) ? static_cast<float>(v) : FLT_MAX;
    }
};

template <typename T> std::string bits(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
inline std::string bits(const std::vector<subprogram::SpanMoments>& moments) {
    std::string all;
    for (const subprogram::SpanMoments& m : moments) {
        all += bits(m.upper) + bits(m.lower);
    }
    return all;
}

inline std::string bits(const subprogram::PlanarSlide& s) {
    return bits(s.R) + bits(s.T) + bits(s.Fs.has_value()) + bits(s.Fs.value_or(-1));
}

inline std::string bits(const subprogram::BrokenLineSlide& s) {
    std::string all =
        bits(s.Fs.has_value()) + bits(s.Fs.value_or(-1)) + bits(s.thrust) + bits(s.iterations);
    for (const auto* values : {&s.T, &s.R, &s.psi, &s.P}) {
        for (const double v : *values) {
            all += bits(v);
        }
    }
    return all;
}

inline std::string bits(const subprogram::LayeredPressure& p) {
    std::string all = bits(p.Ea) + bits(p.za.value_or(-1)) + bits(p.Pw) + bits(p.zw.value_or(-1));
    for (const double k : p.Ka) {
        all += bits(k);
    }
    for (const subprogram::PressurePiece& piece : p.pieces) {
        all += bits(piece.from) + bits(piece.to) + bits(piece.top) + bits(piece.bottom);
    }
    return all;
}

inline std::string bits(const subprogram::CircularSlide& s) {
    std::string all = bits(s.Fs.value_or(-1)) + bits(s.bound.value_or(-1)) + bits(s.bisections);
    for (const subprogram::Slice& slice : s.slices) {
        all += bits(slice.T) + bits(slice.R);
    }
    for (const double F : s.iterates) {
        all += bits(F);
    }
    return all;
}

// The outcome of a call: the bits of its result, or the kind it failed with.
template <typename Call> std::string outcome(const Call& call) {
    try {
        return "=" + bits(call());
    } catch (const CalcError& e) {
        return std::string("!") + kindName(e.kind());
    }
}

struct Runs {
    std::string untraced, traced;
};
template <typename Routine> Runs both(const Routine& routine) {
    Trace trace;
    return {outcome([&] { return routine(nullptr); }), outcome([&] { return routine(&trace); })};
}

using namespace subprogram;

// The ground's loads beside Ea, or none (half the draws).
inline std::optional<GroundLoads> drawGround(Draw& d) {
    if (d.pick(2)) {
        return std::nullopt;
    }
    return GroundLoads{d.single(), d.single(), d.single(), d.single(), d.single(), d.single()};
}

inline const std::pair<const char*, std::function<Runs(Draw&)>> kRoutines[] = {
    {"coulombActive",
     [](Draw& d) {
         const double H = d.any(), g = d.any(), f = d.any(), c = d.any(), q = d.any(), de = d.any(),
                      t = d.any(), b = d.any(), a = d.any();
         return both([=](Trace* tr) { return coulombActive(H, g, f, c, q, de, t, b, a, tr); });
     }},
    {"limitedFillEarthPressure",
     [](Draw& d) {
         const double H = d.any(), g = d.any(), r = d.any(), c = d.any(), q = d.any(), de = d.any(),
                      t = d.any(), b = d.any(), a = d.any();
         return both(
             [=](Trace* tr) { return limitedFillEarthPressure(H, g, r, c, q, de, t, b, a, tr); });
     }},
    {"atRestEarthPressure",
     [](Draw& d) {
         const double f = d.any(), q = d.any(), g = d.any(), H = d.any();
         return both([=](Trace* tr) { return atRestEarthPressure(f, q, g, H, tr); });
     }},
    {"anchorBarDesign",
     [](Draw& d) {
         const auto n = static_cast<std::int16_t>(d.pick(5));
         const bool permanent = d.pick(2);
         const double D = d.any(), Htk = d.any(), a = d.any(), fy = d.any(), g0 = d.any(),
                      frb = d.any(), fb = d.any(), dd = d.any();
         return both([=](Trace* tr) {
             return anchorBarDesign(n, D, Htk, a, fy, permanent, g0, frb, fb, dd, tr);
         });
     }},
    {"uprightWallWeight",
     [](Draw& d) {
         const float n = d.single(), Ht = d.single(), h1 = d.single(), a0 = d.single(),
                     b1 = d.single(), b2 = d.single(), gw = d.single(), b = d.single();
         return both([=](Trace* tr) {
             return uprightWallWeight({.n = n,
                                       .Ht = Ht,
                                       .h1 = h1,
                                       .b2 = b2,
                                       .alpha0 = a0,
                                       .b1 = b1,
                                       .gammaW = gw,
                                       .b = b},
                                      tr);
         });
     }},
    {"shelfWallWeight",
     [](Draw& d) {
         float v[13];
         for (float& x : v) {
             x = d.single();
         }
         return both([=](Trace* tr) {
             return shelfWallWeight({.n = v[0],
                                     .x2 = v[1],
                                     .x3 = v[2],
                                     .h1 = v[3],
                                     .Ht = v[4],
                                     .h4 = v[5],
                                     .b1 = v[6],
                                     .b2 = v[7],
                                     .b3 = v[8],
                                     .b4 = v[9],
                                     .b5 = v[10],
                                     .b = v[11],
                                     .gammaW = v[12]},
                                    tr);
         });
     }},
    {"antiSlidingFactor",
     [](Draw& d) {
         const float G = d.single(), Ea = d.single(), a0 = d.single(), a = d.single(),
                     de = d.single(), mu = d.single();
         const std::optional<GroundLoads> g = drawGround(d);
         return both([=](Trace* tr) {
             return antiSlidingFactor(G, Ea, a0, a, de, mu, tr, nullptr, g ? &*g : nullptr);
         });
     }},
    {"antiOverturningFactor",
     [](Draw& d) {
         const float G = d.single(), Ea = d.single(), a0 = d.single(), z = d.single(),
                     a = d.single(), de = d.single(), b = d.single(), x0 = d.single();
         const std::optional<GroundLoads> g = drawGround(d);
         return both([=](Trace* tr) {
             return antiOverturningFactor(G, Ea, a0, z, a, de, b, x0, tr, g ? &*g : nullptr);
         });
     }},
    {"baseStress",
     [](Draw& d) {
         float v[9];
         for (float& x : v) {
             x = d.single();
         }
         const std::optional<GroundLoads> g = drawGround(d);
         return both([=](Trace* tr) {
             return baseStress(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], tr, {},
                               g ? &*g : nullptr);
         });
     }},
    {"groundLoads",
     [](Draw& d) {
         const float gw = d.single(), Ht = d.single(), b = d.single(), kh = d.single(),
                     G = d.single(), y0 = d.single();
         const std::optional<float> dw = d.pick(2) ? std::optional(d.single()) : std::nullopt;
         return both([=](Trace* tr) { return groundLoads(gw, dw, Ht, b, kh, G, y0, tr); });
     }},
    {"layeredPressure",
     [](Draw& d) {
         Backfill f;
         f.strata.resize(1 + d.pick(3));
         for (FillStratum& s : f.strata) {
             s = {d.any(), d.any(), d.any(), d.any(), d.any()};
         }
         f.q = d.pick(2) ? 0 : d.any();
         if (d.pick(2)) {
             f.water = d.any();
         }
         f.gammaWater = d.any();
         for (std::size_t k = d.pick(3); k > 0; --k) {
             f.loads.push_back({d.pick(2) ? LocalLoad::Kind::Line : LocalLoad::Kind::Strip, d.any(),
                                d.any(), d.any()});
         }
         f.kh = d.pick(2) ? 0 : d.any();
         f.tensionCounted = d.pick(2);
         const WallBack w{d.any(), d.any(), d.any(), d.any()};
         return both([=](Trace* tr) { return layeredPressure(w, f, tr); });
     }},
    {"planarSlide",
     [](Draw& d) {
         subprogram::PlanarInputs in{d.any(), d.any(), d.any(), d.any(), d.any()};
         in.hw = d.any(), in.gammaWater = d.any(), in.Gb = d.any(), in.kh = d.any();
         in.P = d.any(), in.anchorAngle = d.any();
         return both([=](Trace* tr) { return planarSlide(in, tr); });
     }},
    {"transferImplicit and transferExplicit",
     [](Draw& d) {
         std::vector<SlidingBlock> blocks(1 + d.pick(4));
         for (SlidingBlock& b : blocks) {
             b = {d.any(), d.any(), d.any(), d.any(), d.any(), d.pick(2) ? 0 : d.any()};
         }
         const double kh = d.pick(2) ? 0 : d.any(), factor = d.any();
         const bool implicit = d.pick(2);
         return both([=](Trace* tr) {
             return implicit ? transferImplicit(blocks, kh, factor, tr)
                             : transferExplicit(blocks, kh, factor, tr);
         });
     }},
    {"bishopFactor",
     [](Draw& d) {
         // a slope of height h from (x0, y0), mostly with a circle through it near the toe, its
         // soil in 1 to 3 strata, a phreatic line or none
         const double x0 = d.pick(4) ? 0 : d.any(), y0 = d.pick(4) ? 0 : d.any();
         const double h = d.pick(4) ? 5 + double(d.pick(20)) : d.any();
         SlopeSection s;
         s.surface = {{x0, y0}, {x0 + 10, y0}, {x0 + 30, y0 + h}, {x0 + 40, y0 + h}};
         if (d.pick(2)) { // facing the other way
             s.surface = {{x0, y0 + h}, {x0 + 10, y0 + h}, {x0 + 30, y0}, {x0 + 40, y0}};
         }
         for (std::size_t k = 1 + d.pick(3); k > 0; --k) {
             const double top = y0 + h * double(d.pick(4)) / 3;
             s.strata.push_back({d.pick(4) ? top : d.any(), d.pick(2) ? 20 : d.any(),
                                 d.pick(2) ? 10 : d.any(), d.pick(2) ? 25 : d.any(),
                                 d.pick(2) ? 21 : d.any()});
         }
         std::sort(s.strata.begin(), s.strata.end(),
                   [](const Stratum& a, const Stratum& b) { return a.top > b.top; });
         if (d.pick(2)) {
             s.water = {{x0, y0 + (d.pick(2) ? -1 : d.any())},
                        {x0 + 40, y0 + (d.pick(2) ? h / 2 : d.any())}};
         }
         s.kh = d.pick(2) ? 0 : d.any();
         s.slices = 1 + int(d.pick(20));
         s.minDepth = d.pick(2) ? 0.1 : d.any();
         const double facing = s.surface.front().y < s.surface.back().y ? 1 : -1;
         const Circle c = d.pick(4) ? Circle{x0 + 20 + facing * (d.any() / 20 - 7), y0 + 2.3 * h,
                                             2.3 * h + d.any() / 50}
                                    : Circle{d.any(), d.any(), d.any()};
         return both([=](Trace* tr) { return bishopFactor(s, c, tr); });
     }},
    {"solveContinuousBeam",
     [](Draw& d) {
         std::vector<double> lengths(d.pick(6));
         for (double& l : lengths) {
             l = d.pick(3) ? 2 : d.any();
         }
         const double b = d.any(), h = d.any(), q = d.any(), Ec = d.any();
         const auto upper = static_cast<EndCondition>(d.pick(3));
         const auto lower = static_cast<EndCondition>(d.pick(3));
         return both([=](Trace* tr) {
             return solveContinuousBeam(lengths, b, h, q, Ec, upper, lower, tr);
         });
     }},
};

} // namespace routines
