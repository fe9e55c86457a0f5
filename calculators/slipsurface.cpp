// The routines of the slope's stability: the planar and broken-line slides and the circular one.
#include "slipsurface.h"

#include "calculators/angles.h"
#include "core/numerictext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace subprogram {

namespace {

// The program's default required factors by grade (the values GB 50330-2013's stability table is
// taken to give; not checked against its text): a permanent slope in its general case, in an
// earthquake, a temporary slope.
constexpr double kRequired[3][3] = {
    {1.35, 1.15, 1.25}, // 一级
    {1.30, 1.10, 1.20}, // 二级
    {1.25, 1.05, 1.15}, // 三级
};
// The program's default bounds of the states: below 1.00 unstable, below 1.05 barely, below Fst
// basically stable.
constexpr double kUnstableBelow = 1.00, kBarelyBelow = 1.05;

// The broken line's bracket of Fs is searched from 1 up to, or down to, these.
constexpr double kGreatestFactor = 1e6, kLeastFactor = 1e-6;

std::string indexed(const char* name, std::size_t i) {
    return name + std::to_string(i + 1);
}

// Names a value of the first block (or the first transfer) in the report's formulas: the others
// stand in the blocks' table.
template <typename Num> Num firstOnly(Keep<Num> keep, std::size_t i, const char* name, Num value) {
    return i == 0 ? keep(indexed(name, i), value) : value;
}

// A block's sliding and resisting forces on its base: Ti = Gi·sinθi + Qi·cosθi and
// Ri = ci·li + (Gi·cosθi − Qi·sinθi − Ui)·tanφi, with Qi = kh·Gi out of the slope.
template <typename Num> struct Forces { std::vector<Num> T, R, theta, tanPhi; };
template <typename Num>
Forces<Num> blockForces(Keep<Num> keep, std::span<const SlidingBlock> blocks, double seismic) {
    Forces<Num> f;
    const Num kh = keep.input("kh", seismic);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const SlidingBlock& b = blocks[i];
        const Num G = keep.input(indexed("G", i), b.G), c = keep.input(indexed("c", i), b.c);
        const Num l = keep.input(indexed("l", i), b.l), U = keep.input(indexed("U", i), b.U);
        const Num theta =
            firstOnly(keep, i, "θr", Num(radiansExact(keep.input(indexed("θ", i), b.theta))));
        const Num phi = radiansExact(keep.input(indexed("φ", i), b.phi));
        const Num Q = firstOnly(keep, i, "Q", Num(kh * G));
        f.T.push_back(firstOnly(keep, i, "T", Num(G * sin(theta) + Q * cos(theta))));
        f.R.push_back(
            firstOnly(keep, i, "R", Num(c * l + (G * cos(theta) - Q * sin(theta) - U) * tan(phi))));
        f.theta.push_back(theta);
        f.tanPhi.push_back(tan(phi));
    }
    return f;
}

// The residual thrusts of the implicit solution at the factor F: P0 = 0,
// Pi = Pi−1·ψi−1 + Ti − Ri ÷ F with ψi−1 = cos(θi−1 − θi) − sin(θi−1 − θi)·tanφi ÷ F; a
// negative thrust of a block above the last passes on as 0. The last block's thrust is returned.
// Without F, the limit of an infinite one: the sliding forces alone, with no strength.
template <typename Num>
Num residualThrust(Keep<Num> keep, const Forces<Num>& f, std::optional<Num> F,
                   std::vector<Num>* psi = nullptr, std::vector<Num>* P = nullptr,
                   std::vector<Num>* passedOn = nullptr) {
    // the thrusts at the factor found are named, the first transfer's in the formulas
    const auto name = [&](std::size_t i, const char* symbol, Num value) {
        return P ? firstOnly(keep, i, symbol, value) : value;
    };
    Num carried = 0, last = 0;
    for (std::size_t i = 0; i < f.T.size(); ++i) {
        Num psiIn = 0;
        if (i > 0) {
            const Num bend = f.theta[i - 1] - f.theta[i];
            psiIn = name(i - 1, "ψ",
                         F ? Num(cos(bend) - sin(bend) * f.tanPhi[i] / *F) : Num(cos(bend)));
            if (psi) {
                psi->push_back(psiIn);
            }
        }
        // the first block has no thrust to carry (0·ψ + T − R ÷ F is T − R ÷ F to the bit)
        const Num held = F ? Num(f.R[i] / *F) : Num(0);
        last = name(i, "P", i == 0 ? Num(f.T[i] - held) : Num(carried * psiIn + f.T[i] - held));
        if (P) {
            P->push_back(last);
        }
        carried = last < Num(0) ? Num(0) : last;
        if (passedOn) {
            passedOn->push_back(carried);
        }
    }
    return last;
}

template <typename Num> std::vector<double> values(const std::vector<Num>& v) {
    std::vector<double> out;
    for (const Num& x : v) {
        out.push_back(x.value());
    }
    return out;
}

} // namespace

double requiredStabilityFactor(SlopeGrade grade, SlopeCase situation) {
    return kRequired[int(grade)][int(situation)];
}

std::string_view stabilityState(double Fs, double Fst) {
    if (Fs < kUnstableBelow) {
        return "不稳定";
    }
    if (Fs < kBarelyBelow) {
        return "欠稳定";
    }
    return Fs < Fst ? "基本稳定" : "稳定";
}

PlanarSlide planarSlide(const PlanarInputs& in, Trace* trace) {
    return evaluate<Keep>(trace, "planarSlide", [=]<typename Num>(Keep<Num> keep) {
        const Num G = keep.input("G", in.G), Gb = keep.input("Gb", in.Gb);
        const Num L = keep.input("L", in.L), c = keep.input("c", in.c);
        const Num hw = keep.input("hw", in.hw), gw = keep.input("γw", in.gammaWater);
        const Num kh = keep.input("kh", in.kh), P = keep.input("P", in.P);
        const Num theta = keep("θr", radiansExact(keep.input("θ", in.theta)));
        const Num phi = keep("φr", radiansExact(keep.input("φ", in.phi)));
        // the anchor's angle to the slip plane: θ + its inclination below the horizontal
        const Num beta = keep("βr", theta + radiansExact(keep.input("β", in.anchorAngle)));

        const Num V = keep("V", Num(1) / 2 * gw * hw * hw);
        const Num U = keep("U", Num(1) / 2 * gw * hw * L);
        const Num Q = keep("Q", kh * G);
        const Num R = keep(
            "R", ((G + Gb) * cos(theta) - Q * sin(theta) - V * sin(theta) - U + P * sin(beta)) *
                         tan(phi) +
                     c * L);
        const Num T =
            keep("T", (G + Gb) * sin(theta) + Q * cos(theta) + V * cos(theta) - P * cos(beta));
        if (!(T > Num(0))) {
            if (keep.trace()) {
                keep.trace()->remark("T ≤ 0：无下滑力，滑体不会沿滑面下滑，不计算稳定系数 Fs");
            }
            return PlanarSlide{R.value(), T.value(), std::nullopt};
        }
        return PlanarSlide{R.value(), T.value(), keep("Fs", R / T).value()};
    });
}

BrokenLineSlide transferImplicit(std::span<const SlidingBlock> blocks, double kh, double required,
                                 Trace* trace) {
    return evaluate<Keep>(trace, "transferImplicit", [&]<typename Num>(Keep<Num> keep) {
        const Forces<Num> f = blockForces(keep, blocks, kh);
        const auto below = [&](double F) {
            return residualThrust(keep, f, std::optional(Num(F))) < Num(0);
        };
        const Num Fst = keep.input("Fst", required);
        // a bracket [lo, hi] with the last thrust negative at lo and not at hi, then halved to
        // two neighbouring doubles
        double lo = 1, hi = 1;
        if (below(1)) {
            for (hi = 2; below(hi); hi *= 2) {
                if (hi > kGreatestFactor) {
                    // with no strength at all the last block is pushed by nothing: it does not
                    // slide, whatever the factor
                    if (!(residualThrust(keep, f, std::optional<Num>()) > Num(0)) &&
                        !(residualThrust(keep, f, std::optional(Fst)) > Num(0))) {
                        if (keep.trace()) {
                            keep.trace()->remark(
                                "不计滑面强度时末块亦无剩余下滑推力：无下滑力，边坡不会滑动，"
                                "不计算稳定系数 Fs；设计推力为 0");
                        }
                        std::vector<double> none;
                        return BrokenLineSlide{values(f.T),  values(f.R), none, none,
                                               std::nullopt, 0,           0,    none};
                    }
                    if (keep.trace()) {
                        keep.trace()->remark(
                            "Fs 大于 10⁶ 时末块剩余下滑推力仍为负：抗滑力无从平衡，无解");
                    }
                    throw CalcError(ErrorKind::InvalidArgument);
                }
                lo = hi;
            }
        } else {
            for (lo = 0.5; !below(lo); lo /= 2) {
                if (lo < kLeastFactor) {
                    if (keep.trace()) {
                        keep.trace()->remark(
                            "Fs 小于 10⁻⁶ 时末块剩余下滑推力仍不为负：无抗滑力，无解");
                    }
                    throw CalcError(ErrorKind::InvalidArgument);
                }
                hi = lo;
            }
        }
        const double from = lo, to = hi;
        int iterations = 0;
        for (double mid = (lo + hi) / 2; mid != lo && mid != hi; mid = (lo + hi) / 2) {
            (below(mid) ? lo : hi) = mid;
            ++iterations;
        }
        if (keep.trace()) {
            keep.trace()->remark(
                "Fs 由二分法求得：末块剩余下滑推力 Pn 在 Fs = " + doubleToText(from) +
                " 为负、在 Fs = " + doubleToText(to) + " 不为负，区间折半 " +
                std::to_string(iterations) + " 次，缩至相邻两个双精度数");
        }
        const Num Fs = keep.solution("Fs", Num(hi));
        std::vector<Num> psi, P;
        residualThrust(keep, f, std::optional(Fs), &psi, &P);
        // the last block's thrust at Fs is nought: Fs is where it crosses zero, within two
        // neighbouring doubles; what the arithmetic leaves there is rounding, not a thrust
        if (keep.trace()) {
            keep.trace()->remark("末块剩余下滑推力在 Fs 处为 0（Fs 为其零点；按 Fs 算得的 " +
                                 doubleToText(P.back().value()) + " 为舍入误差）");
        }
        P.back() = Num(0);
        std::vector<Num> passedOn;
        Num thrust =
            residualThrust(keep, f, std::optional(Fst), static_cast<std::vector<Num>*>(nullptr),
                           static_cast<std::vector<Num>*>(nullptr), &passedOn);
        // the chain of every block at Fst: its value, the blocks' table shows the way
        thrust = keep.solution("Pn,st", thrust < Num(0) ? Num(0) : thrust);
        return BrokenLineSlide{values(f.T), values(f.R),    values(psi), values(P),
                               Fs.value(),  thrust.value(), iterations,  values(passedOn)};
    });
}

BrokenLineSlide transferExplicit(std::span<const SlidingBlock> blocks, double kh, double safety,
                                 Trace* trace) {
    return evaluate<Keep>(trace, "transferExplicit", [&]<typename Num>(Keep<Num> keep) {
        const Forces<Num> f = blockForces(keep, blocks, kh);
        const Num gammaT = keep.input("γt", safety);
        const std::size_t n = f.T.size();
        std::vector<Num> psi, F;
        Num carried = 0;
        for (std::size_t i = 0; i < n; ++i) {
            Num psiIn = 0;
            if (i > 0) {
                const Num bend = f.theta[i - 1] - f.theta[i];
                psiIn = firstOnly(keep, i - 1, "ψ", Num(cos(bend) - sin(bend) * f.tanPhi[i]));
                psi.push_back(psiIn);
            }
            const Num Fi = firstOnly(keep, i, "F",
                                     i == 0 ? Num(gammaT * f.T[i] - f.R[i])
                                            : Num(carried * psiIn + gammaT * f.T[i] - f.R[i]));
            F.push_back(Fi);
            carried = Fi < Num(0) ? Num(0) : Fi;
        }
        // Fs = (Σ Ri·Πψ + Rn) ÷ (Σ Ti·Πψ + Tn), the products over the transfers below block i
        Num resisting = f.R[n - 1], sliding = f.T[n - 1], product = 1;
        for (std::size_t i = n - 1; i-- > 0;) {
            product = product * psi[i];
            resisting = resisting + f.R[i] * product;
            sliding = sliding + f.T[i] * product;
        }
        const Num thrust = F.back() < Num(0) ? Num(0) : F.back();
        sliding = keep("ΣT", sliding);
        std::optional<double> Fs;
        if (sliding > Num(0)) {
            Fs = keep("Fs", keep("ΣR", resisting) / sliding).value();
        } else if (thrust > Num(0)) {
            refuseInput("下滑力之和 ΣT 不大于0，末块却仍有剩余下滑推力：显式解的稳定系数无意义");
        } else if (keep.trace()) {
            keep.trace()->remark("下滑力之和 ΣT ≤ 0，末块无剩余下滑推力：无下滑力，边坡不会滑动，"
                                 "不计算稳定系数 Fs");
        }
        return BrokenLineSlide{values(f.T), values(f.R),    values(psi), values(F),
                               Fs,          thrust.value(), 0,           {}};
    });
}

double anchorTension(double thrust, double theta, double spacing, double rows) {
    const Num Pn = thrust, s = spacing, n = rows;
    return (Pn * cos(radiansExact(Num(theta))) * s / n).value();
}

} // namespace subprogram
