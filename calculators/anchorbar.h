#pragma once

#include "calculators/calculator.h"

#include <cstdint>

// Design of one grouted rock anchor whose tendon is a bundle of n bars.
namespace subprogram {

struct AnchorBar {
    double As; // required cross-section of the bars (Na·γ0 over ξ2·fy), mm²
    double la; // anchorage length for the bond between anchor body and rock, m
    double lb; // anchorage length for the bond between bars and grout, m
    double Na; // design value of the axial tension, kN
};

// D and d in mm, Htk in kN, a in degrees, fy in N/mm², frb and fb in kPa. The diameters are
// turned into metres where the two anchorage lengths divide by them, so that la and lb come out
// in metres as the window's captions say; As, formed in kN per N/mm², is turned into mm² as its
// last step (× 1000), so that it reads as its caption says. Na takes no unit conversion.
AnchorBar anchorBarDesign(std::int16_t n, double D, double Htk, double a, double fy, bool permanent,
                          double gamma0, double frb, double fb, double d, Trace* trace = nullptr);

// The section n bars of diameter d (mm) provide, n·π·d²/4 in mm², π as 3.1415926.
double barSection(std::int16_t n, double d, Trace* trace = nullptr);

enum class AnchorKind { Permanent, Temporary };

// The two kinds as the window's labels and the report name them.
inline constexpr std::string_view kPermanentAnchor = "永久性锚杆";
inline constexpr std::string_view kTemporaryAnchor = "临时性锚杆";

// The anchor window's calculation: reads Text1 (a), Text2 (Htk), Text3 (fy), Text4 (γ0),
// Text9 (frb), Text10 (D), Text11 (d), Text12 (fb) in that order, designs a bundle of three bars,
// and writes Na, As, la, lb into Text5 … Text8, then the section of the three bars into Text13,
// which the verdict As_ok holds against As.
void calculateAnchorBar(AnchorKind kind, Form& form, Trace* trace = nullptr);

extern const Calculator kAnchorBar;

} // namespace subprogram
