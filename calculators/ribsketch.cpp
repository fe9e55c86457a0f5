#include "ribsketch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Panel = DepthPanel;
constexpr double kTop = DepthPanel::kTop, kDepth = DepthPanel::kDepth, kPanel = 300, kGap = 90,
                 kLeft = 170, kText = DepthPanel::kText;

} // namespace

void depthCurve(Sketch& s, const DepthPanel& p, const std::vector<double>& breaks, double H,
                const std::function<double(double)>& at, const std::function<double(double)>& below,
                const char* unit, const subprogram::AtDepth* exactGreatest,
                const subprogram::AtDepth* exactLeast) {
    const auto y = [H](double z) { return kTop + kDepth * z / H; };
    double greatest = -HUGE_VAL, least = HUGE_VAL, zGreatest = 0, zLeast = 0;
    for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
        const double from = breaks[b], to = breaks[b + 1];
        if (!(to > from)) {
            continue;
        }
        SketchPolygon outline;
        outline.points.emplace_back(p.axis, y(from));
        constexpr int kSteps = 24;
        for (int i = 0; i <= kSteps; ++i) {
            const double z = from + (to - from) * i / kSteps;
            // at the stretch's ends the values inside it: below its top, above its bottom
            const double v = i == 0 ? below(from) : at(i == kSteps ? std::nextafter(to, from) : z);
            outline.points.emplace_back(p.axis + p.scale * v, y(z));
            if (v > greatest) {
                greatest = v, zGreatest = z;
            }
            if (v < least) {
                least = v, zLeast = z;
            }
        }
        outline.points.emplace_back(p.axis, y(to));
        s.polygons.push_back(std::move(outline));
    }
    const auto label = [&](double v, double z) {
        const std::string text = sketchNumber(v);
        const double x = p.axis + p.scale * v;
        const double w = sketchLabelWidth(text, kText);
        s.texts.push_back({v >= 0 ? x + w / 2 + 8 : x - w / 2 - 8, y(z), text});
    };
    // the extremes as the calculation found them, where it did (between the samples)
    if (exactGreatest) {
        greatest = exactGreatest->value, zGreatest = exactGreatest->z;
    }
    if (exactLeast) {
        least = exactLeast->value, zLeast = exactLeast->z;
    }
    // a side only rounding reaches (a free end's 1e-12) is no extreme to label
    const double noise = 1e-9 * std::max(greatest, -least);
    if (greatest > noise) {
        label(greatest, zGreatest);
    }
    if (least < -noise) {
        label(least, zLeast);
    }
    s.texts.push_back({p.axis, kTop - 60, unit});
}

Sketch drawRib(double H, std::span<const double> rows, std::span<const subprogram::LoadPiece> load,
               const subprogram::RibForces* forces, std::span<const double> reactions) {
    Sketch s;
    const int panels = forces ? 3 : 1;
    s.width = kLeft + panels * kPanel + (panels - 1) * kGap + 220;
    s.height = kTop + kDepth + 60;
    s.stroke = 3;
    s.lineStroke = 2;
    s.textSize = kText;
    const auto y = [H](double z) { return kTop + kDepth * z / H; };

    std::vector<double> breaks{0, H};
    for (const subprogram::LoadPiece& p : load) {
        breaks.push_back(p.from);
        breaks.push_back(p.to);
    }
    breaks.insert(breaks.end(), rows.begin(), rows.end());
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    // each panel's scale: its largest magnitude across 0.8 of its width
    const auto scaled = [&](double x, const std::function<double(double)>& f) {
        double most = 0;
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            for (int i = 0; i <= 24; ++i) {
                const double z = breaks[b] + (breaks[b + 1] - breaks[b]) * i / 24;
                most =
                    std::max(most, std::fabs(f(std::min(z, std::nextafter(breaks[b + 1], 0.0)))));
            }
        }
        return Panel{x, most > 0 ? 0.4 * kPanel / most : 0};
    };
    const auto loadAt = [&](double z) {
        for (const subprogram::LoadPiece& p : load) {
            if (z >= p.from && z < p.to) {
                return p.top + (p.bottom - p.top) * (z - p.from) / (p.to - p.from);
            }
        }
        return 0.0;
    };
    const double firstAxis = kLeft + kPanel / 2;
    const Panel loadPanel = scaled(firstAxis, loadAt);
    depthCurve(s, loadPanel, breaks, H, loadAt, loadAt, "q (kN/m)");
    double right = firstAxis + kPanel / 2;
    if (forces) {
        const auto shear = [forces](double z) { return forces->shear(z); };
        const auto moment = [forces](double z) { return forces->moment(z); };
        const Panel v = scaled(firstAxis + kPanel + kGap, shear);
        depthCurve(s, v, breaks, H, shear, shear, "V (kN)");
        const Panel m = scaled(firstAxis + 2 * (kPanel + kGap), moment);
        const subprogram::AtDepth most = forces->greatestMoment(), least = forces->leastMoment();
        depthCurve(s, m, breaks, H, moment, moment, "M (kN·m)", &most, &least);
        right = m.axis + kPanel / 2;
    }
    // the rib: each panel's axis; the crest and the foot; the rows across, each with its reaction
    for (int i = 0; i < panels; ++i) {
        const double x = firstAxis + i * (kPanel + kGap);
        s.lines.push_back({x, y(0), x, y(H)});
    }
    s.grid.push_back({kLeft - 40, y(0), right, y(0)});
    s.grid.push_back({kLeft - 40, y(H), right, y(H)});
    s.texts.push_back({kLeft - 90, y(0), "z = 0"});
    s.texts.push_back({kLeft - 90, y(H), "H = " + sketchNumber(H)});
    for (std::size_t j = 0; j < rows.size(); ++j) {
        s.grid.push_back({kLeft - 40, y(rows[j]), right, y(rows[j])});
        // the anchor holds the rib back: an arrow toward the earth, on the load's zero line
        s.arrows.push_back({firstAxis + 70, y(rows[j]), firstAxis + 4, y(rows[j])});
        s.texts.push_back({kLeft - 90, y(rows[j]), sketchNumber(rows[j])});
        if (j < reactions.size()) {
            const std::string text = "R" + std::to_string(j + 1) + "=" + sketchNumber(reactions[j]);
            s.texts.push_back({firstAxis - kPanel / 4, y(rows[j]) - 18, text});
        }
    }
    if (forces && forces->baseReaction()) {
        s.texts.push_back(
            {firstAxis - kPanel / 4, y(H) + 30, "R底=" + sketchNumber(*forces->baseReaction())});
    }
    return s;
}
