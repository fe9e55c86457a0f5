#include "anchorbar.h"

#include "angles.h"

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

} // namespace

AnchorBar anchorBarDesign(std::int16_t n, double D, double Htk, double a, double fy, bool permanent,
                          double gamma0, double frb, double fb, double d) {
    const Coefficients xi = permanent ? kPermanent : kTemporary;
    const Num Nak = Num(Htk) / cos(radians(a));
    const Num Na = Nak * kLoadFactor;
    const Num As = Na * gamma0 / xi.xi2 / fy;
    const Num la = Nak / xi.xi1 / kPiDecimal / (Num(D) / kMillimetresPerMetre) / frb;
    const Num lb = Na * gamma0 / xi.xi3 / n / kPiDecimal / (Num(d) / kMillimetresPerMetre) / fb;
    return {As.value(), la.value(), lb.value(), Na.value()};
}

} // namespace subprogram
