#pragma once

#include "calculators/slipsurface.h"

#include <vector>

// The rigorous methods on slices already cut, in the frame where the mass slides towards +x:
// shared by the factor of one surface and the search for the critical circle.
namespace subprogram::rigorous {

// Fs and λ of `slices` (the section gives kh), with the forces between the slices. A mass that
// nothing drives has no factor; one with no solution is refused (CalcError, the reason).
RigorousSlide solveInFrame(const SlopeSection& section, std::vector<Slice> slices,
                           Interslice function, Trace* trace = nullptr);

} // namespace subprogram::rigorous
