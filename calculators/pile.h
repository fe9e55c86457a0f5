#pragma once

#include <array>
#include <span>
#include <vector>

// A laterally loaded pile on a Winkler foundation: a straight member from its head (z = 0) down
// through the slip surface (z = h1) to its foot (z = h1 + h2). Above the slip surface it carries a
// line load straight from qTop at the head to qBottom at the slip surface and nothing holds it;
// below, the ground holds it with springs of k·Bp per metre of pile, k = m·y (the m method, y the
// depth below the slip surface) or k = K (the K method), stratum by stratum. Its head is free; its
// foot free, hinged or fixed. Depths in m, loads in kN/m, forces in kN, moments in kN·m,
// displacements in m, positive in the load's direction.
//
// The equation EI·w'''' + k·Bp·w = q is solved exactly: on each stretch (no stratum boundary
// within it, and short against the foundation's own length) its solutions are power series about
// the stretch's top, summed to the last bit, which give the stretch's exact stiffness; the
// stretches are joined as finite elements of that stiffness, and the system of the nodes' w and
// w′ is solved. So the answer does not depend on the stretches' lengths (beyond rounding), and the
// shear V = EI·w''' and the moment M = EI·w'' anywhere come from the same series.
namespace subprogram {

enum class FoundationMethod { M, K };
enum class PileFoot { Free, Hinged, Fixed };

// A stratum below the slip surface: its thickness, its m (kN/m⁴) or K (kN/m³).
struct PileStratum {
    double thickness, value;
};

struct PileModel {
    double EI = 0, Bp = 0;
    double h1 = 0, h2 = 0;
    double qTop = 0, qBottom = 0;
    FoundationMethod method = FoundationMethod::M;
    std::vector<PileStratum> strata; // from the slip surface down; the last reaches the foot
    PileFoot foot = PileFoot::Free;
    // The longest stretch as a share of the foundation's own length (EI/(k·Bp))^¼: the series
    // converge quickly below it. Smaller only to show that the answer does not depend on it.
    double stretch = 1.0;
};

// A value and the depth where the pile takes it.
struct PileExtreme {
    double value = 0, z = 0;
};

class PileResponse {
  public:
    explicit PileResponse(const PileModel& model); // refuses a pile no spring holds

    double length() const { return model_.h1 + model_.h2; }
    double w(double z) const { return at(z, 0); }        // displacement, m
    double rotation(double z) const { return at(z, 1); } // dw/dz
    double moment(double z) const { return model_.EI * at(z, 2); }
    double shear(double z) const { return model_.EI * at(z, 3); }
    double load(double z) const;                                    // q, kN/m
    double coefficient(double z) const;                             // k, kN/m³
    double stress(double z) const { return coefficient(z) * w(z); } // on the ground, kPa

    // The largest |M| and |V| over the whole pile, as magnitudes, and where.
    PileExtreme greatestMoment() const { return moment_; }
    PileExtreme greatestShear() const { return shear_; }
    // The largest |σ| within each stratum, as a magnitude, and where.
    const std::vector<PileExtreme>& greatestStress() const { return stress_; }
    // What holds the foot: its force and its moment (0 for a free foot).
    double footForce() const { return -shear(length()); }
    double footMoment() const { return -moment(length()); }

  private:
    // A stretch: the series of w and of its first four derivatives about its top, each
    // w⁽ᵈ⁾(t) = Σ d[n]·tⁿ, cut where its terms no longer reach the last bit over the stretch.
    struct Stretch {
        double from, to;
        std::array<std::vector<double>, 5> d;
    };
    const Stretch& stretchAt(double z) const;
    double at(double z, int derivative) const;
    // The extreme of |f| over [from, to] of one stretch, f one of the series' derivatives or σ.
    template <typename F, typename G>
    PileExtreme extremeOf(F f, G slope, double from, double to) const;

    PileModel model_;
    std::vector<Stretch> stretches_;
    PileExtreme moment_, shear_;
    std::vector<PileExtreme> stress_;
};

// α = (m·Bp/EI)^⅕ of the m method, β = (K·Bp/(4EI))^¼ of the K method.
double pileCharacteristic(FoundationMethod method, double value, double Bp, double EI);

} // namespace subprogram
