// Spencer's and Morgenstern and Price's methods: every slice in balance of forces, horizontal and
// vertical, and of moments, the shear between slices X = λ·f(x)·E. Eliminating each slice's
// normal force from its two force balances carries E down the mass slice by slice,
//   Ei·Φi = Ψi·Ei−1 + F·Ti − Ri,
//   Φi = (sinθi − λfi·cosθi)·tanφi + (cosθi + λfi·sinθi)·F,
//   Ψi = (sinθi − λfi−1·cosθi)·tanφi + (cosθi + λfi−1·sinθi)·F,
//   Ti = Vi·sinθi + Hi·cosθi,  Ri = ci·li + (Vi·cosθi − Hi·sinθi − Ui)·tanφi,
// with V the vertical load (weight, water over the ground, loads) and H the horizontal one (kh·W,
// the water's push), and the slices' moments about their bases' midpoints, summed, leave no
// line of thrust where nothing pushes at the mass's ends:
//   Σ bi·[λ·(fi−1·Ei−1 + fi·Ei) − (Ei−1 + Ei)·tanθi] = 2·Σ Mi,
// Mi the moment of Hi about the base's midpoint (Zhu, Lee, Chen & Jiang 2005, Can. Geotech. J.
// 42). At each λ, F balances the forces (the last slice's En = 0) where every Φ > 0, the highest
// such root; λ then balances the moments, by the secant method.
#include "rigorous.h"

#include "calculators/angles.h"
#include "calculators/slicing.h"

#include <algorithm>
#include <optional>
#include <string>
#include <type_traits>

namespace subprogram {

using namespace slicing;

namespace rigorous {

namespace {

// The change of λ and F between two steps that ends the iteration: of F, relative, and of λ,
// relative to 1 + |λ|.
constexpr double kTolerance = 1e-12;
constexpr int kMostSteps = 100;
// The steps that look for a bracket of F, and its width that ends false position, relative.
constexpr int kMostBracketSteps = 200;
// The halvings of a step of λ that leaves where the forces balance with every Φ > 0.
constexpr int kMostBackSteps = 50;
constexpr double kFinest = 1e-15;
// A driving sum ΣT within this share of Σ|Ti| is nothing but the terms' rounding.
constexpr double kLeastDrive = 1e-9;

constexpr const char* kNoSolution = "严格法在此滑面上无解：解处某条块的法向力系数 Φi 不大于0";
constexpr const char* kNoForceRoot =
    "严格法在此滑面上无解：各条块的法向力系数 Φi 均为正的范围内，力的平衡无根";
constexpr const char* kNotSettled = "严格法的迭代未收敛，此滑面无解";

template <typename N> N magnitude(N x) {
    return x < N(0) ? N(-x) : x;
}

// What the balances need of each slice, and f at its n + 1 boundaries.
template <typename N> struct Coefficients { std::vector<N> sinT, cosT, tanP, T, R, M, b, f; };

// The force left at the lower end, En·Φn, at (F, λ), with E at every boundary; none where some
// Φi ≤ 0 above the last slice (E would change sign through a pole).
template <typename N>
std::optional<N> forceLeft(const Coefficients<N>& k, std::type_identity_t<N> F,
                           std::type_identity_t<N> lambda, std::vector<N>& E) {
    const std::size_t n = k.T.size();
    E.assign(n + 1, N(0));
    for (std::size_t i = 0;; ++i) {
        const N behind = lambda * k.f[i], ahead = lambda * k.f[i + 1];
        const N psi =
            (k.sinT[i] - behind * k.cosT[i]) * k.tanP[i] + (k.cosT[i] + behind * k.sinT[i]) * F;
        const N left = psi * E[i] + F * k.T[i] - k.R[i];
        if (i + 1 == n) {
            return left;
        }
        const N phi =
            (k.sinT[i] - ahead * k.cosT[i]) * k.tanP[i] + (k.cosT[i] + ahead * k.sinT[i]) * F;
        if (!(phi > N(0))) {
            return std::nullopt;
        }
        E[i + 1] = left / phi;
    }
}

// The slices' moments left unbalanced by E at λ: Σ bi·[λ·(fi−1·Ei−1 + fi·Ei) − (Ei−1 + Ei)·tanθi]
// − 2·Σ Mi; and the λ that would balance them with these E (Zhu et al.'s update).
template <typename N> N momentLeft(const Coefficients<N>& k, N lambda, const std::vector<N>& E) {
    N sum = 0;
    for (std::size_t i = 0; i < k.T.size(); ++i) {
        sum = sum +
              k.b[i] * (lambda * (k.f[i] * E[i] + k.f[i + 1] * E[i + 1]) -
                        (E[i] + E[i + 1]) * k.sinT[i] / k.cosT[i]) -
              (k.M[i] + k.M[i]);
    }
    return sum;
}
template <typename N>
std::optional<N> balancingLambda(const Coefficients<N>& k, const std::vector<N>& E) {
    N top = 0, bottom = 0;
    for (std::size_t i = 0; i < k.T.size(); ++i) {
        top = top + k.b[i] * (E[i] + E[i + 1]) * k.sinT[i] / k.cosT[i] + (k.M[i] + k.M[i]);
        bottom = bottom + k.b[i] * (k.f[i] * E[i] + k.f[i + 1] * E[i + 1]);
    }
    return magnitude(bottom) > N(0) ? std::optional<N>(N(top / bottom)) : std::nullopt;
}

// False position with the Illinois halving on a bracket [low, high] of a root of g, g(low) and
// g(high) of opposite signs, until it is `tolerance` wide or g is 0.
template <typename N, typename G> N illinois(G g, N low, N gLow, N high, N gHigh, N tolerance) {
    int side = 0;
    for (int step = 0; step < kMostBracketSteps; ++step) {
        if (!(magnitude(N(high - low)) > tolerance)) {
            break;
        }
        N at = N(high - (high - low) * gHigh / (gHigh - gLow));
        if (!(at > (low < high ? low : high) && at < (low < high ? high : low))) {
            at = N(low + (high - low) / N(2));
        }
        const N gAt = g(at);
        if (!(magnitude(gAt) > N(0))) {
            return at;
        }
        if ((gAt > N(0)) == (gHigh > N(0))) {
            high = at;
            gHigh = gAt;
            if (side == -1) {
                gLow = gLow / N(2);
            }
            side = -1;
        } else {
            low = at;
            gLow = gAt;
            if (side == 1) {
                gHigh = gHigh / N(2);
            }
            side = 1;
        }
    }
    return N(low + (high - low) / N(2));
}

// The factor that balances the forces at λ: the root of En·Φn = 0 where every Φ > 0, the
// nearest `guess`: a bracket by steps of a quarter down from where the force is left over (or up
// from where it is wanting), then false position; E is left at the root. None where no root
// lies where every Φ > 0.
template <typename N>
std::optional<N> forceFactor(const Coefficients<N>& k, N lambda, N guess, std::vector<N>& E) {
    const auto left = [&](N F) { return forceLeft(k, F, lambda, E); };
    N F = guess;
    std::optional<N> g = left(F);
    for (int d = 0; !g; ++d) { // a start where every Φ > 0
        if (d > kMostBracketSteps) {
            return std::nullopt;
        }
        F = F + F;
        g = left(F);
    }
    N low = F, high = F, gLow = *g, gHigh = *g;
    if (*g > N(0)) { // down to where the force is wanting, halving a step that leaves the domain
        N step = N(F / N(4));
        for (int d = 0;; ++d) {
            if (d > kMostBracketSteps || !(step > N(0))) {
                return std::nullopt;
            }
            const N at = N(high - step);
            const std::optional<N> gAt = at > N(0) ? left(at) : std::nullopt;
            if (!gAt) {
                step = N(step / N(2));
                continue;
            }
            if (!(*gAt > N(0))) {
                low = at;
                gLow = *gAt;
                break;
            }
            high = at;
            gHigh = *gAt;
        }
    } else {
        for (int d = 0;; ++d) {
            const N at = N(low + low / N(4));
            const std::optional<N> gAt = left(at);
            if (d > kMostBracketSteps || !gAt) {
                return std::nullopt;
            }
            if (*gAt > N(0)) {
                high = at;
                gHigh = *gAt;
                break;
            }
            low = at;
            gLow = *gAt;
        }
    }
    bool inside = true;
    const N root = illinois(
        [&](N at) {
            const std::optional<N> gAt = left(at);
            inside = inside && gAt.has_value();
            return gAt.value_or(N(0));
        },
        low, gLow, high, gHigh, N(N(kFinest) * high));
    if (!inside || !left(root)) {
        return std::nullopt;
    }
    return root;
}

template <typename N> struct Solution {
    N F, lambda;
    int steps;
};

// λ by the secant method on the moments left over, F at each λ by the forces, from λ = 0 and
// the λ Zhu et al.'s update gives there; false position once the moments change sign.
template <typename N> Solution<N> solve(const Coefficients<N>& k) {
    std::vector<N> E;
    N l0 = 0;
    const std::optional<N> start = forceFactor(k, l0, N(1), E);
    if (!start) {
        refuse(kNoForceRoot);
    }
    N F0 = *start;
    N m0 = momentLeft(k, l0, E);
    N l1 = balancingLambda(k, E).value_or(N(0.1));
    std::optional<N> bracketLow, bracketHigh, mLow, mHigh;
    for (int step = 1; step <= kMostSteps; ++step) {
        // a λ where the forces have no balance with every Φ > 0: back towards the last one
        std::optional<N> F = forceFactor(k, l1, F0, E);
        for (int back = 0; !F; ++back) {
            if (back > kMostBackSteps) {
                refuse(kNoForceRoot);
            }
            l1 = N(l0 + (l1 - l0) / N(2));
            F = forceFactor(k, l1, F0, E);
        }
        const N F1 = *F;
        const N m1 = momentLeft(k, l1, E);
        const bool settled = magnitude(N(l1 - l0)) <= N(N(kTolerance) * N(N(1) + magnitude(l1))) &&
                             magnitude(N(F1 - F0)) <= N(N(kTolerance) * F1);
        if (settled || !(magnitude(m1) > N(0))) {
            return {F1, l1, step};
        }
        if ((m1 > N(0)) != (m0 > N(0))) { // a bracket of λ: false position within it
            bracketLow = l0, mLow = m0, bracketHigh = l1, mHigh = m1;
        }
        N next = N(l1 - m1 * (l1 - l0) / (m1 - m0));
        if (bracketLow && !(next > (*bracketLow < *bracketHigh ? *bracketLow : *bracketHigh) &&
                            next < (*bracketLow < *bracketHigh ? *bracketHigh : *bracketLow))) {
            next = N(*bracketLow + (*bracketHigh - *bracketLow) / N(2));
        }
        if (bracketLow && (m1 > N(0)) == (*mHigh > N(0))) {
            bracketHigh = l1, mHigh = m1;
        } else if (bracketLow) {
            bracketLow = l1, mLow = m1;
        }
        l0 = l1, m0 = m1, F0 = F1, l1 = next;
    }
    refuse(kNotSettled);
}

} // namespace

RigorousSlide solveInFrame(const SlopeSection& section, std::vector<Slice> slices,
                           Interslice function, Trace* trace) {
    const double x0 = slices.front().xLeft, xn = slices.back().xRight;
    return evaluate<Keep>(trace, "rigorousFactor", [&]<typename Number>(Keep<Number> keep) {
        // the iteration runs on the checked numbers, untraced: the trace keeps its result
        using N = std::conditional_t<std::same_as<Number, Shown>, Num, Number>;
        const auto plain = [](const Number& v) {
            if constexpr (std::same_as<Number, Shown>) {
                return Num(v.value());
            } else {
                return v;
            }
        };
        const Number kh = keep.input("kh", section.kh);
        Coefficients<N> k;
        N sliding = 0, drive = 0, force = 0;
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const Slice& s = slices[i];
            // the first slice's values by their names, its formulas traced
            const auto input = [&](std::string_view name, double v) {
                return keep.input(i ? std::string(name) : std::string(name) + "1", v);
            };
            const auto first = [&](std::string_view name, Number v) {
                return i == 0 ? keep(std::string(name) + "1", v) : v;
            };
            const double ym = (s.yLeft + s.yRight) / 2;
            const Number W = input("G", s.W), c = input("c", s.c), l = input("l", s.l);
            const Number U = input("U", s.U);
            const Number theta = first("θr", radiansExact(input("θ", s.theta)));
            const Number phi = first("φr", radiansExact(input("φ", s.phi)));
            const Number sinT = sin(theta), cosT = cos(theta);
            // the vertical and horizontal loads, and the horizontal ones' moment about the
            // base's midpoint (the weight's centroid yG, the ground's top, a crack's water)
            Number V = W, H = kh * W, M = kh * W * input("zG", s.yG - ym);
            if (s.Pw != 0 || s.Hw != 0) {
                V = V + input("Pw", s.Pw);
                const Number Hw = input("Hw", s.Hw);
                H = H + Hw;
                M = M + Hw * input("zt", s.top - ym);
            }
            if (s.q != 0) {
                V = V + input("q", s.q);
            }
            if (s.Hc != 0) {
                const Number Hc = keep.input("Hc", s.Hc);
                H = H + Hc;
                M = M + Hc * keep.input("zc", s.yHc - ym);
            }
            const Number T = first("T", V * sinT + H * cosT);
            const Number R = first("R", c * l + (V * cosT - H * sinT - U) * tan(phi));
            k.sinT.push_back(plain(sinT));
            k.cosT.push_back(plain(cosT));
            k.tanP.push_back(plain(tan(phi)));
            k.T.push_back(plain(T));
            k.R.push_back(plain(R));
            k.M.push_back(plain(first("M", M)));
            k.b.push_back(N(s.xRight - s.xLeft));
            sliding = sliding + k.T.back();
            drive = drive + magnitude(k.T.back());
            force = force + magnitude(k.T.back()) + magnitude(k.R.back());
            slices[i].T = T.value();
            slices[i].R = R.value();
        }
        for (std::size_t i = 0; i <= slices.size(); ++i) {
            const double x = i < slices.size() ? slices[i].xLeft : xn;
            k.f.push_back(
                function == Interslice::Constant ? N(1) : N(sin(N(kPi) * N(x - x0) / N(xn - x0))));
        }
        RigorousSlide slide{std::nullopt, std::nullopt, 0, {}, {}, 0, {}};
        keep.solution("ΣT", Number(sliding.value()));
        if (!(sliding > N(kLeastDrive) * drive)) {
            slide.slices = slices;
            return slide; // nothing drives the mass out of the slope
        }
        const Solution<N> s = solve(k);
        // at the root every slice's Φ is positive, or the slices' normal forces mean nothing
        std::vector<N> E;
        forceLeft(k, s.F, s.lambda, E);
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const N ahead = s.lambda * k.f[i + 1];
            const N phi =
                (k.sinT[i] - ahead * k.cosT[i]) * k.tanP[i] + (k.cosT[i] + ahead * k.sinT[i]) * s.F;
            if (!(phi > N(0))) {
                refuse(kNoSolution);
            }
            slices[i].m = phi.value();
        }
        // the line of thrust: each slice's moments about its base's midpoint carry E·y down the
        // mass, Pi = Pi−1 + ym·(Ei − Ei−1) − b·(Xi−1 + Xi) ÷ 2 + Mi
        N P = 0;
        for (std::size_t i = 0; i <= slices.size(); ++i) {
            const N X = s.lambda * k.f[i] * E[i];
            if (i > 0) {
                const Slice& c = slices[i - 1];
                const N ym = N((c.yLeft + c.yRight) / 2);
                P = P + ym * (E[i] - E[i - 1]) -
                    k.b[i - 1] * (s.lambda * k.f[i - 1] * E[i - 1] + X) / N(2) + k.M[i - 1];
            }
            const bool last = i == slices.size();
            SideForce side{last ? xn : slices[i].xLeft,
                           last ? slices.back().yRight : slices[i].yLeft, E[i].value(), X.value(),
                           std::nullopt};
            if (i > 0 && !last && E[i] > N(kLeastDrive) * force) {
                side.thrust = N(P / E[i]).value();
            }
            slide.sides.push_back(side);
        }
        slide.Fs = keep.solution("Fs", Number(s.F.value())).value();
        slide.lambda = keep.solution("λ", Number(s.lambda.value())).value();
        slide.iterations = s.steps;
        slide.slices = slices;
        return slide;
    });
}

} // namespace rigorous

RigorousSlide rigorousFactor(const SlopeSection& section, const SlipSurface& surface,
                             Interslice function, Trace* trace) {
    checkSection(section);
    if (surface.circle) {
        checkCircle(*surface.circle);
    } else if (surface.line.size() < 2 || !isLine(surface.line)) {
        refuse();
    }
    const Frame frame = slidingRight(section);
    std::vector<Slice> slices;
    if (surface.circle) {
        const Circle& c = *surface.circle;
        slices = slicesInFrame(frame.section, inFrame(frame, c));
    } else {
        slices = slicesInFrame(frame.section,
                               frame.mirrored ? mirroredLine(surface.line) : surface.line);
    }
    RigorousSlide slide = rigorous::solveInFrame(frame.section, std::move(slices), function, trace);
    slide.circle = surface.circle;
    if (frame.mirrored) {
        std::transform(slide.slices.begin(), slide.slices.end(), slide.slices.begin(), unmirrored);
        for (SideForce& side : slide.sides) {
            side.x = -side.x;
        }
    }
    return slide;
}

} // namespace subprogram
