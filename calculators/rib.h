#pragma once

#include <optional>
#include <span>
#include <vector>

// The rib of an anchored wall: a straight member down the wall's face from its crest (z = 0) to
// its foot (z = H), held by the anchor rows as rigid supports, free above the top row, its foot
// hinged, fixed or free, and loaded by a lateral line load made of straight pieces. Depths in m,
// loads in kN/m, forces in kN, moments in kN·m; the load acts outward, away from the earth.
//
// A moment is positive where the face away from the earth is in tension (the spans between rows
// under an outward load), negative over the rows; V = dM/dz; a reaction is positive where it
// holds the rib back (its anchor in tension).
//
// The support moments come from the three-moment equation (uniform EI, rigid supports), whose
// load terms are integrals of the piecewise-linear load against polynomials, taken exactly
// (Gauss–Legendre of enough points for their degree); its system is tridiagonal and diagonally
// dominant, so that no row near another or near an end spoils it. Between two stations the
// shear and the moment then follow from statics, piece by piece of the load, in closed form.
namespace subprogram {

// The load's intensity from `top` at `from` to `bottom` at `to`.
struct LoadPiece {
    double from, to, top, bottom;
};

enum class RibFoot { Hinged, Fixed, Free };

// A value and the depth where the rib takes it.
struct AtDepth {
    double value = 0, z = 0;
};

class RibForces {
  public:
    // `rows` increasing within (0, H); `load` straight pieces covering [0, H] from the top down.
    // Refuses (CalcError InvalidArgument) a rib that is a mechanism (one row and a free foot).
    RibForces(std::span<const double> rows, double H, RibFoot foot,
              std::span<const LoadPiece> load);

    const std::vector<double>& reactions() const { return reactions_; }  // one per row
    std::optional<double> baseReaction() const { return baseReaction_; } // none for a free foot
    std::optional<double> baseMoment() const { return baseMoment_; }     // a fixed foot's
    double totalLoad() const { return totalLoad_; }

    // At a station (a row), the values just below it; at H, just above.
    double moment(double z) const;
    double shear(double z) const;
    double load(double z) const;

    AtDepth greatestMoment() const { return greatest_; }
    AtDepth leastMoment() const { return least_; }
    AtDepth greatestShear() const { return greatestShear_; } // the largest |V|, as |V|

  private:
    // A stretch of the rib with no station inside it and one straight load piece: M and V at its
    // top, the load's intensity at its top and its slope.
    struct Stretch {
        double from, to, M, V, q, slope;
    };
    const Stretch& stretchAt(double z) const;

    std::vector<Stretch> stretches_;
    std::vector<double> reactions_;
    std::optional<double> baseReaction_, baseMoment_;
    double totalLoad_ = 0;
    AtDepth greatest_, least_, greatestShear_;
};

// Each row's share of the load by tributary bands: the bands meet halfway between rows, the top
// band starts at the crest and the bottom one ends at the foot.
std::vector<double> tributaryReactions(std::span<const double> rows, double H,
                                       std::span<const LoadPiece> load);

// ∫ q dz over [a, b] of the piecewise-linear load.
double loadBetween(std::span<const LoadPiece> load, double a, double b);

} // namespace subprogram
