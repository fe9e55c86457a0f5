#pragma once

#include "calculators/sketch.h"
#include "calculators/walltype.h"

#include <optional>
#include <string>

// The drawing of a gravity wall's cross-section for its report.
namespace subprogram {

// The sizes a section is drawn from, as the wall's fields read them (singles).
struct WallSizes {
    float alpha0, alpha, delta, b, b1, Ht, n, h1, h2, b3, b2, b4, b5, h4, x2, x3, H;
};

// The forces a calculation formed, as their result fields show them; empty when not formed.
struct WallForces {
    std::string G, x0, Ea;
};

// The section to scale in millimetres: the outline with its dimensions, the base inclination,
// and, when they were formed, the earth pressure Ea at its point of application on the back and
// the self-weight G at the centroid's lever x0 from the toe. The section is drawn as the blocks
// the weight routines take, each where its area and lever put it, so that the drawing shows what
// was calculated: where the dimensions disagree (a toe block wider than the room before the
// face), the blocks overlap or part, as they do in the sums. Returns why the sizes describe no
// wall that can be drawn (a size that is zero or negative), in words for the report, or nothing.
std::string drawWallSection(WallType type, const WallSizes& sizes, const WallForces& forces,
                            Sketch& sketch);

// Why a section cannot be formed from its sizes: the field to blame, by its name, and what is
// wrong, in words. `followsB`: the toe block (upright) or the upper wall's foot (shelf) follows
// the other sizes, so that a b2 that cannot be is the fault of what it follows. None: it can.
struct SectionFault {
    std::string_view field;
    const char* reason;
};
std::optional<SectionFault> sectionFault(WallType type, const WallSizes& sizes, bool followsB);

// The height of the section's centroid above the heel's foot (m), of the blocks the drawing shows:
// where the wall's inertia acts in an earthquake. None for sizes that make no wall.
std::optional<double> sectionCentroidHeight(WallType type, const WallSizes& sizes);

} // namespace subprogram
