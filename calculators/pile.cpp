#include "pile.h"

#include "calculators/bracket.h"
#include "core/calcerror.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace subprogram {

namespace {

// Terms of a stretch's series: with (k·Bp/EI)·l⁴ ≤ 4 and (m·Bp/EI)·l⁵ ≤ 1 the n-th term falls
// like 4^(n/4)/n!, below 10⁻³⁰ of the first ones long before the last.
constexpr int kTerms = 64;
constexpr std::size_t kMostStretches = 400;

using State = std::array<double, 4>; // w, w′, w″, w‴

// A stretch's series: its coefficients, and how many of them count.
struct Series {
    std::array<double, kTerms> a{};
    std::size_t length = kTerms;
    std::size_t size() const { return length; }
    double operator[](std::size_t n) const { return a[n]; }
};

// n·(n − 1)·…·(n − d + 1): the factor of tⁿ⁻ᵈ in the d-th derivative of tⁿ
constexpr auto kFalling = [] {
    std::array<std::array<double, kTerms>, 5> f{};
    for (int d = 0; d < 5; ++d) {
        for (int n = 0; n < kTerms; ++n) {
            double product = 1;
            for (int j = 0; j < d; ++j) {
                product *= n - j;
            }
            f[std::size_t(d)][std::size_t(n)] = product;
        }
    }
    return f;
}();

// The series of w about a stretch's top: k = k0 + k1·t and q = q0 + q1·t along it, EI·w'''' =
// q − k·Bp·w, from the state `s` at its top.
Series series(const State& s, double c0, double c1, double r0, double r1, double l) {
    Series out;
    std::array<double, kTerms>& a = out.a;
    a[0] = s[0], a[1] = s[1], a[2] = s[2] / 2, a[3] = s[3] / 6;
    for (int n = 0; n + 4 < kTerms; ++n) {
        const double r = n == 0 ? r0 : n == 1 ? r1 : 0;
        const double before = n > 0 ? a[std::size_t(n - 1)] : 0;
        a[std::size_t(n + 4)] = (r - c0 * a[std::size_t(n)] - c1 * before) /
                                (double(n + 1) * (n + 2) * (n + 3) * (n + 4));
    }
    // the terms over the stretch (tⁿ at t = l) fall factorially: those below 10⁻³⁴ of the
    // largest at its end reach no bit of any sum, and are left out
    double largest = 0, power = 1;
    std::array<double, kTerms> size{};
    for (std::size_t n = 0; n < std::size_t(kTerms); ++n, power *= l) {
        size[n] = std::abs(a[n]) * power;
        largest = std::max(largest, size[n]);
    }
    out.length = 1;
    for (std::size_t n = kTerms; n-- > 1;) {
        if (size[n] > 1e-34 * largest) {
            out.length = n + 1;
            break;
        }
    }
    return out;
}

// A series' value at t by Horner's rule.
double sum(const std::vector<double>& c, double t) {
    double s = 0;
    for (auto it = c.rbegin(); it != c.rend(); ++it) {
        s = s * t + *it;
    }
    return s;
}

// The series of w and its first four derivatives, each cut after its last term that still
// reaches 10⁻³⁰ of its largest over a stretch of length l.
std::array<std::vector<double>, 5> derivatives(const Series& a, double l) {
    std::array<std::vector<double>, 5> out;
    for (std::size_t d = 0; d < 5; ++d) {
        std::vector<double>& c = out[d];
        double largest = 0, power = 1;
        for (std::size_t n = 0; n + d < a.size(); ++n, power *= l) {
            c.push_back(kFalling[d][n + d] * a[n + d]);
            largest = std::max(largest, std::abs(c.back()) * power);
        }
        power = 1;
        std::size_t kept = 0;
        for (std::size_t n = 0; n < c.size(); ++n, power *= l) {
            if (std::abs(c[n]) * power > 1e-30 * largest) {
                kept = n + 1;
            }
        }
        c.resize(std::max<std::size_t>(kept, 1));
    }
    return out;
}

// w and its first three derivatives at t, each by Horner's rule.
State stateAt(const Series& a, double t) {
    State s{};
    for (std::size_t d = 0; d < 4; ++d) {
        double v = 0;
        for (std::size_t n = a.size(); n-- > d;) {
            v = v * t + kFalling[d][n] * a[n];
        }
        s[d] = v;
    }
    return s;
}

// Solves A·x = b in place by Gaussian elimination with partial pivoting, its rows and columns
// within `band` of the diagonal (the fill of the pivoting within twice that).
std::vector<double> solveBanded(std::vector<double> A, std::vector<double> b, std::size_t n,
                                std::size_t band) {
    const auto at = [&](std::size_t r, std::size_t c) -> double& { return A[r * n + c]; };
    for (std::size_t c = 0; c < n; ++c) {
        const std::size_t last = std::min(n - 1, c + band);
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r <= last; ++r) {
            if (std::abs(at(r, c)) > std::abs(at(pivot, c))) {
                pivot = r;
            }
        }
        if (at(pivot, c) == 0) {
            throw CalcError(ErrorKind::InvalidArgument, "桩的方程组奇异：桩未被地基约束");
        }
        const std::size_t right = std::min(n - 1, c + 2 * band);
        if (pivot != c) {
            for (std::size_t k = c; k <= right; ++k) {
                std::swap(at(c, k), at(pivot, k));
            }
            std::swap(b[c], b[pivot]);
        }
        for (std::size_t r = c + 1; r <= last; ++r) {
            const double f = at(r, c) / at(c, c);
            if (f != 0) {
                for (std::size_t k = c; k <= right; ++k) {
                    at(r, k) -= f * at(c, k);
                }
                b[r] -= f * b[c];
            }
        }
    }
    std::vector<double> x(n);
    for (std::size_t c = n; c-- > 0;) {
        double sum = b[c];
        for (std::size_t k = c + 1; k <= std::min(n - 1, c + 2 * band); ++k) {
            sum -= at(c, k) * x[k];
        }
        x[c] = sum / at(c, c);
    }
    return x;
}

} // namespace

double pileCharacteristic(FoundationMethod method, double value, double Bp, double EI) {
    return method == FoundationMethod::M ? std::pow(value * Bp / EI, 0.2)
                                         : std::pow(value * Bp / (4 * EI), 0.25);
}

PileResponse::PileResponse(const PileModel& model) : model_(model) {
    const PileModel& p = model_;
    const double EI = p.EI, Bp = p.Bp;
    // the stretches: the loaded length in one (no spring: its series ends), then each stratum in
    // pieces no longer than `stretch` of the foundation's own length
    struct Piece {
        double from, to, k0, k1, q0, q1;
    };
    std::vector<Piece> pieces;
    if (p.h1 > 0) {
        pieces.push_back({0, p.h1, 0, 0, p.qTop, (p.qBottom - p.qTop) / p.h1});
    }
    double top = 0; // of the stratum, below the slip surface
    for (std::size_t i = 0; i < p.strata.size() && top < p.h2; ++i) {
        const bool last = i + 1 == p.strata.size();
        const double bottom = last ? p.h2 : std::min(p.h2, top + p.strata[i].thickness);
        const double v = p.strata[i].value;
        const bool m = p.method == FoundationMethod::M;
        const double kMost = m ? v * bottom : v;
        double own = std::pow(kMost * Bp / EI, 0.25);
        if (m) {
            own = std::max(own, std::pow(v * Bp / EI, 0.2));
        }
        const double length = bottom - top;
        auto count = static_cast<std::size_t>(std::ceil(length * own / p.stretch));
        count = std::clamp<std::size_t>(count, 1, kMostStretches);
        for (std::size_t j = 0; j < count; ++j) {
            const double from = top + length * double(j) / double(count);
            const double to =
                j + 1 == count ? bottom : top + length * double(j + 1) / double(count);
            pieces.push_back({p.h1 + from, p.h1 + to, m ? v * from : v, m ? v : 0, 0, 0});
        }
        top = bottom;
    }
    if (pieces.size() < 2) {
        throw CalcError(ErrorKind::InvalidArgument, "桩在滑面以下没有嵌固段");
    }

    // each stretch's transfer, state(l) = Φ·state(0) + p, from the series
    const std::size_t count = pieces.size(), nodes = count + 1, n = 4 * nodes;
    struct Transfer {
        std::array<State, 4> phi; // the columns
        State load;
        double c0, c1, r0, r1, l;
    };
    std::vector<Transfer> transfers(count);
    for (std::size_t e = 0; e < count; ++e) {
        const Piece& s = pieces[e];
        Transfer& t = transfers[e];
        t.l = s.to - s.from;
        t.c0 = s.k0 * Bp / EI, t.c1 = s.k1 * Bp / EI, t.r0 = s.q0 / EI, t.r1 = s.q1 / EI;
        for (std::size_t j = 0; j < 4; ++j) {
            State unit{};
            unit[j] = 1;
            t.phi[j] = stateAt(series(unit, t.c0, t.c1, 0, 0, t.l), t.l);
        }
        t.load = stateAt(series({}, t.c0, t.c1, t.r0, t.r1, t.l), t.l);
    }
    // The states at the nodes, [w, L·w′, L²·w″, L³·w‴] (L a stretch's mean length, so that they
    // are alike), solved together: each stretch's bottom state is its transfer of its top one
    // (multiple shooting: no stretch's growth reaches another's), the head free, the foot as it
    // is held. A state's w″ and w‴ are unknowns of their own, so that no moment or shear is
    // a small difference of displacements, however stiff the pile.
    const double L = (pieces.back().to - pieces.front().from) / double(count);
    const std::array<double, 4> scale{1, L, L * L, L * L * L};
    std::vector<double> A(n * n, 0.0), b(n, 0.0);
    const auto set = [&](std::size_t row, std::size_t node, std::size_t component, double v) {
        A[row * n + 4 * node + component] += v;
    };
    set(0, 0, 2, 1); // the head: w″ = 0, w‴ = 0
    set(1, 0, 3, 1);
    for (std::size_t e = 0; e < count; ++e) {
        const Transfer& t = transfers[e];
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t row = 2 + 4 * e + i;
            set(row, e + 1, i, 1);
            for (std::size_t j = 0; j < 4; ++j) {
                set(row, e, j, -scale[i] * t.phi[j][i] / scale[j]);
            }
            b[row] = scale[i] * t.load[i];
        }
    }
    const std::size_t foot = 2 + 4 * count;
    const auto held = p.foot == PileFoot::Free     ? std::array<std::size_t, 2>{2, 3}
                      : p.foot == PileFoot::Hinged ? std::array<std::size_t, 2>{0, 2}
                                                   : std::array<std::size_t, 2>{0, 1};
    set(foot, count, held[0], 1);
    set(foot + 1, count, held[1], 1);
    const std::vector<double> u = solveBanded(std::move(A), std::move(b), n, 5);

    for (std::size_t e = 0; e < count; ++e) {
        State s0{};
        for (std::size_t j = 0; j < 4; ++j) {
            s0[j] = u[4 * e + j] / scale[j];
        }
        const Transfer& t = transfers[e];
        stretches_.push_back({pieces[e].from, pieces[e].to,
                              derivatives(series(s0, t.c0, t.c1, t.r0, t.r1, t.l), t.l)});
    }

    // the extremes: |M| where V = 0 or at an end, |V| where q = k·Bp·w or at an end
    for (const Stretch& s : stretches_) {
        const auto within = [&](int d) {
            return [&s, d](double z) { return sum(s.d[std::size_t(d)], z - s.from); };
        };
        const PileExtreme m = extremeOf(within(2), within(3), s.from, s.to);
        const PileExtreme v = extremeOf(within(3), within(4), s.from, s.to);
        if (EI * m.value > moment_.value) {
            moment_ = {EI * m.value, m.z};
        }
        if (EI * v.value > shear_.value) {
            shear_ = {EI * v.value, v.z};
        }
    }
    // |σ| = |k·w| stratum by stratum, where (k·w)′ = 0 or at an end
    top = p.h1;
    for (std::size_t i = 0; i < p.strata.size(); ++i) {
        const bool last = i + 1 == p.strata.size();
        const double bottom = last ? length() : std::min(length(), top + p.strata[i].thickness);
        PileExtreme most;
        for (const Stretch& s : stretches_) {
            const double from = std::max(s.from, top), to = std::min(s.to, bottom);
            if (!(to > from)) {
                continue;
            }
            // the stratum's own k, also at its boundaries, where the next one's jumps
            const bool m = p.method == FoundationMethod::M;
            const double v = p.strata[i].value;
            const auto k = [&](double z) { return m ? v * (z - p.h1) : v; };
            const auto sigma = [&](double z) { return k(z) * w(z); };
            const auto slope = [&](double z) { return (m ? v : 0) * w(z) + k(z) * rotation(z); };
            const PileExtreme e = extremeOf(sigma, slope, from, to);
            if (e.value > most.value) {
                most = e;
            }
        }
        stress_.push_back(most);
        top = bottom;
        if (top >= length()) {
            break;
        }
    }
}

template <typename F, typename G>
PileExtreme PileResponse::extremeOf(F f, G slope, double from, double to) const {
    PileExtreme most{std::abs(f(from)), from};
    const auto consider = [&](double z) {
        if (const double v = std::abs(f(z)); v > most.value) {
            most = {v, z};
        }
    };
    consider(to);
    constexpr int kSamples = 12; // a stretch is short: its derivatives turn few times
    double z0 = from, s0 = slope(from);
    for (int i = 1; i <= kSamples; ++i) {
        const double z1 = i == kSamples ? to : from + (to - from) * i / kSamples;
        const double s1 = slope(z1);
        if ((s0 < 0) != (s1 < 0)) { // f turns within: where its slope is 0
            const auto [low, high] = narrowSignChange(slope, z0, z1, s0, s1, 0.0);
            consider(low), consider(high);
        }
        z0 = z1, s0 = s1;
    }
    return most;
}

const PileResponse::Stretch& PileResponse::stretchAt(double z) const {
    for (const Stretch& s : stretches_) {
        if (z < s.to) {
            return s;
        }
    }
    return stretches_.back();
}

double PileResponse::at(double z, int derivative_) const {
    const Stretch& s = stretchAt(z);
    return sum(s.d[std::size_t(derivative_)], z - s.from);
}

double PileResponse::load(double z) const {
    if (!(z < model_.h1)) {
        return 0;
    }
    return model_.qTop + (model_.qBottom - model_.qTop) * z / model_.h1;
}

double PileResponse::coefficient(double z) const {
    if (!(z >= model_.h1)) {
        return 0;
    }
    const double y = z - model_.h1;
    double top = 0;
    for (std::size_t i = 0; i < model_.strata.size(); ++i) {
        const bool last = i + 1 == model_.strata.size();
        if (last || y < top + model_.strata[i].thickness) {
            const double v = model_.strata[i].value;
            return model_.method == FoundationMethod::M ? v * y : v;
        }
        top += model_.strata[i].thickness;
    }
    return 0;
}

} // namespace subprogram
