// The slope's drawings, to scale: the section with its strata, phreatic line and slip circle
// cut into slices; the slip line of sliding blocks with each block's weight and the thrust the
// last one passes on.
#include "calculators/slicing.h"
#include "calculators/slipsurface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace subprogram {

namespace {

// Metres to drawing units, y upward in metres, y downward in the drawing.
struct Frame {
    double left, top, unit;
    std::pair<double, double> at(double x, double y) const {
        return {(x - left) * unit, (top - y) * unit};
    }
};

Frame frameFor(double left, double right, double bottom, double top, Sketch& s) {
    const double unit = 5000 / std::max(right - left, (top - bottom) * 1.4);
    s = Sketch{};
    s.width = (right - left) * unit;
    s.height = (top - bottom) * unit;
    s.stroke = s.width / 350;
    s.lineStroke = s.width / 900;
    s.textSize = s.width / 32;
    return {left, top, unit};
}

// The ground's height at x within its ends.
double heightOf(const std::vector<Point>& ground, double x) {
    for (std::size_t k = 1; k < ground.size(); ++k) {
        if (x <= ground[k].x) {
            const Point &a = ground[k - 1], &b = ground[k];
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    }
    return ground.back().y;
}

void line(Sketch& s, const Frame& f, double x1, double y1, double x2, double y2) {
    const auto [a, b] = f.at(x1, y1);
    const auto [c, d] = f.at(x2, y2);
    s.lines.push_back({a, b, c, d});
}

// A bar of a round length (1, 2 or 5 times a power of ten, about a fifth of the span) from (x, y),
// with its length in metres above it: the drawing's scale.
void scaleBar(Sketch& s, const Frame& f, double x, double y, double span) {
    const double power = std::pow(10, std::floor(std::log10(span / 5)));
    double length = power;
    for (const double k : {2.0, 5.0, 10.0}) {
        if (k * power <= span / 5) {
            length = k * power;
        }
    }
    line(s, f, x, y, x + length, y);
    for (const double end : {x, x + length}) {
        const auto [a, b] = f.at(end, y);
        s.lines.push_back({a, b - s.textSize / 3, a, b + s.textSize / 3});
    }
    const auto [a, b] = f.at(x + length / 2, y);
    s.texts.push_back({a, b - 0.8 * s.textSize, sketchNumber(length) + " m"});
}

} // namespace

void drawSlopeSection(const SlopeSection& section, const DrawnSlip* slide,
                      const SearchLimits& limits, Sketch& s) {
    const std::vector<Point>& ground = section.surface;
    double low = ground.front().y, high = low;
    for (const Point& p : ground) {
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const double span = ground.back().x - ground.front().x;
    double top = high + 0.15 * span, bottom = low - 0.25 * span;
    if (slide && slide->circle) {
        top = std::max(top, slide->circle->yc + 0.05 * span);
        bottom = std::min(bottom, slide->circle->yc - slide->circle->R - 0.05 * span);
    }
    if (slide) {
        for (const Slice& c : slide->slices) {
            bottom = std::min({bottom, c.yLeft - 0.05 * span, c.yRight - 0.05 * span});
        }
    }
    if (limits.centreY) {
        top = std::max(top, limits.centreY->to + 0.05 * span);
    }
    const Frame f = frameFor(ground.front().x, ground.back().x, bottom, top, s);
    // the ground, closed below as a grey body of soil
    SketchPolygon body;
    for (const Point& p : ground) {
        const auto [x, y] = f.at(p.x, p.y);
        body.points.push_back({x, y});
    }
    body.points.push_back(f.at(ground.back().x, bottom));
    body.points.push_back(f.at(ground.front().x, bottom));
    s.polygons.push_back(body);
    // the strata's tops, level or as they lie, dashed by gaps, only where there is ground above
    for (std::size_t i = 1; i < section.strata.size(); ++i) {
        const Stratum& st = section.strata[i];
        for (double x = ground.front().x; x < ground.back().x; x += span / 40) {
            const double to = std::min(x + span / 80, ground.back().x);
            const double y = slicing::topAt(st, x), y2 = slicing::topAt(st, to);
            if (y < heightOf(ground, x) && y2 < heightOf(ground, to)) {
                line(s, f, x, y, to, y2);
            }
        }
    }
    scaleBar(s, f, ground.front().x + 0.02 * span, bottom + 0.06 * span, span);
    for (std::size_t i = 0; i < section.strata.size(); ++i) {
        const Stratum& st = section.strata[i];
        const double at = ground.front().x + 0.12 * span;
        const double top = i == 0 ? st.top : slicing::topAt(st, at);
        const double y =
            (i + 1 < section.strata.size() ? (top + slicing::topAt(section.strata[i + 1], at)) / 2
                                           : std::min(top, low) - 0.08 * span);
        const auto [x, yy] = f.at(at, y);
        s.texts.push_back({x, yy,
                           "γ=" + sketchNumber(st.gamma) + " c=" + sketchNumber(st.c) +
                               " φ=" + sketchNumber(st.phi)});
    }
    for (std::size_t i = 1; i < section.water.size(); ++i) {
        const Point &a = section.water[i - 1], &b = section.water[i];
        line(s, f, a.x, a.y, b.x, b.y);
    }
    if (!section.water.empty()) {
        // two fifths across, clear of the strata's words along the left
        const double at = std::max(section.water.front().x, ground.front().x) + 0.4 * span;
        const auto [x, y] = f.at(at, heightOf(section.water, at) + 0.03 * span);
        s.texts.push_back({x, y, "浸润线"});
    }
    // the search's limits, faint: the ranges of entry and exit as ticks along the ground, the
    // centres' box
    const double tick = 0.03 * span;
    for (const std::optional<Range>& r : {limits.entry, limits.exit}) {
        if (!r) {
            continue;
        }
        const double from = std::max(r->from, ground.front().x);
        const double to = std::min(r->to, ground.back().x);
        for (int k = 0; k <= 20 && from <= to; ++k) {
            const double x = from + (to - from) * k / 20;
            const double y = heightOf(ground, x);
            const auto [x1, y1] = f.at(x, y);
            const auto [x2, y2] = f.at(x, y + (k == 0 || k == 20 ? 2 * tick : tick));
            s.grid.push_back({x1, y1, x2, y2});
        }
    }
    if (limits.centreX && limits.centreY) {
        const double xs[] = {limits.centreX->from, limits.centreX->to};
        const double ys[] = {limits.centreY->from, limits.centreY->to};
        for (int k = 0; k < 2; ++k) {
            const auto [a, b] = f.at(xs[0], ys[k]);
            const auto [c, d] = f.at(xs[1], ys[k]);
            s.grid.push_back({a, b, c, d});
            const auto [e, g] = f.at(xs[k], ys[0]);
            const auto [h, i] = f.at(xs[k], ys[1]);
            s.grid.push_back({e, g, h, i});
        }
    }
    // the loads on the ground, as arrows down onto it
    for (const StripLoad& load : section.loads) {
        const double from = std::max(load.from, ground.front().x);
        const double to = std::min(load.to, ground.back().x);
        for (int k = 0; k <= 4 && from < to; ++k) {
            const double x = from + (to - from) * k / 4, y = heightOf(ground, x);
            const auto [x1, y1] = f.at(x, y + 0.06 * span);
            const auto [x2, y2] = f.at(x, y);
            s.arrows.push_back({x1, y1, x2, y2});
        }
        if (from < to) {
            const auto [x, y] =
                f.at((from + to) / 2, heightOf(ground, (from + to) / 2) + 0.08 * span);
            s.texts.push_back({x, y, "q=" + sketchNumber(load.q)});
        }
    }
    if (!slide || slide->slices.empty()) {
        return;
    }
    // the next-lowest circles, faint, as their arcs under the ground
    for (const FoundCircle& other : slide->others) {
        const Circle& o = other.circle;
        bool wasUnder = false;
        std::pair<double, double> last{0, 0};
        for (int k = 0; k <= 60; ++k) {
            const double x = o.xc - o.R + 2 * o.R * k / 60;
            const double y = o.yc - std::sqrt(std::max(0.0, o.R * o.R - (x - o.xc) * (x - o.xc)));
            const bool under = x >= ground.front().x && x <= ground.back().x &&
                               y <= heightOf(ground, x) + 1e-9 * span;
            const std::pair<double, double> at = f.at(x, y);
            if (under && wasUnder) {
                s.grid.push_back({last.first, last.second, at.first, at.second});
            }
            wasUnder = under;
            last = at;
        }
    }
    for (const Slice& c : slide->slices) { // the base chords and the slices' sides
        line(s, f, c.xLeft, c.yLeft, c.xRight, c.yRight);
    }
    for (std::size_t i = 1; i < slide->slices.size(); ++i) {
        const Slice& c = slide->slices[i];
        const auto [x1, y1] = f.at(c.xLeft, c.yLeft);
        const auto [x2, y2] = f.at(c.xLeft, heightOf(ground, c.xLeft));
        s.grid.push_back({x1, y1, x2, y2});
    }
    const Slice &first = slide->slices.front(), &last = slide->slices.back();
    // a tension crack: the first slice's rear face (the mass's upper end) up to the ground
    const bool rightward = first.xLeft < last.xLeft;
    const double rearX = rightward ? first.xLeft : first.xRight;
    const double rearY = rightward ? first.yLeft : first.yRight;
    if (heightOf(ground, rearX) - rearY > 1e-6 * span) {
        line(s, f, rearX, rearY, rearX, heightOf(ground, rearX));
    }
    // the line of thrust, where the slices push on each other
    for (std::size_t i = 1; i < slide->sides.size(); ++i) {
        const SideForce &a = slide->sides[i - 1], &b = slide->sides[i];
        if (a.thrust && b.thrust) {
            const auto [x1, y1] = f.at(a.x, *a.thrust);
            const auto [x2, y2] = f.at(b.x, *b.thrust);
            s.grid.push_back({x1, y1, x2, y2});
        }
    }
    const std::string factor = slide->Fs ? "Fs = " + sketchNumber(*slide->Fs) : "";
    if (slide->circle) {
        const Circle& o = *slide->circle;
        const auto [cx, cy] = f.at(o.xc, o.yc);
        s.circles.push_back({cx, cy, s.stroke * 2});
        for (const auto& [x, y] :
             {std::pair{first.xLeft, first.yLeft}, std::pair{last.xRight, last.yRight}}) {
            line(s, f, o.xc, o.yc, x, y);
        }
        s.texts.push_back({cx, cy - s.textSize,
                           "O (" + sketchNumber(o.xc) + ", " + sketchNumber(o.yc) + ")  R = " +
                               sketchNumber(o.R) + (factor.empty() ? "" : "  ") + factor});
    } else if (!factor.empty()) {
        const auto [x, y] = f.at((first.xLeft + last.xRight) / 2, bottom + 0.12 * span);
        s.texts.push_back({x, y, factor});
    }
    // the direction the mass slides, beside the middle slice's base
    const Slice& mid = slide->slices[slide->slices.size() / 2];
    const double dir = first.yLeft > last.yRight ? 1 : -1, length = 0.08 * span;
    const auto [ax, ay] = f.at(mid.xLeft, mid.yLeft + 0.04 * span);
    s.arrows.push_back({ax, ay, ax + dir * length * f.unit, ay});
}

namespace {

// The slip line from the rear edge down, block by block at its θ over its l, with each block's
// weight; returns the frame and the line's points.
std::pair<Frame, std::vector<Point>> drawSlipLine(std::span<const SlidingBlock> blocks, Sketch& s) {
    std::vector<Point> line{{0, 0}};
    for (const SlidingBlock& b : blocks) {
        const double t = b.theta * 3.1415926 / 180;
        line.push_back({line.back().x + b.l * std::cos(t), line.back().y - b.l * std::sin(t)});
    }
    double low = 0, high = 0;
    for (const Point& p : line) {
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const double span = std::max(line.back().x - line.front().x, high - low);
    if (!(span > 0) || !std::isfinite(span)) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    const Frame f =
        frameFor(-0.15 * span, line.back().x + 0.3 * span, low - 0.2 * span, high + 0.35 * span, s);
    for (std::size_t i = 1; i < line.size(); ++i) {
        const Point &a = line[i - 1], &b = line[i];
        ::subprogram::line(s, f, a.x, a.y, b.x, b.y);
        // the block's weight, down onto the middle of its base, and its number
        const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        const auto [x1, y1] = f.at(mx, my + 0.2 * span);
        const auto [x2, y2] = f.at(mx, my + 0.04 * span);
        s.arrows.push_back({x1, y1, x2, y2});
        s.texts.push_back({x1, y1 - s.textSize * 0.8,
                           std::to_string(i) + ": G=" + sketchNumber(blocks[i - 1].G)});
        const auto [tx, ty] = f.at(mx, my - 0.05 * span);
        s.texts.push_back({tx, ty, "θ=" + sketchNumber(blocks[i - 1].theta) + "°"});
        if (i > 1) { // the block boundary, upright
            ::subprogram::line(s, f, a.x, a.y, a.x, a.y + 0.15 * span);
        }
    }
    // the direction the mass slides, beyond the last block's base
    const Point &a = line[line.size() - 2], &b = line.back();
    const auto [x1, y1] = f.at(a.x + (b.x - a.x) * 0.6, a.y + (b.y - a.y) * 0.6 - 0.06 * span);
    const auto [x2, y2] = f.at(b.x + 0.08 * span, b.y - 0.06 * span);
    s.arrows.push_back({x1, y1, x2, y2});
    return {f, line};
}

} // namespace

void drawBlocks(std::span<const SlidingBlock> blocks, Sketch& s) {
    drawSlipLine(blocks, s);
}

void drawPlanarBlock(const PlanarInputs& in, Sketch& s) {
    const SlidingBlock block{in.G, in.theta, in.c, in.phi, in.L};
    const auto [f, line] = drawSlipLine({&block, 1}, s);
    const double span = std::max(line.back().x, -line.back().y);
    if (in.hw > 0) { // the rear crack and the water's push V out of the slope, at hw/3
        ::subprogram::line(s, f, 0, 0, 0, std::max(in.hw, 0.15 * span));
        const auto [x1, y1] = f.at(0, in.hw / 3);
        s.arrows.push_back({x1, y1, x1 + 0.1 * span * f.unit, y1});
        s.texts.push_back({x1 + 0.16 * span * f.unit, y1, "V (hw=" + sketchNumber(in.hw) + ")"});
    }
    if (in.P != 0) { // the anchor force onto the plane's middle, into the slope at β below level
        const double beta = in.anchorAngle * 3.1415926 / 180, reach = 0.22 * span;
        const Point mid{(line[0].x + line[1].x) / 2, (line[0].y + line[1].y) / 2};
        const auto [x1, y1] = f.at(mid.x + reach * std::cos(beta), mid.y + reach * std::sin(beta));
        const auto [x2, y2] = f.at(mid.x, mid.y);
        s.arrows.push_back({x1, y1, x2, y2});
        s.texts.push_back({x1, y1 - s.textSize, "P=" + sketchNumber(in.P)});
    }
}

} // namespace subprogram
