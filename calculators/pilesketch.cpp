#include "pilesketch.h"

#include "calculators/ribsketch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kPanel = 260, kGap = 70, kLeft = 190;

} // namespace

Sketch drawPile(const subprogram::PileModel& model, const subprogram::PileResponse& response) {
    using subprogram::AtDepth;
    const double L = response.length();
    Sketch s;
    constexpr int kPanels = 5;
    s.width = kLeft + kPanels * kPanel + (kPanels - 1) * kGap + 200; // room for labels
    s.height = DepthPanel::kTop + DepthPanel::kDepth + 60;
    s.stroke = 3;
    s.lineStroke = 2;
    s.textSize = DepthPanel::kText;
    const auto y = [L](double z) { return DepthPanel::kTop + DepthPanel::kDepth * z / L; };

    // breaks: the head, the slip surface, each stratum's base, the foot
    std::vector<double> breaks{0, model.h1, L};
    double top = model.h1;
    for (const subprogram::PileStratum& stratum : model.strata) {
        top += stratum.thickness;
        if (top < L) {
            breaks.push_back(top);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    const auto panel = [&](int i, const std::function<double(double)>& f) {
        double most = 0;
        for (int k = 0; k <= 400; ++k) {
            most = std::max(most, std::fabs(f(std::min(L * k / 400, L))));
        }
        return DepthPanel{kLeft + kPanel / 2 + i * (kPanel + kGap),
                          most > 0 ? 0.4 * kPanel / most : 0};
    };
    const auto signedExtreme = [](const std::function<double(double)>& f, subprogram::PileExtreme e,
                                  AtDepth& greatest, AtDepth& least, const AtDepth*& g,
                                  const AtDepth*& l) {
        if (f(e.z) >= 0) {
            greatest = {e.value, e.z}, g = &greatest;
        } else {
            least = {-e.value, e.z}, l = &least;
        }
    };
    const std::function<double(double)> load = [&](double z) { return response.load(z); };
    const std::function<double(double)> w = [&](double z) { return response.w(z) * 1000; };
    const std::function<double(double)> moment = [&](double z) { return response.moment(z); };
    const std::function<double(double)> shear = [&](double z) { return response.shear(z); };
    const std::function<double(double)> stress = [&](double z) { return response.stress(z); };
    depthCurve(s, panel(0, load), breaks, L, load, load, "q (kN/m)");
    depthCurve(s, panel(1, w), breaks, L, w, w, "y (mm)");
    AtDepth mostM, leastM, mostV, leastV;
    const AtDepth *gM = nullptr, *lM = nullptr, *gV = nullptr, *lV = nullptr;
    signedExtreme(moment, response.greatestMoment(), mostM, leastM, gM, lM);
    signedExtreme(shear, response.greatestShear(), mostV, leastV, gV, lV);
    depthCurve(s, panel(2, moment), breaks, L, moment, moment, "M (kN·m)", gM, lM);
    depthCurve(s, panel(3, shear), breaks, L, shear, shear, "V (kN)", gV, lV);
    depthCurve(s, panel(4, stress), breaks, L, stress, stress, "σ (kPa)");

    const double right = kLeft + kPanels * kPanel + (kPanels - 1) * kGap;
    for (int i = 0; i < kPanels; ++i) {
        const double x = kLeft + kPanel / 2 + i * (kPanel + kGap);
        s.lines.push_back({x, y(0), x, y(L)});
    }
    s.grid.push_back({kLeft - 40, y(0), right, y(0)});
    s.grid.push_back({kLeft - 40, y(L), right, y(L)});
    s.texts.push_back({kLeft - 100, y(0), "桩顶 0"});
    s.texts.push_back({kLeft - 100, y(L), "桩底 " + sketchNumber(L)});
    // the slip surface across every panel, thicker than the strata's boundaries
    s.lines.push_back({kLeft - 40, y(model.h1), right, y(model.h1)});
    s.texts.push_back({kLeft - 100, y(model.h1) - 22, "滑面"});
    s.texts.push_back({kLeft - 100, y(model.h1) + 18, sketchNumber(model.h1)});
    for (const double b : breaks) {
        if (b > model.h1 && b < L) {
            s.grid.push_back({kLeft - 40, y(b), right, y(b)});
            s.texts.push_back({kLeft - 100, y(b), sketchNumber(b)});
        }
    }
    return s;
}
