#include "registry.h"

#include "calculators/anchorbar.h"
#include "calculators/anchoredwall.h"
#include "calculators/antislidepile.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "calculators/slopestability.h"
#include "calculators/wallpressure.h"

#include <algorithm>
#include <vector>

namespace subprogram {

namespace {

std::vector<const Calculator*>& all() {
    static std::vector<const Calculator*> calculators{
        &kEarthPressure,  &kAnchorBar,    &kGravityWall,  &kBeam,
        &kSlopeStability, &kWallPressure, &kAnchoredWall, &kAntiSlidePile};
    return calculators;
}

} // namespace

std::span<const Calculator* const> calculators() {
    return all();
}

const Calculator* calculatorByCommand(std::string_view command) {
    for (const Calculator* c : all()) {
        if (c->command == command) {
            return c;
        }
    }
    return nullptr;
}

Registration::Registration(const Calculator& calculator) : calculator_(calculator) {
    all().push_back(&calculator);
}

Registration::~Registration() {
    std::erase(all(), &calculator_);
}

} // namespace subprogram
