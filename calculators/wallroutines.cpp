#include "wallroutines.h"

#include "calculators/angles.h"

#include <cmath>
#include <optional>

namespace subprogram {

namespace {

// The base-stress check takes its right angle as 3.14159 ÷ 2, a shorter π than the angles'.
constexpr double kPiRightAngle = 3.14159;

// Narrows a named value to a single where the method stores it, and notes it in the trace,
// with its formula when the routine runs on Shown; after which the name stands for the single.
template <FormulaNumber Number> class Store : public Keep<Number> {
  public:
    using Keep<Number>::Keep;
    Number operator()(std::string_view name, Unnamed<Number> value) const {
        const Number stored = single(value);
        if constexpr (std::same_as<Number, Shown>) {
            if (Trace* const steps = this->trace()) {
                steps->record(name, stored.asKept(), stored.value(), true);
            }
            return stored.keptAs(name, true);
        } else {
            return stored; // only the evaluation on Shown is traced
        }
    }
    // A stored angle shown by its name and its value in radians, not in degrees.
    Number radiansByName(std::string_view name, const Number& stored) const {
        if constexpr (std::same_as<Number, Shown>) {
            return Shown::named(name, stored.value(), true);
        } else {
            return stored;
        }
    }
};

} // namespace

WallWeight uprightWallWeight(const UprightWall& wall, Trace* trace) {
    return evaluate<Store>(trace, "uprightWallWeight", [w = wall]<typename Num>(Store<Num> store) {
        const Num n = store.input("n", w.n), Ht = store.input("Ht", w.Ht);
        const Num h1 = store.input("h1", w.h1), alpha0 = store.input("α0", w.alpha0);
        const Num b1 = store.input("b1", w.b1), b2 = store.input("b2", w.b2);
        const Num gammaW = store.input("γw", w.gammaW), b = store.input("b", w.b);

        const Num r0 = store("r0", radians(alpha0));
        const Num t = store("t", tan(r0));
        const Num numerator = Ht - b1 * t;
        const Num A = store("A", numerator / (1 / n + t));
        const Num B = store("B", Ht - b1 * t);
        const Num W2 = store("W2", (Ht + Ht - b1 * t) * b1 * gammaW / 2);
        const Num W1 = store("W1", A * B * gammaW / 2);
        const Num W3 = store("W3", b2 * h1 * gammaW);
        const Num L3 = store("L3", (n * h1 + b2) / 2);
        const Num m2 = store("m2", ((Ht + Ht + B) * b1 / 3) / (B + Ht));
        const Num m1 = store("m1", Num(2) / 3 * A);
        const Num c0 = store("c0", b - A - b1);
        const Num G = store("G", W1 + W2 + W3);
        const Num x0 = store("x0", ((m2 + c0 + A) * W2 + (c0 + m1) * W1 + W3 * L3) / G);
        return WallWeight{static_cast<float>(G.value()), static_cast<float>(x0.value()),
                          static_cast<float>(c0.value())};
    });
}

WallWeight shelfWallWeight(const ShelfWall& wall, Trace* trace) {
    return evaluate<Store>(trace, "shelfWallWeight", [w = wall]<typename Num>(Store<Num> store) {
        const Num n = store.input("n", w.n), x2 = store.input("x2", w.x2);
        const Num x3 = store.input("x3", w.x3), h1 = store.input("h1", w.h1);
        const Num Ht = store.input("Ht", w.Ht), h4 = store.input("h4", w.h4);
        const Num b1 = store.input("b1", w.b1), b2 = store.input("b2", w.b2);
        const Num b3 = store.input("b3", w.b3), b4 = store.input("b4", w.b4);
        const Num b5 = store.input("b5", w.b5), b = store.input("b", w.b);
        const Num gammaW = store.input("γw", w.gammaW);
        // h′, the height of the lower wall, and block 5's parts: never stored, and `auto` so
        // that the fast evaluation tests them only in the stored values they flow into
        const auto hp = Ht - h1 - h4;

        const Num A1 = store("A1", n * h1 * h1 / 2);
        const Num L1 = store("L1", hp * n + b4 + b2 - x2 * h1 - (h1 / 3) * n);
        const Num A2 = store("A2", b5 * h1);
        const Num L2 = store("L2", hp * n + b4 + (n * h1 + b5) / 2);
        const Num A3 = store("A3", x2 * h1 * h1 / 2);
        const Num L3 = store("L3", hp * n + b4 + b2 - (x2 * h1 + x2 * h1) / 3);
        const Num A4 = store("A4", hp * b3);
        const Num L4 = store("L4", (hp * n + b3) / 2 + b4);
        const Num A5 = store("A5", hp * (b1 + b2 - b3) / 2);
        // moment of block 5 about the vertical through b4 + b3: two right triangles of height h′
        const auto outer = hp * x3;
        const auto inner = hp * x3 - b2 - b1 + b3;
        const auto M5 = (hp * x3 * hp * 0.5 / 3) * outer - (inner * hp * 0.5 / 3) * inner;
        const Num L5 = store("L5", M5 / A5 + b4 + b3);
        const Num A6 = store("A6", b * h4);
        const Num L6 = store("L6", b / 2);
        const Num A7 = store("A7", (b3 + b4 - b) * h4 / 2);
        const Num L7 = store("L7", (b3 + b4 - b) / 2 + b);

        const Num A = store("A", A1 + A2 + A3 + A4 + A5 + A6 + A7);
        const Num x0 =
            store("x0", (A1 * L1 + A2 * L2 + A3 * L3 + A4 * L4 + A5 * L5 + A6 * L6 + A7 * L7) / A);
        const Num G = store("G", gammaW * A);
        return WallWeight{static_cast<float>(G.value()), static_cast<float>(x0.value())};
    });
}

namespace {

// Ks, or with `onlyDriven` none where nothing drives the wall outward (no division by it).
std::optional<float> slidingFactor(float weight, float earthPressure, float baseInclination,
                                   float backInclination, float wallFriction, float baseFriction,
                                   Trace* trace, double* drive, const GroundLoads* ground,
                                   bool onlyDriven) {
    return evaluate<Store>(trace, "antiSlidingFactor", [=]<typename Num>(Store<Num> store) {
        const Num G = store.input("G", weight), Ea = store.input("Ea", earthPressure);
        const Num alpha0 = store.input("α0", baseInclination);
        const Num alpha = store.input("α", backInclination), delta = store.input("δ", wallFriction);
        const Num mu = store.input("μ", baseFriction);
        const Num r0 = store("r0", radians(alpha0));
        const Num ra = store("rα", radians(alpha));
        const Num rd = store("rδ", radians(delta));
        const Num Gn = store("Gn", G * cos(r0));
        const Num Gt = store("Gt", G * sin(r0));
        const Num psi = ra - r0 - rd;
        const Num Eat = store("Eat", Ea * sin(psi));
        const Num Ean = store("Ean", Ea * cos(psi));
        Num numerator = (Gn + Ean) * mu;
        Num driving = Eat - Gt;
        if (ground) { // the water's and the inertia's horizontal loads, the uplift
            const Num Fh =
                store("Fh", store.input("Pw", ground->Pw) + store.input("Fi", ground->Fi));
            const Num U = store.input("U", ground->U);
            const Num Nx = store("Nx", Fh * sin(r0) - U * cos(r0));
            const Num Tx = store("Tx", Fh * cos(r0) + U * sin(r0));
            numerator = (Gn + Ean + Nx) * mu;
            driving = Eat - Gt + Tx;
        }
        if (drive) {
            *drive = driving.value();
        }
        if (onlyDriven && !(driving > Num(0))) {
            if (store.trace()) {
                store.trace()->remark("沿基底的下滑力不大于0：挡墙不会沿基底滑移，不计算 Ks");
            }
            return std::optional<float>();
        }
        return std::optional(static_cast<float>(store("Ks", numerator / driving).value()));
    });
}

// Kt, or with `onlyTipped` none where nothing tips the wall about its toe.
std::optional<float> overturningFactor(float weight, float earthPressure, float baseInclination,
                                       float leverHeight, float backInclination, float wallFriction,
                                       float baseWidth, float centroid, Trace* trace,
                                       const GroundLoads* ground, double* moment, bool onlyTipped) {
    return evaluate<Store>(trace, "antiOverturningFactor", [=]<typename Num>(Store<Num> store) {
        const Num G = store.input("G", weight), Ea = store.input("Ea", earthPressure);
        const Num alpha0 = store.input("α0", baseInclination), z = store.input("z", leverHeight);
        const Num alpha = store.input("α", backInclination), delta = store.input("δ", wallFriction);
        const Num b = store.input("b", baseWidth), x0 = store.input("x0", centroid);
        const Num rd = store("rδ", radians(delta));
        const Num r0 = store("r0", radians(alpha0));
        const Num ra = store("rα", radians(alpha));
        const Num Eax = store("Eax", Ea * sin(ra - rd));
        const Num Eaz = store("Eaz", Ea * cos(ra - rd));
        const Num xf = store("xf", b - z / tan(ra));
        const Num zf = store("zf", z - b * tan(r0));
        Num tipping = zf * Eax;
        if (ground) { // the water's, the inertia's and the uplift's moments about the toe
            const Num Pw = store.input("Pw", ground->Pw), zw = store.input("zw", ground->zw);
            const Num Fi = store.input("Fi", ground->Fi), zi = store.input("zi", ground->zi);
            const Num U = store.input("U", ground->U), xU = store.input("xU", ground->xU);
            const Num Mx = store("Mx", Pw * (zw - b * tan(r0)) + Fi * (zi - b * tan(r0)) + U * xU);
            tipping = zf * Eax + Mx;
        }
        if (moment) {
            *moment = tipping.value();
        }
        if (onlyTipped && !(tipping > Num(0))) {
            if (store.trace()) {
                store.trace()->remark("倾覆力矩不大于0：挡墙不会绕墙趾倾覆，不计算 Kt");
            }
            return std::optional<float>();
        }
        return std::optional(
            static_cast<float>(store("Kt", (x0 * G + xf * Eaz) / tipping).value()));
    });
}

} // namespace

float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu,
                        Trace* trace, double* drive, const GroundLoads* ground) {
    return *slidingFactor(G, Ea, alpha0, alpha, delta, mu, trace, drive, ground, false);
}

std::optional<float> antiSlidingFactorIfDriven(float G, float Ea, float alpha0, float alpha,
                                               float delta, float mu, Trace* trace, double* drive,
                                               const GroundLoads* ground) {
    return slidingFactor(G, Ea, alpha0, alpha, delta, mu, trace, drive, ground, true);
}

float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0, Trace* trace, const GroundLoads* ground,
                            double* moment) {
    return *overturningFactor(G, Ea, alpha0, z, alpha, delta, b, x0, trace, ground, moment, false);
}

std::optional<float> antiOverturningFactorIfTipped(float G, float Ea, float alpha0, float z,
                                                   float alpha, float delta, float b, float x0,
                                                   Trace* trace, const GroundLoads* ground,
                                                   double* moment) {
    return overturningFactor(G, Ea, alpha0, z, alpha, delta, b, x0, trace, ground, moment, true);
}

float baseRise(float width, float inclination, Trace* trace) {
    return evaluate<Store>(trace, "baseRise", [=]<typename Num>(Store<Num> store) {
        const Num b = store.input("b", width), alpha0 = store.input("α0", inclination);
        const Num r0 = store("r0", radians(alpha0));
        return static_cast<float>(store("h2", b * tan(r0)).value());
    });
}

float upperWallFootWidth(float topWidth, float batter, float backSlope, float height,
                         Trace* trace) {
    return evaluate<Store>(trace, "upperWallFootWidth", [=]<typename Num>(Store<Num> store) {
        const Num b5 = store.input("b5", topWidth), n = store.input("n", batter);
        const Num x2 = store.input("x2", backSlope), h1 = store.input("h1", height);
        return static_cast<float>(store("b2", b5 + (n + x2) * h1).value());
    });
}

float earthPressureLeverHeight(float soilHeight, float totalHeight, Trace* trace,
                               std::optional<float> centroid) {
    return evaluate<Store>(trace, "leverHeight", [=]<typename Num>(Store<Num> store) {
        const Num H = store.input("H", soilHeight), Ht = store.input("Ht", totalHeight);
        if (centroid) {
            const Num zc = store.input("zc", *centroid);
            return static_cast<float>(store("z", zc + Ht - H).value());
        }
        return static_cast<float>(store("z", H / 3 + Ht - H).value());
    });
}

BaseStress baseStress(float weight, float soilHeight, float totalHeight, float baseRise,
                      float centroid, float wallFriction, float backInclination,
                      float earthPressure, float baseWidth, Trace* trace,
                      std::optional<float> pressureCentroid, const GroundLoads* ground) {
    return evaluate<Store>(trace, "baseStress", [=]<typename Num>(Store<Num> store) {
        const Num G = store.input("G", weight), H = store.input("H", soilHeight);
        const Num Ht = store.input("Ht", totalHeight), h2 = store.input("h2", baseRise);
        const Num x0 = store.input("x0", centroid), delta = store.input("δ", wallFriction);
        const Num alpha = store.input("α", backInclination), Ea = store.input("Ea", earthPressure);
        const Num b = store.input("b", baseWidth);
        const Num zE = pressureCentroid
                           ? store("zE", store.input("zc", *pressureCentroid) + Ht - H - h2)
                           : store("zE", H / 3 + Ht - H - h2);
        // in radians by their names: beside π′ ÷ 2, degrees would mix with radians
        const Num ra = store.radiansByName("rα", store("rα", radians(alpha)));
        const Num rd = store.radiansByName("rδ", store("rδ", radians(delta)));
        // the inclination of Ea, not stored: a right angle of the other value of π
        const Num theta = store.input("π′", kPiRightAngle) / 2 + rd - ra;
        Num N = 0, c = 0;
        if (ground) { // the uplift off N; the water's, the inertia's and the uplift's moments
            const Num Pw = store.input("Pw", ground->Pw), zw = store.input("zw", ground->zw);
            const Num Fi = store.input("Fi", ground->Fi), zi = store.input("zi", ground->zi);
            const Num U = store.input("U", ground->U), xU = store.input("xU", ground->xU);
            N = store("N", Ea * sin(theta) + G - U);
            c = store("c", (G * x0 - Ea * cos(theta) * zE + Ea * sin(theta) * b - Pw * (zw - h2) -
                            Fi * (zi - h2) - U * xU) /
                               N);
        } else {
            N = store("N", Ea * sin(theta) + G);
            c = store("c", (G * x0 - Ea * cos(theta) * zE + Ea * sin(theta) * b) / N);
        }
        const Num e = store("e", b / 2 - c);
        const Num sixth = store("b/6", b / 6);
        Num pmax;
        Num pmin;
        if (Trace* const steps = store.trace()) {
            steps->remark(e > sixth
                              ? "e > b/6：合力在基底中部三分之一以外（墙趾一侧），按三角形分布计算"
                              : "e ≤ b/6：合力在基底中部三分之一以内，按线性分布计算");
        }
        if (e > sixth) { // outside the middle third, towards the toe
            pmax = store("pmax", (N + N) / 3 / c);
            pmin = store("pmin", 0);
        } else {
            const Num toeFactor = e * 6 / b + 1;
            pmax = store("pmax", toeFactor * (N / b));
            const Num heelFactor = 1 - e * 6 / b;
            pmin = store("pmin", heelFactor * (N / b));
        }
        return BaseStress{static_cast<float>(pmax.value()), static_cast<float>(pmin.value()),
                          static_cast<float>(e.value()), static_cast<float>(N.value())};
    });
}

GroundLoads groundLoads(float gammaWater, std::optional<float> waterDepth, float totalHeight,
                        float baseWidth, float seismic, float weight, float centroidHeight,
                        Trace* trace) {
    return evaluate<Store>(trace, "groundLoads", [=]<typename Num>(Store<Num> store) {
        GroundLoads g;
        const Num Ht = store.input("Ht", totalHeight);
        if (waterDepth) {
            const Num gw = store.input("γ水", gammaWater), dw = store.input("dw", *waterDepth);
            if (dw < Ht) { // behind the wall down to the heel: its thrust and its uplift
                const Num hw = store("hw", Ht - dw);
                g.Pw = static_cast<float>(store("Pw", gw * hw * hw / 2).value());
                g.zw = static_cast<float>(store("zw", hw / 3).value());
                const Num b = store.input("b", baseWidth);
                const Num u = store("u", gw * hw);
                g.u = static_cast<float>(u.value());
                g.U = static_cast<float>(store("U", u * b / 2).value());
                g.xU = static_cast<float>(store("xU", b * 2 / 3).value());
            }
        }
        if (seismic > 0) {
            const Num kh = store.input("kh", seismic), G = store.input("G", weight);
            g.Fi = static_cast<float>(store("Fi", kh * G).value());
            g.zi = static_cast<float>(store("zi", store.input("y0", centroidHeight)).value());
        }
        return g;
    });
}

float meanBasePressure(float normalForce, float baseWidth, Trace* trace) {
    return evaluate<Store>(trace, "meanBasePressure", [=]<typename Num>(Store<Num> store) {
        const Num N = store.input("N", normalForce), b = store.input("b", baseWidth);
        return static_cast<float>(store("pk", N / b).value());
    });
}

} // namespace subprogram
