// The earth and water pressure on a wall's back from strata, a water table, local loads and an
// earthquake.
#include "layeredpressure.h"

#include "calculators/angles.h"
#include "calculators/domains.h"
#include "calculators/earthpressure.h"
#include "calculators/listtext.h"
#include "core/numerictext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace subprogram {

namespace {

std::string indexed(std::string_view name, std::size_t i, std::string_view after = {}) {
    return std::string(name) + std::to_string(i + 1) + std::string(after);
}

// Mononobe–Okabe's factor on Coulomb's coefficient of the turned geometry.
template <typename Num> Num seismicFactor(Num alpha, Num rho) {
    const Num a = radians(alpha), r = radians(rho);
    return sin(a - r) * sin(a - r) / (sin(a) * sin(a) * cos(r));
}

// The seismic angle in degrees, converted back as the routines convert every angle.
double seismicAngle(double kh) {
    return kh > 0 ? std::atan(kh) * 180 / kPiDecimal : 0;
}

// Coulomb's coefficient of a cohesionless stratum without surcharge (the wall's height then
// takes no part), on the geometry turned by ρ.
double coulombCoefficient(const WallBack& wall, double gamma, double phi, double rho,
                          Trace* trace) {
    return coulombActive(wall.H, gamma, phi, 0, 0, wall.delta, 0, wall.beta + rho, wall.alpha - rho,
                         trace)
        .Ka;
}

// A depth at which the diagram may bend or jump, with the value that formed it.
template <typename Num> struct Depth {
    Num z;
    double value() const { return z.value(); }
};

} // namespace

double seismicCoefficient(double phi, double delta, double beta, double alpha, double kh) {
    const double rho = seismicAngle(kh);
    const double coulomb = coulombCoefficient({1, alpha, beta, delta}, 1, phi, rho, nullptr);
    return evaluate<Keep>(nullptr, "seismicCoefficient", [=]<typename Num>(Keep<Num>) {
        return Num(Num(coulomb) * seismicFactor(Num(alpha), Num(rho))).value();
    });
}

LayeredPressure layeredPressure(const WallBack& wall, const Backfill& fill, Trace* trace,
                                bool traceCoefficient) {
    if (!(wall.H > 0) || fill.strata.empty() || fill.strata.size() > kMaxStrata) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    LayeredPressure r;
    // the strata that reach the wall, the last one to its base
    for (double top = 0; r.bounds.size() < fill.strata.size() && top < wall.H;) {
        top += fill.strata[r.bounds.size()].thickness;
        r.bounds.push_back(std::min(top, wall.H));
    }
    r.bounds.back() = wall.H;
    const std::size_t n = r.bounds.size();
    r.rho = seismicAngle(fill.kh);
    std::vector<double> coulomb;
    for (std::size_t i = 0; i < n; ++i) {
        coulomb.push_back(coulombCoefficient(wall, fill.strata[i].gamma, fill.strata[i].phi, r.rho,
                                             i == 0 && traceCoefficient ? trace : nullptr));
    }
    if (fill.water && *fill.water < wall.H) {
        r.waterDepth = *fill.water;
    }

    evaluate<Keep>(trace, "layeredPressure", [&]<typename Num>(Keep<Num> keep) {
        const Num H = keep.input("H", wall.H);
        // each stratum's coefficient: Coulomb's, or for kh > 0 Mononobe–Okabe's
        std::vector<Num> K, rootK;
        std::optional<Num> factor;
        if (fill.kh > 0) {
            factor = keep("KE", seismicFactor(keep.input("α", wall.alpha), keep.input("ρ", r.rho)));
        }
        for (std::size_t i = 0; i < n; ++i) {
            const Num Ki = keep.input(indexed(factor ? "K′a" : "Ka", i), coulomb[i]);
            K.push_back(factor ? keep(indexed("Ka", i), Ki * *factor) : Ki);
            rootK.push_back(sqrt(K.back()));
        }
        // the uniform surcharge as Coulomb's formula takes it on a sloping fill
        Num surcharge = 0;
        if (fill.q != 0) {
            const Num a = radians(keep.input("α", wall.alpha));
            const Num b = radians(keep.input("β", wall.beta));
            surcharge = keep("q′", keep.input("q", fill.q) * sin(a) * cos(b) / sin(b + a));
        }

        // where the diagram bends or jumps: the strata's bases, the water table, the loads
        std::vector<Depth<Num>> depths{{Num(0)}, {H}};
        Num top = 0;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            top = top + keep.input(indexed("h", i), fill.strata[i].thickness);
            depths.push_back({top});
        }
        std::optional<Num> water;
        if (r.waterDepth) {
            water = keep.input("dw", *r.waterDepth);
            depths.push_back({*water});
        }
        // local loads by GB 50330-2013 附录B, on the top stratum's φ: a line load's pressure an
        // isosceles triangle from a·tanφ to a·tanβ, a strip's a rectangle from a·tanβ to
        // (a + b)·tanβ, β = 45° + φ/2
        struct Spread {
            Num from, to, peak;
            bool line;
        };
        std::vector<Spread> spreads;
        if (!fill.loads.empty()) {
            const Num phi = keep.input("φ1", fill.strata[0].phi);
            const Num t = tan(radians(45 - phi / 2));
            const Num KaL = keep("Ka,L", t * t);
            const Num tanBeta = tan(radians(keep("β1", 45 + phi / 2)));
            const Num tanPhi = tan(radians(phi));
            for (std::size_t k = 0; k < fill.loads.size(); ++k) {
                const LocalLoad& load = fill.loads[k];
                const Num a = keep.input(indexed("a", k), load.a);
                if (load.kind == LocalLoad::Kind::Line) {
                    const Num Q = keep.input(indexed("Q", k), load.q);
                    const Num h = keep(indexed("h", k, ",L"), a * (tanBeta - tanPhi));
                    const Num peak = keep(indexed("e", k, ",max"), 2 * Q * sqrt(KaL) / h);
                    spreads.push_back({Num(a * tanPhi), Num(a * tanBeta), peak, true});
                } else {
                    const Num q = keep.input(indexed("q", k, ",L"), load.q);
                    const Num b = keep.input(indexed("b", k), load.b);
                    const Num e = keep(indexed("e", k, ",L"), KaL * q);
                    spreads.push_back({Num(a * tanBeta), Num((a + b) * tanBeta), e, false});
                }
                const Spread& s = spreads.back();
                depths.push_back({s.from});
                depths.push_back({s.to});
                if (s.line) {
                    depths.push_back({Num((s.from + s.to) / 2)});
                }
            }
        }
        std::erase_if(
            depths, [&](const Depth<Num>& d) { return !(d.value() >= 0 && d.value() <= wall.H); });
        std::ranges::stable_sort(depths, {}, &Depth<Num>::value);
        // a local load's pressure at z on the piece whose middle is `middle`
        const auto local = [&](double middle, const Num& z) {
            Num e = 0;
            for (const Spread& s : spreads) {
                if (s.line && middle > s.from.value() && middle < s.to.value()) {
                    const Num half = (s.to - s.from) / 2;
                    const Num apex = s.from + half;
                    const Num run = middle < apex.value() ? Num(z - s.from) : Num(s.to - z);
                    e = e + s.peak * run / half;
                } else if (!s.line && middle >= s.from.value() && middle <= s.to.value()) {
                    e = e + s.peak;
                }
            }
            return e;
        };

        // piece by piece down the wall: σ′v grows by the piece's unit weight, e = Ka·σ′v − 2c√Ka
        const Num gw = keep.input("γ水", fill.gammaWater);
        Num stress = surcharge, Ea = 0, moment = 0;
        std::vector<Num> forces(n, Num(0));
        std::size_t stratum = 0;
        for (std::size_t j = 0; j + 1 < depths.size(); ++j) {
            const Num& from = depths[j].z;
            const Num& to = depths[j + 1].z;
            if (!(to.value() > from.value())) {
                continue;
            }
            const double middle = (from.value() + to.value()) / 2;
            while (middle > r.bounds[stratum]) {
                ++stratum;
            }
            const FillStratum& s = fill.strata[stratum];
            const bool submerged = water && middle > water->value();
            const Num weight = submerged
                                   ? Num(keep.input(indexed("γsat", stratum), s.gammaSat) - gw)
                                   : keep.input(indexed("γ", stratum), s.gamma);
            const Num c = keep.input(indexed("c", stratum), s.c);
            // each stratum's stress and pressure at its top and base by name, in the report
            const bool first = from.value() == (stratum ? r.bounds[stratum - 1] : 0.0);
            const bool last = to.value() == r.bounds[stratum];
            if (first) {
                stress = keep(indexed("σ", stratum, "顶"), stress);
            }
            Num stressBelow = stress + weight * (to - from);
            if (last) {
                stressBelow = keep(indexed("σ", stratum, "底"), stressBelow);
            }
            const auto pressure = [&](const Num& sigma, const Num& z) {
                return Num(K[stratum] * sigma - 2 * c * rootK[stratum] + local(middle, z));
            };
            Num eTop = pressure(stress, from), eBottom = pressure(stressBelow, to);
            if (first) {
                eTop = keep(indexed("e", stratum, "顶"), eTop);
            }
            if (last) {
                eBottom = keep(indexed("e", stratum, "底"), eBottom);
            }
            r.pieces.push_back({from.value(), to.value(), eTop.value(), eBottom.value(),
                                static_cast<int>(stratum)});
            stress = stressBelow;
            // the area of p (its positive part alone, the tension zone ignored) and its moment
            // about the base
            Num z0 = from, z1 = to, p0 = eTop, p1 = eBottom;
            if (!fill.tensionCounted) {
                if (eTop <= 0 && eBottom <= 0) {
                    continue;
                }
                if (eTop < 0 || eBottom < 0) {
                    const Num crossing = from + (to - from) * eTop / (eTop - eBottom);
                    (eTop < 0 ? z0 : z1) = crossing;
                    (eTop < 0 ? p0 : p1) = 0;
                }
            }
            const Num area = (p0 + p1) / 2 * (z1 - z0);
            forces[stratum] = forces[stratum] + area;
            moment =
                moment +
                (z1 - z0) * (p0 * (2 * (H - z0) + (H - z1)) + p1 * ((H - z0) + 2 * (H - z1))) / 6;
        }
        // each stratum's thrust, the sum of its pieces' areas, by its value alone
        for (std::size_t i = 0; i < n; ++i) {
            const Num E = keep.solution(indexed("E", i), forces[i]);
            Ea = i == 0 ? E : Num(Ea + E);
        }
        Ea = keep("Ea", Ea);
        r.Ea = Ea.value();
        if (Ea > 0) {
            r.za = keep("za", keep.solution("Ma", moment) / Ea).value();
        }
        if (water) {
            const Num hw = keep("hw", H - *water);
            r.Pw = keep("Pw", gw * hw * hw / 2).value();
            r.zw = keep("zw", hw / 3).value();
        }
        for (const Num& k : K) {
            r.Ka.push_back(k.value());
        }
        r.gammaWater = fill.gammaWater;
        r.tensionCounted = fill.tensionCounted;
        return 0;
    });
    return r;
}

namespace {

double number(std::string_view word) {
    return listNumber(word);
}

void require(bool condition, const char* reason) {
    if (!condition) {
        refuseInput(reason);
    }
}

// A load's kind as an engineer types it: 线荷载 or line, 条形荷载 or strip, in any case.
std::optional<LocalLoad::Kind> loadKind(std::string_view word) {
    const auto is = [&](std::string_view english) {
        return word.size() == english.size() &&
               std::equal(word.begin(), word.end(), english.begin(),
                          [](char a, char b) { return std::tolower(a) == b; });
    };
    if (word == "线荷载" || is("line")) {
        return LocalLoad::Kind::Line;
    }
    if (word == "条形荷载" || is("strip")) {
        return LocalLoad::Kind::Strip;
    }
    return std::nullopt;
}

} // namespace

std::vector<FillStratum> readStrata(std::string_view text) {
    std::vector<FillStratum> strata;
    for (const auto& row : rowsOf(text, 4, 5)) {
        const FillStratum s{row[0], row[1], row[2], row[3], row.size() > 4 ? row[4] : row[1]};
        require(s.thickness > 0, "各层厚度应大于0");
        require(s.gamma > 0 && s.gammaSat > 0, "各层重度 γ 与 γsat 应大于0");
        require(s.c >= 0, "各层粘聚力 c 应不小于0");
        require(s.phi >= 0 && s.phi < 90,
                "各层内摩擦角 φ 应在 0° 与 90° 之间（可为0°，不可为90°）");
        strata.push_back(s);
    }
    require(strata.size() <= kMaxStrata, "至多 20 层土");
    return strata;
}

std::vector<LocalLoad> readLoads(std::string_view text) {
    std::vector<LocalLoad> loads;
    if (text.empty()) {
        return loads;
    }
    for (const auto& words : itemsOf(text)) {
        require(!words.empty(), "荷载项不应为空");
        const std::optional<LocalLoad::Kind> kind = loadKind(words[0]);
        require(kind.has_value(), "荷载类型应为 线荷载（line）或 条形荷载（strip）");
        if (*kind == LocalLoad::Kind::Line) {
            require(words.size() == 3, "线荷载写作“line Q a”");
            loads.push_back({LocalLoad::Kind::Line, number(words[1]), number(words[2]), 0});
            require(loads.back().a > 0, "线荷载距墙背的距离 a 应大于0");
        } else {
            require(words.size() == 4, "条形荷载写作“strip q a b”");
            loads.push_back(
                {LocalLoad::Kind::Strip, number(words[1]), number(words[2]), number(words[3])});
            require(loads.back().a >= 0, "条形荷载距墙背的距离 a 应不小于0");
            require(loads.back().b > 0, "条形荷载的宽度 b 应大于0");
        }
        require(loads.back().q >= 0, "荷载 Q 或 q 应不小于0");
    }
    require(loads.size() <= kMaxStrata, "至多 20 项局部荷载");
    return loads;
}

double readDepth(std::string_view text) {
    return within(textToDouble(text), kNonNegative);
}

Backfill readBackfill(const Form& form, const BackfillFields& f, double q) {
    Backfill b;
    b.q = q;
    if (!form.blank(f.layers)) {
        b.strata = form.readWith(f.layers, readStrata);
    }
    if (!form.blank(f.water)) {
        b.water = form.readWith(f.water, readDepth);
    }
    b.gammaWater = readWithin(form, f.gammaWater, kPositive);
    if (!form.blank(f.loads)) {
        b.loads = form.readWith(f.loads, readLoads);
    }
    b.kh = readWithin(form, f.kh, kSeismic);
    if (b.water && std::ranges::any_of(
                       b.strata, [&](const FillStratum& s) { return s.gammaSat < b.gammaWater; })) {
        throw FieldError(
            CalcError(ErrorKind::InvalidArgument, "有地下水时各层的饱和重度 γsat 应不小于水的重度"),
            f.layers);
    }
    return b;
}

} // namespace subprogram
