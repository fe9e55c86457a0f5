// The diagram of strata, water and local loads drawn: shapes and labels, judged by looking (see
// the screenshots).
#include "pressurediagram.h"

#include <algorithm>
#include <cmath>

namespace subprogram {

namespace {

constexpr double kDepth = 4500; // the depth axis, whatever the height

} // namespace

Sketch drawLayeredDiagram(const LayeredPressure& p, double height) {
    Sketch s;
    const double H = height > 0 ? height : 1;
    const double text = kDepth / 22;
    s.textSize = text;
    s.stroke = kDepth / 300;
    s.lineStroke = kDepth / 600;
    const double waterBase = p.waterDepth ? p.gammaWater * (H - *p.waterDepth) : 0;
    double largest = waterBase, leftmost = 0, rightmost = 0;
    for (const PressurePiece& piece : p.pieces) {
        for (const double v : {piece.top, piece.bottom}) {
            largest = std::max(largest, std::abs(v));
            leftmost = std::min(leftmost, v);
            rightmost = std::max(rightmost, v);
        }
    }
    const double perKpa = largest > 0 ? kDepth * 0.45 / largest : 0;
    const double gap = text * 0.5;
    const double left = std::max(-leftmost * perKpa, sketchLabelWidth("第20层", text)) + text * 2;
    const double top = text * 2;
    const auto x = [&](double v) { return left + v * perKpa; };
    const auto y = [&](double z) { return top + z / H * kDepth; };
    const auto label = [&](double x0, double y0, std::string t) {
        const double w = sketchLabelWidth(t, text);
        s.texts.push_back({x0 + w / 2, y0, std::move(t)});
        return x0 + w;
    };
    double right = x(rightmost);

    // the earth's pieces: each run of compression one outline closed on the axis, tension
    // hatched, the outline through every jump
    SketchPolygon run;
    const auto close = [&] {
        if (run.points.size() > 1) {
            run.points.emplace_back(left, run.points.back().second);
            run.points.insert(run.points.begin(), {left, run.points.front().second});
            s.polygons.push_back(std::move(run));
        }
        run = {};
    };
    const auto part = [&](double z0, double p0, double z1, double p1) {
        if (p0 >= 0 && p1 >= 0) {
            run.points.emplace_back(x(p0), y(z0));
            run.points.emplace_back(x(p1), y(z1));
            return;
        }
        close();
        for (double z = z0 + H / 80; z < z1; z += H / 40) { // tension: level lines to the axis
            s.lines.push_back({x(p0 + (p1 - p0) * (z - z0) / (z1 - z0)), y(z), left, y(z)});
        }
    };
    double previous = 0;
    for (const PressurePiece& piece : p.pieces) {
        const double from = piece.from, to = piece.to, t = piece.top, b = piece.bottom;
        if ((t < 0) != (b < 0) && t != b) {
            const double crossing = from + (to - from) * t / (t - b);
            part(from, t, crossing, 0);
            part(crossing, 0, to, b);
        } else {
            part(from, t, to, b);
        }
        s.lines.push_back({x(previous), y(from), x(t), y(from)});
        s.lines.push_back({x(t), y(from), x(b), y(to)});
        previous = b;
    }
    close();
    s.lines.push_back({x(previous), y(H), left, y(H)});
    s.lines.push_back({left, y(0) - text, left, y(H) + text}); // the wall's back
    s.texts.push_back({left, y(H) + text * 1.9, "H = " + diagramNumber(H) + " m"});
    // each stratum: its name at the axis, a tick at its base, its values at its top and base
    // the outline's right edge at a depth where pieces meet, that a label clears
    const auto edge = [&](double z) {
        double e = left;
        for (const PressurePiece& piece : p.pieces) {
            e = std::max(
                {e, piece.from == z ? x(piece.top) : e, piece.to == z ? x(piece.bottom) : e});
        }
        return e;
    };
    double stratumTop = 0;
    for (std::size_t i = 0; i < p.bounds.size(); ++i) {
        const double base = p.bounds[i];
        const std::string name = "第" + std::to_string(i + 1) + "层";
        label(left - sketchLabelWidth(name, text) - gap, y((stratumTop + base) / 2), name);
        if (i + 1 < p.bounds.size()) {
            s.lines.push_back({left - text * 1.5, y(base), left, y(base)});
        }
        const auto first =
            std::ranges::find(p.pieces, static_cast<int>(i), &PressurePiece::stratum);
        const auto last = std::ranges::find(p.pieces.rbegin(), p.pieces.rend(), static_cast<int>(i),
                                            &PressurePiece::stratum);
        if (first != p.pieces.end()) {
            right = std::max(right, label(edge(stratumTop) + gap, y(stratumTop) + text * 0.6,
                                          diagramNumber(first->top) + " kPa"));
            right = std::max(right, label(edge(base) + gap, y(base) - text * 0.5,
                                          diagramNumber(last->bottom) + " kPa"));
        }
        stratumTop = base;
    }
    // the earth's resultant at its point of action
    const double tail = right + text * 1.5;
    if (p.za) {
        const double ya = y(H - *p.za);
        s.arrows.push_back({tail, ya, left, ya});
        label(tail + gap, ya - text * 0.6, "Ea = " + diagramNumber(p.Ea) + " kN/m");
        right = std::max(
            right, label(tail + gap, ya + text * 0.7, "距墙底 " + diagramNumber(*p.za) + " m"));
    }
    right = std::max(right, tail + sketchLabelWidth("Ea = 0000 kN/m", text) + gap);
    // the water beside it: a triangle from the water table down, its resultant
    if (p.waterDepth) {
        const double axis = right + text * 2;
        const double xw = axis + waterBase * perKpa;
        s.polygons.push_back({{{axis, y(*p.waterDepth)}, {xw, y(H)}, {axis, y(H)}}});
        s.lines.push_back({axis, y(*p.waterDepth) - text, axis, y(H) + text});
        s.lines.push_back({axis, y(*p.waterDepth), xw, y(H)});
        s.lines.push_back({xw, y(H), axis, y(H)});
        label(axis + gap, y(*p.waterDepth) - text * 0.6,
              "水位 " + diagramNumber(*p.waterDepth) + " m");
        right =
            std::max(right, label(xw + gap, y(H) + text * 0.5, diagramNumber(waterBase) + " kPa"));
        if (p.zw) {
            const double yw = y(H - *p.zw);
            const double from = xw + text * 2;
            s.arrows.push_back({from, yw, axis, yw});
            label(from + gap, yw - text * 0.6, "Pw = " + diagramNumber(p.Pw) + " kN/m");
            right = std::max(
                right, label(from + gap, yw + text * 0.7, "距墙底 " + diagramNumber(*p.zw) + " m"));
        }
        s.texts.push_back({(axis + right) / 2, top - text * 1.2, "水压力"});
    }
    s.texts.push_back({left + (x(rightmost) - left) / 2, top - text * 1.2, "土压力"});
    s.width = right + text;
    s.height = y(H) + text * 3;
    return s;
}

} // namespace subprogram
