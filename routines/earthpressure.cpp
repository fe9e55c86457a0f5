#include "earthpressure.h"

#include "angles.h"
#include "shell/form.h"

namespace subprogram {

ActivePressure coulombActive(double H, double gamma, double phi, double c, double q, double delta,
                             double /*theta*/, double beta, double alpha, Trace* trace) {
    beginStep(trace, "coulombActive");
    const Keep keep(trace);
    const Num a = radians(alpha);
    const Num b = radians(beta);
    const Num d = radians(delta);
    const Num f = radians(phi);

    const Num s1 = b + a;
    const Num s2 = a - d;
    const Num w = b + a - f - d;
    const Num s3 = d + f;
    const Num s4 = f - b;

    const Num numerator = (Num(q) + q) * sin(a) * cos(b);
    const Num denominator = Num(H) * gamma * sin(s1);
    const Num Kq = keep("Kq", numerator / denominator + 1);
    const Num eta = keep("η", (Num(c) + c) / gamma / H);
    const Num T = keep("T", sin(s1) * sin(s2) + sin(s4) * sin(s3));
    const Num A = keep("A", Kq * T + eta * 2 * sin(a) * cos(f) * cos(w));
    const Num B1 = keep("B1", Kq * sin(s1) * sin(s4) + eta * sin(a) * cos(f));
    const Num B2 = keep("B2", Kq * sin(s2) * sin(s3) + eta * sin(a) * cos(f));
    const Num S = keep("S", sqrt(B1 * B2));
    const Num F = keep("F", sin(s1) / (sin(a) * sin(a) * sin(w) * sin(w)));
    const Num Ka = keep("Ka", F * (A - (S + S)));
    const Num Ea = keep("Ea", Num(H) * gamma * H * Ka / 2);
    return {Ka.value(), Ea.value()};
}

} // namespace subprogram

namespace subprogram {

AtRestPressure atRestEarthPressure(double phi, double q, double gamma, double H, Trace* trace) {
    beginStep(trace, "atRestEarthPressure");
    const Keep keep(trace);
    const Num f = keep("φr", radians(phi));
    const Num K0 = keep("K0", 1 - sin(f));
    const Num E0 = keep("E0", (Num(gamma) * H + q) * K0);
    return {K0.value(), E0.value()};
}

// The rock face, not a slip surface in the soil, bounds the wedge: θ is the face's inclination
// and δr, the friction between face and fill, takes the place of φ. q takes no part.
ActivePressure limitedFillEarthPressure(double H, double gamma, double deltaR, double c,
                                        double /*q*/, double delta, double theta, double beta,
                                        double alpha, Trace* trace) {
    beginStep(trace, "limitedFillEarthPressure");
    const Keep keep(trace);
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
    const Num eta = keep("η", (Num(c) + c) / gamma / H);
    const Num C = keep("C", eta * cos(dr) / sin(a));
    const Num Ka = keep("Ka", A * (B - C));
    const Num Ea = keep("Ea", Num(H) * gamma * H * Ka / 2);
    return {Ka.value(), Ea.value()};
}

} // namespace subprogram

namespace subprogram {

void calculateEarthPressure(std::int16_t mode, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    switch (static_cast<EarthPressureMode>(mode)) {
    case EarthPressureMode::Coulomb:
    case EarthPressureMode::LimitedFill: {
        const bool limitedFill = mode == static_cast<std::int16_t>(EarthPressureMode::LimitedFill);
        const double alpha = form.readDouble("ax");
        const double beta = form.readDouble("Bx");
        const double theta = form.readDouble("SSx");
        const double delta = form.readDouble("STx");
        const double q = form.readDouble("Qx");
        const double c = form.readDouble("Cx");
        // the limited fill takes the rock face's friction δr in the place of φ; Fix is not read
        const double phiOrDeltaR = form.readDouble(limitedFill ? "strx" : "Fix");
        const double gamma = form.readDouble("Yx");
        const double H = form.readDouble("hx");
        const ActivePressure r =
            limitedFill
                ? limitedFillEarthPressure(H, gamma, phiOrDeltaR, c, q, delta, theta, beta, alpha,
                                           trace)
                : coulombActive(H, gamma, phiOrDeltaR, c, q, delta, theta, beta, alpha, trace);
        form.setText("Kax", doubleToText(r.Ka));
        form.setText("Eax", doubleToText(r.Ea));
        break;
    }
    case EarthPressureMode::AtRest: {
        const double H = form.readDouble("hx");
        const double gamma = form.readDouble("Yx");
        const double q = form.readDouble("Qx");
        const double phi = form.readDouble("Fix");
        const AtRestPressure r = atRestEarthPressure(phi, q, gamma, H, trace);
        form.setText("K0ix", doubleToText(r.K0));
        form.setText("E0ix", doubleToText(r.E0));
        break;
    }
    }
}

} // namespace subprogram
