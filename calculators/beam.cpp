#include "beam.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace subprogram {

namespace {

// Spans 1 … 99 and supports 1 … 100; index 0 is never used.
constexpr std::size_t kTableSize = 101;

constexpr double kSpanLength = 2.0;   // every span of the window is 2 m
constexpr double kKinkFraction = 0.2; // the load reaches q at a fifth of the length
constexpr double kMillimetresPerMetre = 1000;

// "2;3.5;4": one length per span.
std::vector<double> readLengths(std::string_view text) {
    std::vector<double> lengths;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            lengths.push_back(textToDouble(text.substr(start)));
            return lengths;
        }
        lengths.push_back(textToDouble(text.substr(start, end - start)));
        start = end + 1;
    }
}

struct Grade {
    std::string_view name;
    double Ec;
};
constexpr Grade kGrades[] = {{"C15", 22000}, {"C20", 25500}, {"C25", 28000},
                             {"C30", 30000}, {"C35", 31500}, {"C40", 32500}};

} // namespace

double modulusForGrade(std::string_view grade) {
    for (const Grade& g : kGrades) {
        if (g.name == grade) {
            return g.Ec;
        }
    }
    return 0;
}

double spanCount(std::string_view text) {
    const double count = textToDouble(text);
    if (count != std::floor(count)) {
        throw CalcError(ErrorKind::TypeMismatch);
    }
    return count < 1 ? 0 : count;
}

void combinedLoadFixedEndMoments(double a1, double a2, double a3, double a4, double& Mup,
                                 double& Mlow) {
    const Num L = Num(a1) + a2;
    const Num alpha = a1 / L;
    const Num c = a2;
    const Num d = a1 + Num(a2) / 2; // depth of the centre of the lower uniform load
    const Num e = Num(a2) / 2;      // from that centre to the lower end

    const Num T1 = Num(-1) / 12 * a3 * L * L;
    const Num T2 = -Num(a4) * a1 * a1 / 6 * (2 - 3 * alpha + 6 * alpha * alpha / 5);
    const Num T3 = -Num(a4) * c / 12 / L / L * (12 * d * e * e - 3 * e * c * c + c * c * L);
    const Num U1 = Num(1) / 12 * a3 * L * L;
    const Num U2 = Num(a1) * a4 * a1 * a1 / 4 / L * (1 - 4 * alpha / 5);
    const Num U3 = a4 * c / 12 / L / L * (12 * d * d * e + 3 * e * c * c - 2 * c * c * L);
    Mup = (T1 + T2 + T3).value();
    Mlow = (U1 + U2 + U3).value();
}

std::vector<SpanMoments> solveContinuousBeam(const std::vector<double>& lengths, double width,
                                             double depth, double load, double modulus,
                                             EndCondition upper, EndCondition lower, Trace* trace) {
    return evaluate<Keep>(trace, "solveContinuousBeam", [&]<typename Num>(Keep<Num> keep) {
        const Num b = keep.input("b", width), h = keep.input("h", depth);
        const Num q = keep.input("q", load), Ec = keep.input("Ec", modulus);
        const std::size_t n = lengths.size();
        if (n > kMaxSpans) {
            throw CalcError(ErrorKind::SubscriptOutOfRange);
        }
        // F(1,1), EI1: the names under which the tables' entries are traced
        const auto indexed = [](const char* name, std::size_t i, std::size_t j = 0) {
            return j ? std::string(name) + "(" + std::to_string(i) + "," + std::to_string(j) + ")"
                     : name + std::to_string(i);
        };
        const std::size_t m = n + 1;
        using Vector = std::array<Num, kTableSize>;
        Vector L{}, EI{}, k{}, R{};
        struct Ends {
            Num upper, lower;
        };
        std::array<Ends, kTableSize> F{}; // the fixed-end moments of each span
        // The stiffness matrix is symmetric and tridiagonal: its diagonal D[j] = K(j,j) and the
        // band above it U[j] = K(j,j+1) are all of it that elimination reads or changes.
        Vector D{}, U{};
        for (std::size_t i = 1; i <= n; ++i) {
            L[i] = lengths[i - 1];
            if (keep.trace()) {
                L[i] = keep.name(indexed("L", i), L[i]);
            }
        }

        Num H = 0;
        for (std::size_t i = 1; i <= n; ++i) {
            H = H + L[i];
        }
        const Num p = q / kKinkFraction / H;

        Num x = 0;
        for (std::size_t i = 1; i <= n; ++i) {
            x = x + L[i];
            if (x <= kKinkFraction * H) { // wholly above the kink: a trapezoidal load
                const Num a3 = (x - L[i]) * p;
                const Num a4 = x * p - a3;
                double up = 0;
                double low = 0;
                combinedLoadFixedEndMoments(L[i].value(), 0, a3.value(), a4.value(), up, low);
                F[i].upper = up;
                F[i].lower = low;
            } else { // reaching below the kink: the full q over the whole span
                F[i].upper = Num(-1) / 12 * q * L[i] * L[i];
                F[i].lower = Num(1) / 12 * q * L[i] * L[i];
            }
            EI[i] = Ec / 12 * b / kMillimetresPerMetre * h / kMillimetresPerMetre * h /
                    kMillimetresPerMetre * h / kMillimetresPerMetre;
            if (keep.trace()) { // named in the trace and in the formulas that use them
                F[i].upper = keep(indexed("F", i, 1), F[i].upper);
                F[i].lower = keep(indexed("F", i, 2), F[i].lower);
                EI[i] = keep(indexed("EI", i), EI[i]);
            }
        }
        for (std::size_t i = 1; i <= n; ++i) {
            k[i] = EI[i] / L[i];
            if (keep.trace()) {
                k[i] = keep(indexed("k", i), k[i]);
            }
        }

        R[1] = -F[1].upper;
        R[m] = -F[n].lower;
        for (std::size_t j = 2; j <= n; ++j) {
            R[j] = -F[j - 1].lower - F[j].upper;
        }
        D[1] = 4 * k[1];
        D[m] = 4 * k[n];
        for (std::size_t j = 2; j <= m; ++j) {
            U[j - 1] = 2 * k[j - 1];
        }
        for (std::size_t j = 2; j <= n; ++j) {
            D[j] = 4 * k[j - 1] + 4 * k[j];
        }
        if (upper == EndCondition::Fixed) { // θ1 = 0
            D[1] = 1;
            U[1] = 0;
            R[1] = 0;
        }
        if (lower == EndCondition::Fixed) { // θm = 0
            D[m] = 1;
            U[n] = 0;
            R[m] = 0;
        }

        // Gaussian elimination without pivoting, row by row down the band: each step does exactly
        // what eliminating the full matrix does to the values it changes (outside the band it only
        // subtracts zeros), so every value and every failure is the same, in linear time.
        for (std::size_t kk = 1; kk <= n; ++kk) {
            const Num f = U[kk] / D[kk];
            D[kk + 1] = D[kk + 1] - f * U[kk];
            R[kk + 1] = R[kk + 1] - f * R[kk];
        }
        R[m] = R[m] / D[m];
        for (std::size_t i = n; i >= 1; --i) {
            R[i] = R[i] - U[i] * R[i + 1];
            R[i] = R[i] / D[i];
        }
        if (keep.trace()) { // the rotations, solved for: named, with no formula
            for (std::size_t j = 1; j <= m; ++j) {
                R[j] = keep.solution(indexed("θ", j), R[j]);
            }
        }

        std::vector<SpanMoments> moments;
        moments.reserve(n);
        for (std::size_t i = 1; i <= n; ++i) {
            const Num upperEnd = (4 * k[i] * R[i] + 2 * k[i] * R[i + 1]) + F[i].upper;
            const Num lowerEnd = (2 * k[i] * R[i] + 4 * k[i] * R[i + 1]) + F[i].lower;
            moments.push_back({upperEnd.value(), lowerEnd.value()});
            if (keep.trace()) {
                keep(indexed("M", i, 1), upperEnd);
                keep(indexed("M", i, 2), lowerEnd);
            }
        }
        return moments;
    });
}

namespace {

// clang-format off
constexpr std::string_view kCounts[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
constexpr std::string_view kWidths[] = {"150", "180", "200", "220", "250", "280", "300"};
constexpr std::string_view kHeights[] = {"250", "300", "350", "400", "450", "500", "550", "600"};
constexpr std::string_view kGradeNames[] = {"C15", "C20", "C25", "C30", "C35", "C40"};
constexpr Choice kEnds[] = {{"铰支", "hinged", int(EndCondition::Hinged)},
                        {"嵌固", "fixed", int(EndCondition::Fixed)},
                        {"自由", "free", int(EndCondition::Free)}};

constexpr Field kFields[] = {
    {"n",       "Combo1", "跨数",       "2",    "",     "number of spans, 1 to 99",                      "n", Conversion::Count, {}, kCounts},
    {"b",       "Combo3", "梁宽(mm)",   "200",  "mm",   "section width",                                 "b", Conversion::Double, {}, kWidths},
    {"h",       "Combo4", "梁高(mm)",   "300",  "mm",   "section height",                                "h", Conversion::Double, {}, kHeights},
    {"q",       "Text2",  "荷载(KN/M)", "10",   "kN/m", "design load below the kink",                    "q"},
    {"upper",   "Combo5", "上端支座",   "铰支", "",     "upper end: 铰支|hinged, 嵌固|fixed, 自由|free", "",  Conversion::Word, {}, {}, kEnds, int(EndCondition::Free)},
    {"lower",   "Combo6", "下端支座",   "铰支", "",     "lower end: 铰支|hinged, 嵌固|fixed, 自由|free", "",  Conversion::Word, {}, {}, kEnds, int(EndCondition::Free)},
    {"grade",   "Combo2", "混凝土强度", "C20",  "",     "concrete grade C15 … C40",                      "",  Conversion::Word, {}, kGradeNames},
    {"lengths", "",       "各跨跨度",   "",     "m",    "span lengths separated by ';' (default: every span 2 m)", "L<sub>i</sub>", Conversion::Lengths},
};

// Each end's name, for one span and one end: prefix, span number, then the upper or lower word.
template <std::size_t Size> struct SpanEndNames {
    char text[2 * kMaxSpans][Size];
};
template <std::size_t Size>
constexpr SpanEndNames<Size> spanEndNames(std::string_view prefix, std::string_view upper,
                                          std::string_view lower) {
    SpanEndNames<Size> names{};
    for (int i = 0; i < 2 * kMaxSpans; ++i) {
        char* p = names.text[i];
        const auto put = [&p](std::string_view text) {
            for (const char c : text) {
                *p++ = c;
            }
        };
        const int span = i / 2 + 1;
        put(prefix);
        if (span >= 10) {
            *p++ = static_cast<char>('0' + span / 10);
        }
        *p++ = static_cast<char>('0' + span % 10);
        put(i % 2 ? lower : upper);
    }
    return names;
}
// The window shows one number, the upper-end moment of the last span; beyond the window, the
// command line gives every span's moments: M1_upper, M1_lower, … M99_lower, one pair for each
// span a member can have.
constexpr auto kMomentNames = spanEndNames<sizeof "M99_upper">("M", "_upper", "_lower");
// Their names for the reader: 第1跨上端弯矩 … 第99跨下端弯矩.
constexpr auto kMomentCaptions =
    spanEndNames<sizeof "第99跨上端弯矩">("第", "跨上端弯矩", "跨下端弯矩");
constexpr auto kResults = [] {
    std::array<Result, 1 + 2 * kMaxSpans> results{};
    results[0] = {"Text3", "", "", "M<sub>n,1</sub>", "kN·m", "", "末跨上端弯矩"};
    for (std::size_t i = 0; i < 2 * kMaxSpans; ++i) {
        results[1 + i] = {"", kMomentNames.text[i], "", "", "kN·m", "0", kMomentCaptions.text[i]};
    }
    return results;
}();

const std::string_view kNotes[] = {
    "荷载：自上端由 0 线性增至 0.2H 处的 q，其下为 q；跨越折点的跨按全跨均布 q 计",
    "转角方程：2k<sub>i−1</sub>θ<sub>i−1</sub> + (4k<sub>i−1</sub> + 4k<sub>i</sub>)θ<sub>i</sub> + 2k<sub>i</sub>θ<sub>i+1</sub> = −F<sub>i−1,2</sub> − F<sub>i,1</sub>；嵌固端 θ = 0；"
    "各支座转角 θ<sub>i</sub> 由此解得，见中间值",
};
// clang-format on

// The fields and results by name, for the calculation.
namespace in {
constexpr FieldId n = fieldNamed(kFields, "n"), b = fieldNamed(kFields, "b"),
                  h = fieldNamed(kFields, "h"), q = fieldNamed(kFields, "q"),
                  upper = fieldNamed(kFields, "upper"), lower = fieldNamed(kFields, "lower"),
                  grade = fieldNamed(kFields, "grade"), lengths = fieldNamed(kFields, "lengths");
} // namespace in
namespace out {
constexpr ResultId lastUpper = resultNamed(kResults, "Text3");
// The moment at the upper (end 0) or lower (end 1) end of span i, from 0.
constexpr ResultId moment(std::size_t i, std::size_t end) {
    return {static_cast<std::uint16_t>(1 + 2 * i + end)};
}
static_assert(moment(0, 0) == resultNamed(kResults, "M1_upper") &&
              moment(kMaxSpans - 1, 1) == resultNamed(kResults, "M99_lower"));
} // namespace out

} // namespace

void calculateBeam(Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const double n = form.readWith(in::n, spanCount);
    // beyond the window: one length per span, in the place of 2 m for every span
    std::vector<double> spans;
    const bool lengthsGiven = form.holds(in::lengths) && !form.text(in::lengths).empty();
    if (lengthsGiven) {
        spans = form.readWith(in::lengths, readLengths);
        if (static_cast<double>(spans.size()) != n) {
            throw FieldError(CalcError(ErrorKind::InvalidArgument), in::lengths);
        }
    }
    const auto upper = EndCondition(form.choice(in::upper));
    const auto lower = EndCondition(form.choice(in::lower));
    const double Ec = modulusForGrade(form.text(in::grade));
    const double b = form.readDouble(in::b);
    const double h = form.readDouble(in::h);
    const double q = form.readDouble(in::q);
    // the solver's first step, after every field is read: its tables hold 99 spans
    if (n > kMaxSpans) {
        throw FieldError(CalcError(ErrorKind::SubscriptOutOfRange), in::n);
    }
    if (!lengthsGiven) {
        spans.assign(static_cast<std::size_t>(n), kSpanLength);
    }
    const auto moments = solveContinuousBeam(spans, b, h, q, Ec, upper, lower, trace);
    for (std::size_t i = 0; i < moments.size(); ++i) {
        form.setDouble(out::lastUpper, moments[i].upper);
        form.setDouble(out::moment(i, 0), moments[i].upper);
        form.setDouble(out::moment(i, 1), moments[i].lower);
    }
}

namespace {

const Step kSolveStep{"solveContinuousBeam", "连续梁转角位移法求解", kNotes};
const Step* const kSteps[] = {&kSolveStep};
const Variant kOnly[] = {{0, "", "", kSteps}};

std::string spansOf(const Form& form) {
    const std::string lengths = form.holds(in::lengths) ? form.text(in::lengths) : std::string();
    return lengths.empty() ? "每跨 2.0 m" : "各跨跨度 " + lengths + " m";
}

} // namespace

const Calculator kBeam{
    .command = "beam",
    .english = "continuous member under earth pressure",
    .window = "beamfrm",
    .title = "连续梁计算",
    .introduction = "土压力作用下连续构件各跨两端的弯矩，两端支座可为铰支、嵌固或自由。",
    .reachedBy =
        "启动窗口上没有它的按钮：打开一份保存的连续梁计算文件（.slope）即进入连续梁计算窗口，"
        "也可用 slopecalc beam 在命令行计算。",
    .fields = kFields,
    .results = kResults,
    .variants = kOnly,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate = [](int, Form& form, Trace* trace) { calculateBeam(form, trace); },
    .resultsHelp = "M<i>_upper M<i>_lower for every span i, in kN·m\n"
                   "an end condition other than the six words is taken as free, as in the window",
    .describe =
        [](const Variant&, const Form& form) {
            return "上端" + form.text(in::upper) + "，下端" + form.text(in::lower) + "，" +
                   spansOf(form);
        },
    .sketch =
        [](int, const Form& form, const CalculationRecord&, Sketch& sketch) {
            try {
                drawBeamSketch(form.text(in::n), EndCondition(form.choice(in::upper)),
                               EndCondition(form.choice(in::lower)), false, sketch);
            } catch (const CalcError&) {
                return std::string("跨数无法读取或超过 99，未绘出示意图。");
            }
            return std::string();
        },
    // the count follows the list of lengths when it is not given
    .completeParameters =
        [](std::span<std::string> texts, const std::vector<bool>& given) {
            const std::string& lengths = texts[in::lengths.index];
            if (!given[in::n.index] && !lengths.empty()) {
                texts[in::n.index] =
                    std::to_string(std::count(lengths.begin(), lengths.end(), ';') + 1);
            }
        },
};

} // namespace subprogram
