#pragma once

#include "calculators/gravitywall.h"

#include <cstddef>
#include <random>
#include <vector>

// The inputs the routines are timed on, drawn the same on every run: plausible values of each
// calculator. The timing uses them, and a test checks on them that the plain formulas give the
// routines' results to the bit.
namespace inputs {

inline constexpr std::size_t kCount = 512;

struct Earth {
    double H, g, phi, c, q, delta, theta, beta, alpha, dr;
};
struct Anchor {
    double D, Htk, a, fy, g0, frb, fb, d;
};
struct Wall {
    float n, Ht, h1, alpha0, b1, b2, gw, b, x2, x3, h4, b3, b4, b5, G, Ea, z, alpha, delta, mu, x0,
        H, h2;
};

// A drawn wall's sizes as the weight routines take them.
inline subprogram::UprightWall upright(const Wall& w) {
    return {.n = w.n,
            .Ht = w.Ht,
            .h1 = w.h1,
            .b2 = w.b2,
            .alpha0 = w.alpha0,
            .b1 = w.b1,
            .gammaW = w.gw,
            .b = w.b};
}
inline subprogram::ShelfWall shelf(const Wall& w) {
    return {.n = w.n,
            .x2 = w.x2,
            .x3 = w.x3,
            .h1 = w.h1,
            .Ht = w.Ht,
            .h4 = w.h4,
            .b1 = w.b1,
            .b2 = w.b2,
            .b3 = w.b3,
            .b4 = w.b4,
            .b5 = w.b5,
            .b = w.b,
            .gammaW = w.gw};
}

struct All {
    std::vector<Earth> earth;
    std::vector<Anchor> anchors;
    std::vector<Wall> walls;
    std::vector<double> loads; // of the beam
};

inline All draw() {
    std::mt19937_64 rng(18);
    const auto in = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    All all{std::vector<Earth>(kCount), std::vector<Anchor>(kCount), std::vector<Wall>(kCount),
            std::vector<double>(kCount)};
    for (Earth& e : all.earth) {
        e = {in(2, 12), in(16, 22), in(20, 40), in(0, 20),   in(0, 30),
             in(0, 15), in(40, 60), in(0, 15),  in(80, 100), in(8, 16)};
    }
    for (Anchor& a : all.anchors) {
        a = {in(90, 200), in(5, 500),   in(0, 30),      in(200, 400),
             in(1, 1.2),  in(100, 400), in(2000, 3000), in(16, 40)};
    }
    for (Wall& w : all.walls) {
        const auto f = [&](double low, double high) { return static_cast<float>(in(low, high)); };
        w = {f(0.03, 0.25), f(4, 5),      f(1.5, 2.5), f(0, 12),    f(0.4, 0.8), f(1, 1.4),
             f(22, 24),     f(1.4, 2.2),  f(0.3, 0.4), f(0.2, 0.3), f(0.6, 0.7), f(1, 1.1),
             f(0.4, 0.5),   f(0.4, 0.6),  f(100, 160), f(20, 40),   f(2, 2.5),   f(85, 95),
             f(5, 15),      f(0.25, 0.5), f(0.8, 1.1), f(2, 3),     f(0.2, 0.4)};
    }
    for (double& q : all.loads) {
        q = in(5, 30);
    }
    return all;
}

} // namespace inputs
