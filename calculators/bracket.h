#pragma once

#include <utility>

// The bracket [low, high] of a sign change of f, narrowed by the Illinois variant of false
// position — a secant through the bracket's ends, the end kept twice running taken at half its
// value — which reaches the root in a few steps where f is nearly straight, and by halving
// wherever a secant step would not narrow it (and every eighth step, so that it always ends);
// until the bracket is no wider than `close` or no double lies within it. f(low) = fLow and
// f(high) = fHigh are of opposite signs (a zero counts as positive).
namespace subprogram {

template <typename F>
std::pair<double, double> narrowSignChange(F f, double low, double high, double fLow, double fHigh,
                                           double close) {
    const bool lowNegative = fLow < 0;
    int kept = 0; // which end stayed in the last step: −1 low, +1 high
    for (int i = 0; i < 2000; ++i) {
        const double half = low + (high - low) / 2;
        if (half <= low || half >= high || high - low <= close) {
            break;
        }
        double z = high - fHigh * (high - low) / (fHigh - fLow);
        if (!(z > low && z < high) || i % 8 == 7) { // no narrowing by a secant: halve
            z = half;
        }
        const double v = f(z);
        if ((v < 0) == lowNegative) {
            low = z, fLow = v;
            fHigh = kept == 1 ? fHigh / 2 : fHigh;
            kept = 1;
        } else {
            high = z, fHigh = v;
            fLow = kept == -1 ? fLow / 2 : fLow;
            kept = -1;
        }
    }
    return {low, high};
}

} // namespace subprogram
