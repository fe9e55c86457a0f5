#include "antislidepileinputs.h"

#include "calculators/domains.h"
#include "calculators/listtext.h"

namespace subprogram {

using namespace antislide;

namespace {

// The strata below the slip surface: 1 to 20 rows of 'thickness value allowable', each positive.
std::vector<Stratum> readStrata(const Form& form) {
    const auto rows =
        form.readWith(in::strata, [](std::string_view text) { return rowsOf(text, 3); });
    const auto refuse = [](const char* why) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, why), in::strata);
    };
    if (rows.empty() || rows.size() > kMaxStrata) {
        refuse("应有1至20层地层");
    }
    std::vector<Stratum> strata;
    for (const std::vector<double>& row : rows) {
        if (!(row[0] > 0)) {
            refuse("地层厚度应大于0");
        }
        if (!(row[1] > 0)) {
            refuse("地基系数（m或K）应大于0");
        }
        if (!(row[2] > 0)) {
            refuse("横向容许应力应大于0");
        }
        strata.push_back({row[0], row[1], row[2]});
    }
    return strata;
}

// The load on one pile, E = (T − Ep)·s, and its ordinates at the head and the slip surface.
struct PileLoad {
    double E, top, bottom;
};
PileLoad pileLoad(double thrust, double resistance, double spacing, double h1, Shape shape,
                  double ratio, Trace* trace) {
    return evaluate<Keep>(trace, "pileLoad", [=]<typename Num>(Keep<Num> keep) {
        const Num T = keep.input("T", thrust), Ep = keep.input("Ep", resistance);
        const Num s = keep.input("s", spacing), h = keep.input("h1", h1);
        const Num E = keep("E", (T - Ep) * s);
        if (shape == Shape::Rectangle) {
            const Num q = keep("q", E / h);
            return PileLoad{E.value(), q.value(), q.value()};
        }
        if (shape == Shape::Triangle) {
            const Num q = keep("q底", 2 * E / h);
            return PileLoad{E.value(), 0, q.value()};
        }
        const Num r = keep.input("r", ratio);
        const Num bottom = keep("q底", 2 * E / (h * (1 + r)));
        const Num top = keep("q顶", r * bottom);
        return PileLoad{E.value(), top.value(), bottom.value()};
    });
}

// EI = 0.85·Ec·I (JGJ 94-2008 第5.7.2条) and the calculation width, where not typed.
struct PileSection {
    std::optional<double> EI, Bp;
};
PileSection pileSection(Section section, double b, double a, double d, double EcGrade, bool typedEI,
                        bool typedBp, Trace* trace) {
    return evaluate<Keep>(trace, "pileSection", [=]<typename Num>(Keep<Num> keep) {
        PileSection out;
        const bool round = section == Section::Round;
        const Num width = keep.input(round ? "d" : "b", round ? d : b);
        if (!typedEI) {
            const Num Ec = keep.input("Ec", EcGrade), thousand = keep.input("10³", 1000.0);
            const Num I =
                round ? keep("I", Num(3.141592653589793) * width * width * width * width / 64)
                      : keep("I", width * keep.input("a", a) * keep.input("a", a) *
                                      keep.input("a", a) / 12);
            // Ec in N/mm², 10³ of it in kPa
            out.EI = keep("EI", Num(0.85) * Ec * thousand * I).value();
        }
        if (!typedBp) {
            const bool narrow = width <= Num(1);
            out.Bp = (round    ? narrow ? keep("Bp", Num(0.9) * (Num(1.5) * width + Num(0.5)))
                                        : keep("Bp", Num(0.9) * (width + 1))
                         : narrow ? keep("Bp", Num(1.5) * width + Num(0.5))
                               : keep("Bp", width + 1))
                         .value();
        }
        return out;
    });
}

} // namespace

AntiSlidePile analyseAntiSlidePile(const Form& form, Trace* trace) {
    AntiSlidePile p;
    const double thrust = readWithin(form, in::thrust, kNonNegative);
    const double resistance = readWithin(form, in::Ep, kNonNegative);
    const double spacing = readWithin(form, in::s, kPositive);
    const double h1 = readWithin(form, in::h1, kPositive);
    const auto shape = Shape(form.readWith(in::shape, chosenFrom(kShapes)));
    const double ratio = shape == Shape::Trapezoid ? readWithin(form, in::ratio, kNonNegative) : 1;
    const auto section = Section(form.readWith(in::section, chosenFrom(kSections)));
    const bool round = section == Section::Round;
    const double b = round ? 0 : readWithin(form, in::b, kPositive);
    const double a = round ? 0 : readWithin(form, in::a, kPositive);
    const double d = round ? readWithin(form, in::d, kPositive) : 0;
    const auto grade =
        static_cast<std::size_t>(form.readWith(in::concrete, chosenFrom(kConcreteChoices)));
    const bool typedEI = !form.blank(in::EI), typedBp = !form.blank(in::Bp);
    const double EI = typedEI ? readWithin(form, in::EI, kPositive) : 0;
    const double Bp = typedBp ? readWithin(form, in::Bp, kPositive) : 0;
    const double h2 = readWithin(form, in::h2, kPositive);
    const auto method = FoundationMethod(form.readWith(in::method, chosenFrom(kMethods)));
    const std::vector<Stratum> strata = readStrata(form);
    const auto foot = PileFoot(form.readWith(in::foot, chosenFrom(kFeet)));
    const double width = round ? d : b;
    if (!(spacing >= width)) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, "桩间距应不小于桩宽"), in::s);
    }

    const PileLoad load = pileLoad(thrust, resistance, spacing, h1, shape, ratio, trace);
    if (!(load.E >= 0)) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, "桩前抗力大于滑坡推力：桩不受推力"),
                         in::Ep);
    }
    const PileSection made =
        pileSection(section, b, a, d, kConcreteGrades[grade].Ec, typedEI, typedBp, trace);
    p.load = load.E;
    p.model.EI = made.EI.value_or(EI);
    p.model.Bp = made.Bp.value_or(Bp);
    if (!(p.model.Bp <= spacing)) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, "桩的计算宽度不应大于桩间距"),
                         typedBp ? in::Bp : in::s);
    }
    p.model.h1 = h1, p.model.h2 = h2;
    p.model.qTop = load.top, p.model.qBottom = load.bottom;
    p.model.method = method, p.model.foot = foot;
    for (const Stratum& s : strata) {
        p.model.strata.push_back({s.thickness, s.value});
        p.allowable.push_back(s.allowable);
    }
    p.response.emplace(p.model);
    return p;
}

} // namespace subprogram
