#include "anchoredwallinputs.h"

#include "calculators/angles.h"
#include "calculators/domains.h"
#include "calculators/listtext.h"

#include <cmath>
#include <optional>
#include <set>

namespace subprogram {

using namespace anchored;

namespace {

// The rows' depths: 1 to 20, each within (0, H), increasing, no two closer than 0.1 m.
std::vector<double> readRows(const Form& form, double H) {
    const std::vector<double> rows = form.readWith(in::rows, numberList);
    const auto refuse = [](const char* why) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, why), in::rows);
    };
    if (rows.empty() || rows.size() > kMaxRows) {
        refuse("应有1至20排锚杆");
    }
    for (std::size_t j = 0; j < rows.size(); ++j) {
        if (!(rows[j] > 0 && rows[j] < H)) {
            refuse("锚杆排位应在坡顶与墙底之间（0 < z < H）");
        }
        if (j > 0 && !(rows[j] - rows[j - 1] >= kLeastRowGap)) {
            refuse("锚杆排位应自上而下递增，相邻两排的间距不小于0.1 m");
        }
    }
    return rows;
}

// Two piecewise-linear functions added, each times its factor: pieces over the union of their
// breaks, each value taken inside its interval (a jump stays a jump).
std::vector<LoadPiece> added(const std::vector<LoadPiece>& f, const std::vector<LoadPiece>& g,
                             double factor, double H) {
    std::set<double> breaks{0.0, H};
    for (const auto* pieces : {&f, &g}) {
        for (const LoadPiece& p : *pieces) {
            breaks.insert(p.from);
            breaks.insert(p.to);
        }
    }
    const auto value = [](const std::vector<LoadPiece>& pieces, double z, double inside) {
        for (const LoadPiece& p : pieces) {
            if (inside > p.from && inside < p.to) {
                return p.top + (p.bottom - p.top) * (z - p.from) / (p.to - p.from);
            }
        }
        return 0.0;
    };
    std::vector<LoadPiece> sum;
    for (auto it = breaks.begin(); std::next(it) != breaks.end(); ++it) {
        const double from = *it, to = *std::next(it);
        if (from < 0 || to > H || !(to > from)) {
            continue;
        }
        const double mid = (from + to) / 2;
        sum.push_back({from, to, factor * (value(f, from, mid) + value(g, from, mid)),
                       factor * (value(f, to, mid) + value(g, to, mid))});
    }
    return sum;
}

// The ground's earth pressure as its calculation gave it, each ordinate times `factor`, a
// tension zone left out where the ground's rule ignores it (its pieces cut where p = 0).
std::vector<LoadPiece> groundShape(const LayeredPressure& p, double factor) {
    std::vector<LoadPiece> pieces;
    for (const PressurePiece& piece : p.pieces) {
        const double top = piece.top * factor, bottom = piece.bottom * factor;
        if (p.tensionCounted || (top >= 0 && bottom >= 0)) {
            pieces.push_back({piece.from, piece.to, top, bottom});
        } else if (top > 0 || bottom > 0) { // crosses zero: the compressed part alone
            const double zero = piece.from + (piece.to - piece.from) * top / (top - bottom);
            pieces.push_back(top > 0 ? LoadPiece{piece.from, zero, top, 0}
                                     : LoadPiece{zero, piece.to, 0, bottom});
        }
    }
    return pieces;
}

// The thrust used and its shape's ordinate, by their formulas: Eah from the ground's Ea (none
// when typed), E′ah = β2·Eah, e′ah of the trapezoid or the uniform shape, the triangle's base
// ordinate.
struct Redistribution {
    double EaH, EaHmod;
    std::optional<double> eh, base;
};
Redistribution redistribute(std::optional<double> groundEa, double typed, double alphaDeg,
                            double deltaDeg, double factor, double height, Shape shape,
                            SlopeKind slope, Trace* trace) {
    return evaluate<Keep>(trace, "redistribution", [=]<typename Num>(Keep<Num> keep) {
        const Num Eah = groundEa ? keep("Eah", keep.input("Ea", *groundEa) *
                                                   sin(radiansExact(keep.input("α", alphaDeg) -
                                                                    keep.input("δ", deltaDeg))))
                                 : keep.input("Eah", typed);
        const Num beta2 = keep.input("β2", factor), H = keep.input("H", height);
        const Num E = keep("E′ah", beta2 * Eah);
        Redistribution r{Eah.value(), E.value(), {}, {}};
        if (shape == Shape::Trapezoid) {
            const bool rock = slope == SlopeKind::Rock;
            const Num area = keep.input(rock ? "0.9" : "0.875", rock ? 0.9 : 0.875);
            r.eh = keep("e′ah", E / (area * H)).value();
        } else if (shape == Shape::Uniform) {
            r.eh = keep("e′ah", E / H).value();
        } else if (shape == Shape::Triangle) {
            r.base = keep("e(H)", 2 * E / H).value();
        }
        return r;
    });
}

} // namespace

AnchoredWallAnalysis analyseAnchoredWall(const Form& form, Trace* trace) {
    AnchoredWallAnalysis w;
    w.H = readWithin(form, in::H, kPositive);
    std::optional<LayeredPressure> ground;
    double horizontal = 1; // of the ground's earth pressure: sin(α − δ)
    double alpha = 90, delta = 0, typed = 0;
    if (form.blank(in::Eah)) {
        const double q = readWithin(form, in::q, kNonNegative);
        const WallBack back{w.H, readWithin(form, in::alpha, kWallBack),
                            readWithin(form, in::beta, kInclination),
                            readWithin(form, in::delta, kFriction)};
        Backfill fill = readBackfill(form, {in::layers, in::water, in::gw, in::loads, in::kh}, q);
        if (fill.strata.empty()) {
            throw FieldError(CalcError(ErrorKind::InvalidArgument, "应至少有一层土"), in::layers);
        }
        fill.tensionCounted = form.readWith(in::tension, chosenFrom(ground::kTensionRules)) == 1;
        ground = layeredPressure(back, fill, trace, false);
        alpha = back.alpha, delta = back.delta;
        horizontal = std::sin((alpha - delta) * kPi / 180);
        if (ground->waterDepth) {
            const double dw = *ground->waterDepth;
            w.water.push_back({dw, w.H, 0, ground->gammaWater * (w.H - dw)});
        }
    } else {
        typed = readWithin(form, in::Eah, kNonNegative);
    }
    const auto shape = Shape(form.readWith(in::shape, chosenFrom(kShapes)));
    const auto slope = shape == Shape::Trapezoid
                           ? SlopeKind(form.readWith(in::slope, chosenFrom(kSlopeKinds)))
                           : SlopeKind::Rock;
    const double beta2 = readWithin(form, in::beta2, kPositive);
    w.rows = readRows(form, w.H);
    w.sx = readWithin(form, in::sx, kPositive);
    const auto model = Model(form.readWith(in::forces, chosenFrom(kModels)));
    const auto foot = model == Model::Beam ? RibFoot(form.readWith(in::base, chosenFrom(kFeet)))
                                           : RibFoot::Hinged;

    // the thrust redistributed over the height
    const double H = w.H;
    const Redistribution r = redistribute(ground ? std::optional(ground->Ea) : std::nullopt, typed,
                                          alpha, delta, beta2, H, shape, slope, trace);
    w.EaH = r.EaH, w.EaHmod = r.EaHmod, w.eh = r.eh;
    switch (shape) {
    case Shape::Trapezoid: { // rising over the top 0.2H (rock) or 0.25H (soil), then level
        const double rise = slope == SlopeKind::Rock ? 0.2 : 0.25;
        w.earth = {{0, rise * H, 0, *w.eh}, {rise * H, H, *w.eh, *w.eh}};
        break;
    }
    case Shape::Triangle:
        w.earth = {{0, H, 0, *r.base}};
        break;
    case Shape::Uniform:
        w.earth = {{0, H, *w.eh, *w.eh}};
        break;
    case Shape::Diagram:
        if (!ground) {
            throw FieldError(CalcError(ErrorKind::InvalidArgument,
                                       "按土压力图分布须由土层计算土压力：Eah 应不填"),
                             in::shape);
        }
        w.earth = groundShape(*ground, horizontal * beta2);
        break;
    }
    w.rib = added(w.earth, w.water, w.sx, H);

    if (model == Model::Beam) {
        try {
            w.forces.emplace(w.rows, H, foot, w.rib);
        } catch (const CalcError& error) {
            throw FieldError(error, in::base); // one row on a free foot: a mechanism
        }
        w.reactions = w.forces->reactions();
    } else {
        w.reactions = tributaryReactions(w.rows, H, w.rib);
    }
    return w;
}

} // namespace subprogram
