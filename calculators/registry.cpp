#include "registry.h"

#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"

namespace subprogram {

namespace {

const Calculator* const kCalculators[] = {&kEarthPressure, &kAnchorBar, &kGravityWall, &kBeam};

} // namespace

std::span<const Calculator* const> calculators() {
    return kCalculators;
}

const Calculator* calculatorByCommand(std::string_view command) {
    for (const Calculator* c : kCalculators) {
        if (c->command == command) {
            return c;
        }
    }
    return nullptr;
}

} // namespace subprogram
