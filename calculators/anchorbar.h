#pragma once

#include "calculators/calculator.h"
#include "calculators/slopegrade.h"

#include <cstdint>

// Design of one grouted rock anchor whose tendon is a bundle of n bars.
namespace subprogram {

struct AnchorBar {
    double As;  // required cross-section of the bars (Na·γ0 over ξ2·fy), mm²
    double la;  // anchorage length for the bond between anchor body and rock, m
    double lb;  // anchorage length for the bond between bars and grout, m
    double Na;  // design value of the axial tension, kN
    double Nak; // standard value of the axial tension, Htk along the anchor, kN
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

// The design method: the working-condition factors ξ1–ξ3 with Na = 1.25·Nak, which the program
// has always used; or the safety factors of GB 50330-2013 第8.2.2～8.2.4条 on Nak.
enum class AnchorEdition { WorkingConditions, Gb50330_2013 };

// GB 50330-2013's safety factors of an anchor: Kb on the tendon's tension (表8.2.2) and K on the
// anchorage (表8.2.3-1, which 第8.2.4条 also takes for the bond between bars and grout).
struct AnchorSafetyFactors {
    double Kb, K;
};
AnchorSafetyFactors anchorSafetyFactors(SlopeGrade grade, AnchorKind kind);

// By GB 50330-2013: As = Kb·Nak ÷ fy, la = K·Nak ÷ (π·D·frbk), lb = K·Nak ÷ (n·π·d·fb), with
// Nak = Htk ÷ cos a; units as anchorBarDesign's. Na = 1.25·Nak is formed as the window has
// always shown it, and takes no part.
AnchorBar anchorBarDesign2013(std::int16_t n, double D, double Htk, double a, double fy,
                              AnchorSafetyFactors factors, double frbk, double fb, double d,
                              Trace* trace = nullptr);

// What an anchor is bonded in, whose bonded length GB 50330-2013 第8.4.1条 bounds apart: a rock
// anchor's at least 3 m and not above the lesser of 45D and 6.5 m (D in mm), a soil anchor's at
// least 4 m and not above 10 m.
enum class AnchorGround { Rock, Soil };
inline constexpr Choice kAnchorGrounds[] = {{"岩石锚杆", "rock", int(AnchorGround::Rock)},
                                            {"土层锚杆", "soil", int(AnchorGround::Soil)}};
double leastBondedLength(AnchorGround ground);
double greatestBondedLength(AnchorGround ground, double D);

// The two kinds as the window's labels and the report name them.
inline constexpr std::string_view kPermanentAnchor = "永久性锚杆";
inline constexpr std::string_view kTemporaryAnchor = "临时性锚杆";

// The anchor window's calculation: reads Text1 (a), Text2 (Htk), Text3 (fy), Text4 (γ0),
// Text9 (frb), Text10 (D), Text11 (d), Text12 (fb) in that order, then the number of bars n
// (three unless given), the method and the slope's grade; designs the bundle and writes Na, As,
// la, lb into Text5 … Text8, then the section of the bars into Text13, which the verdict As_ok
// holds against As, then the 2013 factors Kb and K (by that method only) and the bonded length
// to provide, which la_ok holds against the greatest the code advises.
void calculateAnchorBar(AnchorKind kind, Form& form, Trace* trace = nullptr);

extern const Calculator kAnchorBar;

} // namespace subprogram
