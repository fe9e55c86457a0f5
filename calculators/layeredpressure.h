#pragma once

#include "calculators/pressurediagram.h"
#include "core/form.h"
#include "core/trace.h"

#include <optional>
#include <string_view>
#include <vector>

// The active earth pressure on a wall's back as the ground behind it stands: strata of different
// soils, a water table (earth and water taken apart), local loads near the crest and an
// earthquake. Depths z from the wall's top down, heights above its base; m, kN, kPa, degrees.
// Every routine either returns all its results or throws CalcError.
namespace subprogram {

struct FillStratum {
    double thickness, gamma, c, phi, gammaSat;
};

// A load on the fill near the wall: a line load Q (kN/m) at a m from the back, or a strip of q
// (kPa) from a to a + b m.
struct LocalLoad {
    enum class Kind { Line, Strip } kind;
    double q, a, b;
};

// What stands behind the wall, from the top down.
struct Backfill {
    std::vector<FillStratum> strata; // the last one reaches the base whatever its thickness
    double q = 0;                    // a uniform surcharge on the whole fill, kPa
    std::optional<double> water;     // the water table's depth below the top
    double gammaWater = 10;          // kN/m³
    std::vector<LocalLoad> loads;    // on the fill's surface
    double kh = 0;                   // horizontal seismic coefficient
    bool tensionCounted = false;     // a cohesive tension zone counted against the thrust, or not
};

// The wall the fill bears on: its height, its back at α to the horizontal (90 upright), the fill
// rising at β from its top, wall friction δ.
struct WallBack {
    double H, alpha = 90, beta = 0, delta = 0;
};

// The earth pressure stratum by stratum: each stratum's coefficient by coulombActive on its own φ
// (c = 0, q = 0), e = Ka·σ′v − 2c·√Ka over the vertical effective stress of everything above
// (buoyant weight γsat − γw below the water table), the surcharge as Coulomb's formula takes it
// (q·sin α·cos β ÷ sin(α + β)), local loads by GB 50330-2013 附录B and, for kh > 0, the
// Mononobe–Okabe coefficient; the water's pressure γw·(z − water) apart.
// The first stratum's coefficient is traced as coulombActive's step unless `traceCoefficient` is
// false (a caller whose report shows that step for a Coulomb pressure of its own).
LayeredPressure layeredPressure(const WallBack& wall, const Backfill& fill, Trace* trace = nullptr,
                                bool traceCoefficient = true);

// Mononobe–Okabe's seismic active coefficient: Coulomb's on the geometry turned by the seismic
// angle ρ = arctan kh (α − ρ, β + ρ), times sin²(α − ρ) ÷ (sin²α·cos ρ).
double seismicCoefficient(double phi, double delta, double beta, double alpha, double kh);

// The fields' texts read: strata `thickness gamma c phi [gamma_sat]` separated by ';' (thickness
// > 0, γ > 0, c ≥ 0, 0 ≤ φ < 90), loads `line Q a` or `strip q a b` (a ≥ 0, b > 0); any other
// text throws CalcError.
std::vector<FillStratum> readStrata(std::string_view text);
std::vector<LocalLoad> readLoads(std::string_view text);
// A depth: a number ≥ 0.
double readDepth(std::string_view text);

// The fields a calculator reads the ground behind its wall from.
struct BackfillFields {
    FieldId layers, water, gammaWater, loads, kh;
};
// Reads them, each failure naming its field: strata as readStrata (empty: none), the water table a
// depth (empty: none), loads as readLoads (empty: none), kh ≥ 0; a stratum lighter than water below
// the water table is refused (layers). `q` is the uniform surcharge, read by the caller.
Backfill readBackfill(const Form& form, const BackfillFields& fields, double q);

// The most strata a calculation takes (each one's Ka is a result of its own).
inline constexpr std::size_t kMaxStrata = 20;

} // namespace subprogram
