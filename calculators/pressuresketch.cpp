// The pressure diagram drawn: shapes and labels, judged by looking (see the screenshots).
#include "pressurediagram.h"

#include <algorithm>
#include <cmath>

namespace subprogram {

namespace {

// The depth axis' length in the drawing's units, whatever the height: the diagram is drawn to its
// own scales of depth and of pressure (about 300 pixels in a report).
constexpr double kDepth = 4500;

} // namespace

Sketch drawPressureDiagram(const PressureDiagram& d, const DiagramLabels& labels) {
    if (d.layered) {
        return drawLayeredDiagram(*d.layered, d.height);
    }
    Sketch s;
    const double H = d.height > 0 ? d.height : 1;
    const double depth = kDepth;
    const double text = depth / 22; // a label's height
    s.textSize = text;
    s.stroke = depth / 300;
    s.lineStroke = depth / 600;
    const auto width = [text](const std::string& label) { return sketchLabelWidth(label, text); };
    double largest = 0, leftmost = 0, rightmost = 0;
    for (const double p : d.values) {
        largest = std::max(largest, std::abs(p));
        leftmost = std::min(leftmost, p);
        rightmost = std::max(rightmost, p);
    }
    // the wider side of the diagram half the depth, the other in proportion
    const double perKpa = largest > 0 ? depth * 0.5 / largest : 0;
    const double gap = text * 0.5;
    const std::string heightLabel = "H = " + diagramNumber(H) + " m";
    const std::string tensionLabel = "拉力区";
    const std::string leverLabel =
        labels.checkLever ? "H/3 = " + diagramNumber(*labels.checkLever) + " m" : "";
    const double leftSide =
        std::max({-leftmost * perKpa + (d.tension ? width(tensionLabel) + gap : 0),
                  width(heightLabel) / 2, width(leverLabel) + text * 1.5}) +
        text;
    const double left = leftSide;
    const double top = text * 2;
    const auto x = [&](double p) { return left + p * perKpa; };
    const auto y = [&](double z) { return top + z / H * depth; };
    // a label starting at x (its point is its centre)
    const auto label = [&](double x0, double y0, std::string t) {
        const double w = width(t);
        s.texts.push_back({x0 + w / 2, y0, std::move(t)});
        return x0 + w;
    };
    double right = x(rightmost);

    // the compressed part filled, each run of p > 0 one outline closed on the axis
    SketchPolygon part;
    const auto close = [&] {
        if (part.points.size() > 1) {
            part.points.emplace_back(left, part.points.back().second);
            part.points.insert(part.points.begin(), {left, part.points.front().second});
            s.polygons.push_back(std::move(part));
        }
        part = {};
    };
    for (std::size_t i = 0; i < d.values.size(); ++i) {
        if (d.values[i] > 0) {
            part.points.emplace_back(x(d.values[i]), y(d.depths[i]));
        } else {
            if (!part.points.empty()) {
                part.points.emplace_back(left, y(d.zeroDepth.value_or(d.depths[i])));
            }
            close();
        }
        if (i + 1 < d.values.size() && d.values[i] <= 0 && d.values[i + 1] > 0 && d.zeroDepth) {
            part.points.emplace_back(left, y(*d.zeroDepth));
        }
    }
    close();
    // the outline of both parts, closed on the axis at the top and at the base
    for (std::size_t i = 0; i + 1 < d.values.size(); ++i) {
        s.lines.push_back({x(d.values[i]), y(d.depths[i]), x(d.values[i + 1]), y(d.depths[i + 1])});
    }
    s.lines.push_back({x(d.base), y(H), left, y(H)});
    s.lines.push_back({x(d.top), y(0), left, y(0)});
    // the tension zone hatched: level lines from the axis to the diagram
    if (d.tension) {
        const double step = H / 30;
        double lowest = H, highest = 0;
        for (double z = step / 2; z < H; z += step) {
            const auto below = std::upper_bound(d.depths.begin(), d.depths.end(), z);
            const auto i = static_cast<std::size_t>(below - d.depths.begin());
            if (i == 0 || i >= d.depths.size()) {
                continue;
            }
            const double t = (z - d.depths[i - 1]) / (d.depths[i] - d.depths[i - 1]);
            const double p = d.values[i - 1] + t * (d.values[i] - d.values[i - 1]);
            if (p < 0) {
                s.lines.push_back({x(p), y(z), left, y(z)});
                lowest = std::min(lowest, z);
                highest = std::max(highest, z);
            }
        }
        label(x(leftmost) - width(tensionLabel) - gap, y((lowest + highest) / 2), tensionLabel);
    }
    // the wall's back: the depth axis, with the height under it
    s.lines.push_back({left, y(0) - text, left, y(H) + text});
    s.texts.push_back({left, y(H) + text * 1.9, heightLabel});
    // the values at the top, at z₀ and at the base, beside the diagram
    right = std::max(right, label(std::max(x(d.top), left) + gap, y(0) - text * 0.5,
                                  diagramNumber(d.top) + " kPa"));
    right = std::max(right, label(std::max(x(d.base), left) + gap, y(H) + text * 0.5,
                                  diagramNumber(d.base) + " kPa"));
    if (d.zeroDepth) {
        const double tick = left + text * 1.5;
        s.lines.push_back({left, y(*d.zeroDepth), tick, y(*d.zeroDepth)});
        right = std::max(right, label(tick + gap, y(*d.zeroDepth) - text * 0.1,
                                      "z₀ = " + diagramNumber(*d.zeroDepth) + " m"));
    }
    // the point of action: the resultant's arrow onto the wall at the centroid, named at its tail
    if (d.compressedArea > 0) {
        const double ya = y(d.actionDepth);
        const double tail = x(rightmost) + text * 2;
        s.arrows.push_back({tail, ya, left, ya});
        const std::string name = labels.resultant.empty() ? "合力" : labels.resultant;
        right = std::max(
            right,
            label(tail + gap, ya - text * 0.6,
                  name + " = " + diagramNumber(labels.resultantValue.value_or(d.area)) + " kN/m"));
        right = std::max(right, label(tail + gap, ya + text * 0.7,
                                      "距墙底 " + diagramNumber(H - d.actionDepth) + " m"));
    }
    // the lever the wall's checks take
    if (labels.checkLever) {
        const double yl = y(H - *labels.checkLever);
        s.lines.push_back({left - text * 1.2, yl, left + text * 1.2, yl});
        label(left - text * 1.2 - gap - width(leverLabel), yl, leverLabel);
    }
    s.width = right + text;
    s.height = y(H) + text * 3;
    return s;
}

std::string diagramNote(const PressureDiagram& d, const DiagramLabels& labels) {
    if (d.layered) {
        std::string note =
            "按比例绘出，深度 z 自墙顶起算；左为土压力（各层顶、底的值），右为水压力，"
            "箭头为合力及其作用点。";
        if (d.tension) {
            note += d.layered->tensionCounted ? "拉力区（阴影）计入合力。"
                                              : "拉力区（阴影）不计入合力，作用点取压力区形心。";
        }
        return note;
    }
    std::string note = "按比例绘出，深度 z 自墙顶起算；图形面积 = " + diagramNumber(d.area);
    if (!labels.resultant.empty()) {
        note += "，即 " + labels.resultant + "（p(z) = dE(z)/dz，E(z) 为以 z 代 H 的合力公式）";
    }
    note += "。";
    if (d.tension) {
        note += "拉力区（p < 0，阴影）的面积为负，合力公式计入它：压力区面积 " +
                diagramNumber(d.compressedArea) + "，作用点取压力区形心。";
    } else {
        note += "作用点为图形形心。";
    }
    if (labels.checkLever) {
        note += "抗倾覆与基底应力验算取土压力作用于墙底以上 H/3 处。";
    }
    return note;
}

} // namespace subprogram
