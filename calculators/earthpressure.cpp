#include "earthpressure.h"

#include "calculators/angles.h"
#include "calculators/earthsketch.h"

#include <cmath>

namespace subprogram {

ActivePressure coulombActive(double height, double unitWeight, double friction, double cohesion,
                             double surcharge, double wallFriction, double /*theta*/, double slope,
                             double backInclination, Trace* trace) {
    return evaluate<Keep>(trace, "coulombActive", [=]<typename Num>(Keep<Num> keep) {
        const Num H = keep.input("H", height), gamma = keep.input("γ", unitWeight);
        const Num phi = keep.input("φ", friction), c = keep.input("c", cohesion);
        const Num q = keep.input("q", surcharge), delta = keep.input("δ", wallFriction);
        const Num beta = keep.input("β", slope), alpha = keep.input("α", backInclination);

        const Num a = radians(alpha);
        const Num b = radians(beta);
        const Num d = radians(delta);
        const Num f = radians(phi);

        const Num s1 = b + a;
        const Num s2 = a - d;
        const Num w = b + a - f - d;
        const Num s3 = d + f;
        const Num s4 = f - b;

        const Num numerator = (q + q) * sin(a) * cos(b);
        const Num denominator = H * gamma * sin(s1);
        const Num Kq = keep("Kq", numerator / denominator + 1);
        const Num eta = keep("η", (c + c) / gamma / H);
        const Num T = keep("T", sin(s1) * sin(s2) + sin(s4) * sin(s3));
        const Num A = keep("A", Kq * T + eta * 2 * sin(a) * cos(f) * cos(w));
        const Num B1 = keep("B1", Kq * sin(s1) * sin(s4) + eta * sin(a) * cos(f));
        const Num B2 = keep("B2", Kq * sin(s2) * sin(s3) + eta * sin(a) * cos(f));
        const Num S = keep("S", sqrt(B1 * B2));
        const Num F = keep("F", sin(s1) / (sin(a) * sin(a) * sin(w) * sin(w)));
        const Num Ka = keep("Ka", F * (A - (S + S)));
        const Num Ea = keep("Ea", H * gamma * H * Ka / 2);
        return ActivePressure{Ka.value(), Ea.value()};
    });
}

} // namespace subprogram

namespace subprogram {

AtRestPressure atRestEarthPressure(double friction, double surcharge, double unitWeight,
                                   double height, Trace* trace) {
    return evaluate<Keep>(trace, "atRestEarthPressure", [=]<typename Num>(Keep<Num> keep) {
        const Num phi = keep.input("φ", friction), q = keep.input("q", surcharge);
        const Num gamma = keep.input("γ", unitWeight), H = keep.input("H", height);
        const Num f = keep("φr", radians(phi));
        const Num K0 = keep("K0", 1 - sin(f));
        const Num E0 = keep("E0", (gamma * H + q) * K0);
        return AtRestPressure{K0.value(), E0.value()};
    });
}

AtRestResultant atRestResultant(double coefficient, double surcharge, double unitWeight,
                                double height, Trace* trace) {
    return evaluate<Keep>(trace, "atRestResultant", [=]<typename Num>(Keep<Num> keep) {
        const Num K0 = keep.input("K0", coefficient), q = keep.input("q", surcharge);
        const Num gamma = keep.input("γ", unitWeight), H = keep.input("H", height);
        const Num Pg = keep("P0γ", K0 * gamma * H * H / 2); // the soil's triangle
        const Num Pq = keep("P0q", K0 * q * H);             // the surcharge's rectangle
        const Num P0 = keep("P0", Pg + Pq);
        const Num z0 = keep("z0", (Pg * (H / 3) + Pq * (H / 2)) / P0);
        return AtRestResultant{P0.value(), z0.value()};
    });
}

// The rock face, not a slip surface in the soil, bounds the wedge: θ is the face's inclination
// and δr, the friction between face and fill, takes the place of φ. q takes no part.
ActivePressure limitedFillEarthPressure(double height, double unitWeight, double faceFriction,
                                        double cohesion, double /*q*/, double wallFriction,
                                        double faceInclination, double slope,
                                        double backInclination, Trace* trace) {
    return evaluate<Keep>(trace, "limitedFillEarthPressure", [=]<typename Num>(Keep<Num> keep) {
        const Num H = keep.input("H", height), gamma = keep.input("γ", unitWeight);
        const Num deltaR = keep.input("δr", faceFriction), c = keep.input("c", cohesion);
        const Num delta = keep.input("δ", wallFriction), theta = keep.input("θ", faceInclination);
        const Num beta = keep.input("β", slope), alpha = keep.input("α", backInclination);

        const Num a = radians(alpha);
        const Num b = radians(beta);
        const Num d = radians(delta);
        const Num dr = radians(deltaR);
        const Num t = radians(theta);

        const Num s1 = b + a;
        const Num s2 = a - d + t - dr;
        const Num s3 = t - b;
        const Num s4 = t + a;
        const Num s5 = t - dr;

        const Num A = keep("A", sin(s1) / sin(s2) / sin(s3));
        const Num B = keep("B", sin(s4) * sin(s5) / sin(a) / sin(a));
        const Num eta = keep("η", (c + c) / gamma / H);
        const Num C = keep("C", eta * cos(dr) / sin(a));
        const Num Ka = keep("Ka", A * (B - C));
        const Num Ea = keep("Ea", H * gamma * H * Ka / 2);
        return ActivePressure{Ka.value(), Ea.value()};
    });
}

} // namespace subprogram

namespace subprogram {

namespace {

// clang-format off
constexpr Field kFields[] = {
    {"H",       "hx",   "挡土墙高度H(米):",          "5",   "m",     "height of the wall",                        "H"},
    {"gamma",   "Yx",   "土体重度Y(KN/M3):",         "18",  "kN/m³", "unit weight of the soil",                   "γ"},
    {"phi",     "Fix",  "土的内摩擦角Fi(度):",        "30",  "°",     "internal friction angle (not read by limited-fill)", "φ"},
    {"q",       "Qx",   "地表均布荷载标准值q(KPa):",   "1.5", "kPa",   "uniform load on the ground surface",        "q"},
    {"c",       "Cx",   "土的粘聚力c(KPa):",          "0",   "kPa",   "cohesion of the soil",                      "c"},
    {"delta",   "STx",  "土对挡土墙墙背的摩擦角ST:",   "0",   "°",     "friction angle between soil and wall back", "δ"},
    {"beta",    "Bx",   "填土表面与水平面的夹角B:",    "0",   "°",     "angle between fill surface and horizontal", "β"},
    {"alpha",   "ax",   "墙背与水平面的夹角a:",        "90",  "°",     "angle between wall back and horizontal",    "α"},
    {"theta",   "SSx",  "滑裂面与水平面的夹角ss:",     "45",  "°",     "slip surface angle; rock face inclination for limited-fill", "θ",
     Conversion::Double, "滑裂面与水平面的夹角 / 稳定岩石坡面的倾角"},
    {"delta_r", "strx", "稳定岩石坡面与填土间的摩擦角str", "12", "°",   "friction between rock face and fill (limited-fill only)", "δ<sub>r</sub>"},
};

constexpr Result kResults[] = {
    {"Kax",  "Ka", "主动土压力系数Ka:",    "K<sub>a</sub>", ""},
    {"Eax",  "Ea", "主动土压力标准值Ea:",  "E<sub>a</sub>", "kN/m"},
    {"K0ix", "K0", "静止土压力系数K0i:",   "K<sub>0</sub>", ""},
    {"E0ix", "E0", "静止土压力标准值E0i:", "E<sub>0</sub>", "kPa"},
    // beyond the window's results: the at-rest resultant per metre of wall, and where it acts
    {"",     "Ea_compressed", "", "E<sub>a,压</sub>", "kN/m", "0", "主动土压力（不计拉力区）", false, true},
    {"",     "P0", "", "P<sub>0</sub>", "kN/m", "0", "静止土压力合力（每延米）", false, true},
    {"",     "z0", "", "z<sub>0</sub>", "m",    "0", "合力作用点距墙底高度", false, true},
};

// clang-format on

// The fields and results by name, for the calculation.
namespace in {
constexpr FieldId H = fieldNamed(kFields, "H"), gamma = fieldNamed(kFields, "gamma"),
                  phi = fieldNamed(kFields, "phi"), q = fieldNamed(kFields, "q"),
                  c = fieldNamed(kFields, "c"), delta = fieldNamed(kFields, "delta"),
                  beta = fieldNamed(kFields, "beta"), alpha = fieldNamed(kFields, "alpha"),
                  theta = fieldNamed(kFields, "theta"), deltaR = fieldNamed(kFields, "delta_r");
} // namespace in
namespace out {
constexpr ResultId Ka = resultNamed(kResults, "Ka"), Ea = resultNamed(kResults, "Ea"),
                   K0 = resultNamed(kResults, "K0"), E0 = resultNamed(kResults, "E0"),
                   P0 = resultNamed(kResults, "P0"), z0 = resultNamed(kResults, "z0"),
                   EaCompressed = resultNamed(kResults, "Ea_compressed");
} // namespace out

} // namespace

namespace {

// The inputs of a mode as its calculation, its sketch and its pressure diagram take them, read
// through this one routine in the calculation's order. Only the mode's own fields are read: the
// limited fill takes the rock face's friction δr in the place of φ (φ is not read), and at rest
// the wall stands upright behind level ground (α, β, θ, δ and c are not read).
struct EarthInputs {
    double alpha = 90, beta = 0, theta = 45, delta = 0, q = 0, c = 0;
    double phiOrDeltaR = 0, gamma = 0, H = 0;
};

EarthInputs readEarth(EarthPressureMode mode, const Form& form) {
    EarthInputs e;
    if (mode == EarthPressureMode::AtRest) {
        e.H = form.readDouble(in::H);
        e.gamma = form.readDouble(in::gamma);
        e.q = form.readDouble(in::q);
        e.phiOrDeltaR = form.readDouble(in::phi);
        return e;
    }
    e.alpha = form.readDouble(in::alpha);
    e.beta = form.readDouble(in::beta);
    e.theta = form.readDouble(in::theta);
    e.delta = form.readDouble(in::delta);
    e.q = form.readDouble(in::q);
    e.c = form.readDouble(in::c);
    e.phiOrDeltaR = form.readDouble(mode == EarthPressureMode::LimitedFill ? in::deltaR : in::phi);
    e.gamma = form.readDouble(in::gamma);
    e.H = form.readDouble(in::H);
    return e;
}

// The law of the active pressure a mode calculated, over which the diagram is drawn.
PressureLaw activeLaw(EarthPressureMode mode, const EarthInputs& e) {
    return mode == EarthPressureMode::LimitedFill
               ? PressureLaw::limitedFill(e.gamma, e.phiOrDeltaR, e.c, e.delta, e.theta, e.beta,
                                          e.alpha)
               : PressureLaw::coulomb(e.gamma, e.phiOrDeltaR, e.c, e.q, e.delta, e.beta, e.alpha);
}

// Ea with the tension zone ignored: the compressed part of the diagram whose net area is Ea.
double compressedEa(EarthPressureMode mode, const EarthInputs& e, double Ea) {
    return compressedResultant(activeLaw(mode, e), e.H, Ea);
}

} // namespace

void calculateEarthPressure(EarthPressureMode mode, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const EarthInputs e = readEarth(mode, form);
    switch (mode) {
    case EarthPressureMode::Coulomb: {
        const ActivePressure r = coulombActive(e.H, e.gamma, e.phiOrDeltaR, e.c, e.q, e.delta,
                                               e.theta, e.beta, e.alpha, trace);
        form.setDouble(out::Ka, r.Ka);
        form.setDouble(out::Ea, r.Ea);
        formBeyond([&] { form.setDouble(out::EaCompressed, compressedEa(mode, e, r.Ea)); });
        break;
    }
    case EarthPressureMode::LimitedFill: {
        const ActivePressure r = limitedFillEarthPressure(e.H, e.gamma, e.phiOrDeltaR, e.c, e.q,
                                                          e.delta, e.theta, e.beta, e.alpha, trace);
        form.setDouble(out::Ka, r.Ka);
        form.setDouble(out::Ea, r.Ea);
        formBeyond([&] { form.setDouble(out::EaCompressed, compressedEa(mode, e, r.Ea)); });
        break;
    }
    case EarthPressureMode::AtRest: {
        const AtRestPressure r = atRestEarthPressure(e.phiOrDeltaR, e.q, e.gamma, e.H, trace);
        form.setDouble(out::K0, r.K0);
        form.setDouble(out::E0, r.E0);
        formBeyond([&] {
            const AtRestResultant p = atRestResultant(r.K0, e.q, e.gamma, e.H, trace);
            form.setDouble(out::P0, p.P0);
            form.setDouble(out::z0, p.z0);
        });
        break;
    }
    }
}

namespace {

constexpr ValueUnit kAtRestUnits[] = {{"E0", "kPa"}};
const Step kAtRestStep{"atRestEarthPressure", "静止土压力", {}, kAtRestUnits};
const std::string_view kAtRestResultantNotes[] = {
    "E<sub>0</sub> 为墙底处的静止土压力强度（kPa）；P<sub>0</sub> 为其沿墙高的合力（kN/m），"
    "作用于压力图形的形心，距墙底 z<sub>0</sub>",
};
constexpr ValueUnit kResultantUnits[] = {
    {"P0γ", "kN/m"}, {"P0q", "kN/m"}, {"P0", "kN/m"}, {"z0", "m"}};
const Step kAtRestResultantStep{"atRestResultant", "静止土压力合力", kAtRestResultantNotes,
                                kResultantUnits};
constexpr ValueUnit kActiveUnits[] = {{"Ea", "kN/m"}};
const Step kLimitedFillStep{"limitedFillEarthPressure", "有限范围填土主动土压力", {}, kActiveUnits};

const Step* const kCoulombSteps[] = {&kCoulombStep};
const Step* const kAtRestSteps[] = {&kAtRestStep, &kAtRestResultantStep};
const Step* const kLimitedFillSteps[] = {&kLimitedFillStep};
// read by limited fill, where the rock face bounds the wedge and q takes no part
constexpr FieldId kSurchargeOnly[] = {in::q};
const ResultId kActiveResults[] = {out::Ka, out::Ea, out::EaCompressed};
const ResultId kAtRestResults[] = {out::K0, out::E0, out::P0, out::z0};

const Variant kModes[] = {
    {int(EarthPressureMode::Coulomb), "coulomb", "库仑主动土压力", kCoulombSteps, kActiveResults},
    {int(EarthPressureMode::AtRest), "at-rest", "静止土压力", kAtRestSteps, kAtRestResults},
    {int(EarthPressureMode::LimitedFill),
     "limited-fill",
     "有限范围填土主动土压力",
     kLimitedFillSteps,
     kActiveResults,
     {},
     {},
     {},
     kSurchargeOnly},
};

} // namespace

const Step kCoulombStep{"coulombActive", "库仑主动土压力", {}, kActiveUnits};

namespace {

// The distribution of the pressure a mode calculated, from the fields it read.
std::optional<PressureSetting> earthPressureDistribution(int mode, const Form& form,
                                                         const Written& written) {
    try {
        const EarthInputs e = readEarth(EarthPressureMode(mode), form);
        switch (EarthPressureMode(mode)) {
        case EarthPressureMode::Coulomb:
            return PressureSetting{
                PressureLaw::coulomb(e.gamma, e.phiOrDeltaR, e.c, e.q, e.delta, e.beta, e.alpha),
                e.H,
                {"Ea", written.result(out::Ea), {}}};
        case EarthPressureMode::LimitedFill:
            return PressureSetting{PressureLaw::limitedFill(e.gamma, e.phiOrDeltaR, e.c, e.delta,
                                                            e.theta, e.beta, e.alpha),
                                   e.H,
                                   {"Ea", written.result(out::Ea), {}}};
        case EarthPressureMode::AtRest:
            return PressureSetting{PressureLaw::atRest(e.phiOrDeltaR, e.q, e.gamma),
                                   e.H,
                                   {"P0", written.result(out::P0), {}}};
        }
    } catch (const CalcError&) {
    }
    return std::nullopt;
}

} // namespace

const Calculator kEarthPressure{
    .command = "earth-pressure",
    .english = "earth pressure on a retaining wall (--mode coulomb|at-rest|limited-fill)",
    .window = "solidstress",
    .title = "土压力计算",
    .introduction =
        "库仑主动土压力（考虑黏聚力、地面超载、填土面坡角、墙背倾角和墙背摩擦角）的系数 Ka 与合力 "
        "Ea；静止土压力系数 K0 与墙底处的静止土压力强度 E0；墙后有稳定岩坡时有限范围填土的主动"
        "土压力。计算后窗口右侧绘出土压力沿墙高的分布图（单击放大），其面积等于所算合力，"
        "粘性土的拉力区以阴影画出并计入合力。",
    .reachedBy =
        "启动窗口的“土压力计算”“静止土压力计算”“有限范围填土土压力计算”三个按钮打开同一窗口的"
        "三种模式。",
    .fields = kFields,
    .results = kResults,
    .variants = kModes,
    .defaultVariant = int(EarthPressureMode::Coulomb),
    .variantOption = "--mode",
    .calculate = [](int mode, Form& form,
                    Trace* trace) { calculateEarthPressure(EarthPressureMode(mode), form, trace); },
    .resultsHelp = "Ka Ea Ea_compressed (coulomb, limited-fill), K0 E0 P0 z0 (at-rest)",
    .sketch = [](int mode, const Form& form, const CalculationRecord&,
                 Sketch& sketch) -> std::string {
        try {
            const EarthInputs e = readEarth(EarthPressureMode(mode), form);
            return drawEarthSituation({e.H, e.alpha, e.beta, e.theta, e.q,
                                       EarthPressureMode(mode) == EarthPressureMode::LimitedFill},
                                      sketch);
        } catch (const CalcError&) {
            return "有输入无法读取，未绘出示意图。";
        }
    },
    .pressure = earthPressureDistribution,
};

} // namespace subprogram
