#include "registry.h"

#include "calculators/anchorbar.h"
#include "calculators/anchoredwall.h"
#include "calculators/antislidepile.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "calculators/slopestability.h"
#include "calculators/wallpressure.h"
#include "windows/anchorbarwindow.h"
#include "windows/anchoredwallwindow.h"
#include "windows/antislidepilewindow.h"
#include "windows/beamwindow.h"
#include "windows/earthpressurewindow.h"
#include "windows/gravitywallwindow.h"
#include "windows/slopestabilitywindow.h"
#include "windows/wallpressurewindow.h"

#include <vector>

namespace windows {

namespace {

using subprogram::EarthPressureMode;

template <typename Window> CalculatorWindow* create(Reporter reporter) {
    return new Window(std::move(reporter));
}

constexpr Button kEarthPressureButtons[] = {{"solidstrees", int(EarthPressureMode::Coulomb)},
                                            {"Command1", int(EarthPressureMode::AtRest)},
                                            {"Command4", int(EarthPressureMode::LimitedFill)}};
constexpr Button kAnchorBarButtons[] = {{"anchorbar", std::nullopt}};
constexpr Button kGravityWallButtons[] = {{"Command6", std::nullopt}};
constexpr Button kBeamButtons[] = {{"Command5", std::nullopt}}; // a button never shown
constexpr Button kSlopeStabilityButtons[] = {{"slopestability", std::nullopt}};
constexpr Button kWallPressureButtons[] = {{"wallpressure", std::nullopt}};
constexpr Button kAnchoredWallButtons[] = {{"anchoredwall", std::nullopt}};
constexpr Button kAntiSlidePileButtons[] = {{"antislidepile", std::nullopt}};

std::vector<Kind>& all() {
    static std::vector<Kind> kinds{
        {&subprogram::kEarthPressure, create<EarthPressureWindow>, kEarthPressureButtons},
        {&subprogram::kAnchorBar, create<AnchorBarWindow>, kAnchorBarButtons},
        {&subprogram::kGravityWall, create<GravityWallWindow>, kGravityWallButtons},
        {&subprogram::kBeam, create<BeamWindow>, kBeamButtons},
        {&subprogram::kSlopeStability, create<SlopeStabilityWindow>, kSlopeStabilityButtons},
        {&subprogram::kWallPressure, create<WallPressureWindow>, kWallPressureButtons},
        {&subprogram::kAnchoredWall, create<AnchoredWallWindow>, kAnchoredWallButtons},
        {&subprogram::kAntiSlidePile, create<AntiSlidePileWindow>, kAntiSlidePileButtons},
    };
    return kinds;
}

} // namespace

std::span<const Kind> kinds() {
    return all();
}

const Kind* kindOf(const subprogram::Calculator& calculator) {
    for (const Kind& kind : all()) {
        if (kind.calculator == &calculator) {
            return &kind;
        }
    }
    return nullptr;
}

Registration::Registration(const Kind& kind) : calculator_(kind.calculator) {
    all().push_back(kind);
}

Registration::~Registration() {
    std::erase_if(all(), [this](const Kind& kind) { return kind.calculator == calculator_; });
}

} // namespace windows
