#include "anchorbar.h"

#include "angles.h"
#include "shell/form.h"

namespace subprogram {

namespace {

// Working-condition coefficients of a permanent and of a temporary anchor.
struct Coefficients {
    double xi1; // bond between anchor body and rock
    double xi2; // tensile strength of the bars
    double xi3; // bond between bars and grout
};

constexpr Coefficients kPermanent{1, 0.69, 0.6};
constexpr Coefficients kTemporary{1.33, 0.92, 0.72};

constexpr double kLoadFactor = 1.25; // standard to design axial tension
constexpr double kMillimetresPerMetre = 1000;
constexpr std::int16_t kBars = 3; // the window designs a bundle of three bars

} // namespace

AnchorBar anchorBarDesign(std::int16_t n, double D, double Htk, double a, double fy, bool permanent,
                          double gamma0, double frb, double fb, double d, Trace* trace) {
    beginStep(trace, "anchorBarDesign");
    const Keep keep(trace);
    const Coefficients xi = permanent ? kPermanent : kTemporary;
    keep("ξ1", xi.xi1);
    keep("ξ2", xi.xi2);
    keep("ξ3", xi.xi3);
    const Num Nak = keep("Nak", Num(Htk) / cos(radians(a)));
    const Num Na = keep("Na", Nak * kLoadFactor);
    const Num As = keep("As", Na * gamma0 / xi.xi2 / fy);
    const Num la = keep("la", Nak / xi.xi1 / kPiDecimal / (Num(D) / kMillimetresPerMetre) / frb);
    const Num lb =
        keep("lb", Na * gamma0 / xi.xi3 / n / kPiDecimal / (Num(d) / kMillimetresPerMetre) / fb);
    return {As.value(), la.value(), lb.value(), Na.value()};
}

} // namespace subprogram

namespace subprogram {

void calculateAnchorBar(bool permanent, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const double a = form.readDouble("Text1");
    const double Htk = form.readDouble("Text2");
    const double fy = form.readDouble("Text3");
    const double gamma0 = form.readDouble("Text4");
    const double frb = form.readDouble("Text9");
    const double D = form.readDouble("Text10");
    const double d = form.readDouble("Text11");
    const double fb = form.readDouble("Text12");
    const AnchorBar r = anchorBarDesign(kBars, D, Htk, a, fy, permanent, gamma0, frb, fb, d, trace);
    form.setText("Text5", doubleToText(r.Na));
    form.setText("Text6", doubleToText(r.As));
    form.setText("Text7", doubleToText(r.la));
    form.setText("Text8", doubleToText(r.lb));
}

} // namespace subprogram
