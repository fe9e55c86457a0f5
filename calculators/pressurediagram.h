#pragma once

#include "calculators/sketch.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The distribution of earth pressure with depth behind a wall: the intensity p(z), in kPa, at
// the depth z below the top, in m.
//
// It is drawn from the resultant the calculation gives, so that its area is that resultant:
// with H replaced by the depth z, the resultant formula gives E(z), the force on the wall's top
// z metres, and p(z) = dE(z)/dz. Coulomb's Ka depends on H through its surcharge and cohesion
// terms (Kq = 1 + k₁/H, η = k₂/H), so E(z) = ½γz·F·G(z) with
//   G(z) = (z + k₁)·T + k₂·X − 2·√(U₁U₂),  U₁ = (z + k₁)·P₁ + k₂·Y,  U₂ = (z + k₁)·P₂ + k₂·Y
// (T, F as the routine forms them; P₁ = sin(β+α)·sin(φ−β), P₂ = sin(α−δ)·sin(δ+φ),
// X = 2·sin α·cos φ·cos(β+α−φ−δ), Y = sin α·cos φ, k₁ = 2q·sin α·cos β / (γ·sin(β+α)),
// k₂ = 2c/γ), and p(z) = ½γF·(G(z) + z·G′(z)). For a vertical smooth wall and level fill this is
// Rankine's p = γzKa + qKa − 2c√Ka. In limited fill E(z) = ½γz·A·(Bz − k₂·cos δr / sin α), a
// straight line in z. At rest the calculation gives the pressure at the base, E0 = (γH + q)·K0,
// and the diagram is p(z) = (γz + q)·K0.
namespace subprogram {

// One straight piece of the earth pressure's diagram, p from `top` to `bottom` (kPa), within one
// stratum: the diagram is exactly these pieces, with a jump where a stratum's coefficient or
// cohesion changes.
struct PressurePiece {
    double from, to;    // depths
    double top, bottom; // p at `from` and at `to`
    int stratum;
};

struct LayeredPressure {
    std::vector<double> Ka;            // each stratum's coefficient (the seismic one for kh > 0)
    std::vector<PressurePiece> pieces; // the earth pressure, top to base
    std::vector<double> bounds;        // each stratum's depth at its base, the last at H
    double Ea = 0;                     // the earth thrust, inclined at δ, kN/m
    std::optional<double> za;          // its height above the base; none without a thrust
    double Pw = 0;                     // the water thrust, horizontal, kN/m
    std::optional<double> zw;          // its height above the base; none without water
    std::optional<double> waterDepth;  // the water table, where it lies above the base
    double rho = 0;                    // the seismic angle arctan kh, degrees
    double gammaWater = 10;            // as the fill gave them
    bool tensionCounted = false;
};

struct PressureDiagram;

class PressureLaw {
  public:
    // The active pressure of Coulomb's formula (the earth-pressure window and the gravity wall).
    static PressureLaw coulomb(double gamma, double phi, double c, double q, double delta,
                               double beta, double alpha);
    // The active pressure on a wall before a stable rock face at θ.
    static PressureLaw limitedFill(double gamma, double deltaR, double c, double delta,
                                   double theta, double beta, double alpha);
    static PressureLaw atRest(double phi, double q, double gamma);
    // The pressure of strata, water and local loads, as its calculation gave it piece by piece.
    static PressureLaw layered(std::shared_ptr<const LayeredPressure> pressure);

    double at(double z) const; // p(z), kPa
    // The resultant on the top z metres, E(z), kN/m; at rest, where the calculation's result is
    // the pressure at the base, the area of the diagram all the same.
    double resultant(double z) const;
    // ∫ E(z) dz from z1 to z2 (kN): in closed form where the law has one — a polynomial, or
    // Coulomb's with cohesion, whose E(z) is z times a linear term less the root of a quadratic;
    // by 32-point Gauss–Legendre quadrature where that form would lose its digits (a quadratic
    // whose roots nearly meet).
    double integral(double z1, double z2) const;

  private:
    enum class Kind { Coulomb, LimitedFill, AtRest, Layered };
    Kind kind_ = Kind::AtRest;
    double gamma_ = 0, k1_ = 0, k2_ = 0;
    double F_ = 0, T_ = 0, X_ = 0, Y_ = 0, P1_ = 0, P2_ = 0; // Coulomb's
    double slope_ = 0, offset_ = 0;                          // limited fill and at rest: a line
    std::shared_ptr<const LayeredPressure> layered_;

    friend PressureDiagram pressureDiagram(const PressureLaw&, double, int);
};

struct PressureDiagram {
    double height = 0;                  // H, m
    std::vector<double> depths, values; // z and p(z) at equal steps, top to base
    double top = 0, base = 0;           // p at the top and at the base
    std::optional<double> zeroDepth;    // z₀, where p crosses zero within the height
    double area = 0;                    // the net area, tension counted: E(H)
    bool tension = false;               // p < 0 somewhere (a tension zone)
    double compressedArea = 0;          // the area where p > 0
    double actionDepth = 0;             // the centroid of the area where p > 0, below the top
    // Strata, water and local loads: the water's pressure at each depth, beside the earth's, and
    // the calculation's pieces the diagram is drawn from.
    std::vector<double> water;
    std::shared_ptr<const LayeredPressure> layered;
};

// The height above the base at which the resultant E(H) of the diagram acts, its centroid:
// ∫₀ᴴ p(z)·(H − z) dz ÷ E(H) = ∫₀ᴴ E(z) dz ÷ E(H), the tension zone counted as E(H) counts it
// (PressureLaw::integral).
// A diagram of no net thrust (E(H) ≤ 0) has no such point: none.
// With `compressedOnly`, the centroid of the compressed part alone (the tension zone ignored).
std::optional<double> resultantHeight(const PressureLaw& law, double height,
                                      bool compressedOnly = false);

// The resultant of the compressed part of the diagram alone, the tension zone ignored, from the
// calculation's resultant E(H) (its net area, the tension zone counted): E(H) − E(z₀) when the
// tension is above z₀, E(z₀) when below, E(H) without a tension zone, 0 when there is no
// compression; one beyond a double, CalcError. z₀ by bisection to the last bit; E has its least
// value there, so that an error in z₀ changes E(z₀) by its square only.
double compressedResultant(const PressureLaw& law, double height, double resultant);

// The diagram over the height H in `steps` equal steps (at least 1).
PressureDiagram pressureDiagram(const PressureLaw& law, double height, int steps);

// How the diagram is labelled: the resultant's name and value as the calculation gave it
// (none at rest, whose result is a pressure: the diagram's area is named), and, for a wall, the
// lever its checks take (H/3 above the base).
struct DiagramLabels {
    std::string resultant;
    std::optional<double> resultantValue;
    std::optional<double> checkLever;
};

// A calculation's pressure: its law, the height it acts over and the labels.
struct PressureSetting {
    PressureLaw law;
    double height;
    DiagramLabels labels;
};

// The diagram to scale: the wall's back as the depth axis, compression to the right, a tension
// zone to the left, hatched and labelled 拉力区; the values at the top, at z₀ and at the base, the
// point of action. The depth axis is as long whatever the height (depth and pressure each to a
// scale of its own).
Sketch drawPressureDiagram(const PressureDiagram& diagram, const DiagramLabels& labels);
// The same for strata, water and local loads: the earth's diagram with each stratum's values at
// its top and base, the water's beside it, each resultant at its point of action.
Sketch drawLayeredDiagram(const LayeredPressure& pressure, double height);

// What the report says under the diagram (how it was drawn, what the tension zone counts for).
std::string diagramNote(const PressureDiagram& diagram, const DiagramLabels& labels);

// A number of the diagram's labels: four significant digits, no trailing zeros.
std::string diagramNumber(double value);

} // namespace subprogram
