#pragma once

#include "calculators/calculator.h"

#include <cstdint>

// Earth pressure on a retaining wall. Angles in degrees, H in m, γ in kN/m³, c and q in kPa.
// Every routine either returns all its results or throws CalcError.
namespace subprogram {

enum class EarthPressureMode : std::int16_t { Coulomb = 1, AtRest = 2, LimitedFill = 3 };

// The mode that the earth-pressure window calculates in: none (0) until a launcher button opens
// the window, then the mode it was opened in. Read at the moment of a calculation.
inline EarthPressureMode earthPressureMode{};

struct ActivePressure {
    double Ka; // active earth pressure coefficient
    double Ea; // resultant active earth pressure, kN per metre run of wall
};

struct AtRestPressure {
    double K0; // at-rest earth pressure coefficient
    double E0; // at-rest earth pressure at depth H, kPa
};

// The at-rest pressure's resultant on the wall and its height above the base: P0 = ½·K0·γ·H² +
// K0·q·H (kN per metre of wall, not the pressure E0 at the base), z0 at the centroid of the
// diagram, the triangle's at H/3 and the surcharge's rectangle's at H/2.
struct AtRestResultant {
    double P0; // kN/m
    double z0; // m above the base
};
AtRestResultant atRestResultant(double K0, double q, double gamma, double H,
                                Trace* trace = nullptr);

// Coulomb's active pressure of a cohesive backfill with surcharge q, sloping surface β,
// inclined back α and wall friction δ. θ takes no part; it is accepted so that callers pass the
// slip-surface field as they always have.
ActivePressure coulombActive(double H, double gamma, double phi, double c, double q, double delta,
                             double theta, double beta, double alpha, Trace* trace = nullptr);

ActivePressure limitedFillEarthPressure(double H, double gamma, double deltaR, double c, double q,
                                        double delta, double theta, double beta, double alpha,
                                        Trace* trace = nullptr);

AtRestPressure atRestEarthPressure(double phi, double q, double gamma, double H,
                                   Trace* trace = nullptr);

// The earth-pressure window's calculation in a mode: reads the fields the mode uses, in its
// order, from hx, Yx, Fix, Qx, Cx, STx, Bx, ax, SSx, strx, and writes Kax then Eax (K0ix then
// E0ix at rest). Any other mode value does nothing.
void calculateEarthPressure(EarthPressureMode mode, Form& form, Trace* trace = nullptr);

// The caption of the slip-surface field in the limited-fill mode, where θ is the rock face's.
inline constexpr std::string_view kRockFaceCaption = "稳定岩石坡面的倾角";

// The Coulomb routine's part of a report; the gravity wall's report shows it too.
extern const Step kCoulombStep;

extern const Calculator kEarthPressure;

} // namespace subprogram
