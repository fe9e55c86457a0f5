#include "pressurediagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace subprogram {

namespace {

// Degrees to radians with the tool's own π, as the routines convert them.
double rad(double degrees) {
    return degrees * 3.1415926 / 180;
}

} // namespace

PressureLaw PressureLaw::coulomb(double gamma, double phi, double c, double q, double delta,
                                 double beta, double alpha) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), f = rad(phi);
    const double s1 = b + a, s2 = a - d, w = b + a - f - d, s3 = d + f, s4 = f - b;
    PressureLaw law;
    law.kind_ = Kind::Coulomb;
    law.gamma_ = gamma;
    law.k1_ = 2 * q * std::sin(a) * std::cos(b) / (gamma * std::sin(s1));
    law.k2_ = 2 * c / gamma;
    law.T_ = std::sin(s1) * std::sin(s2) + std::sin(s4) * std::sin(s3);
    law.X_ = 2 * std::sin(a) * std::cos(f) * std::cos(w);
    law.Y_ = std::sin(a) * std::cos(f);
    law.P1_ = std::sin(s1) * std::sin(s4);
    law.P2_ = std::sin(s2) * std::sin(s3);
    law.F_ = std::sin(s1) / (std::sin(a) * std::sin(a) * std::sin(w) * std::sin(w));
    return law;
}

PressureLaw PressureLaw::limitedFill(double gamma, double deltaR, double c, double delta,
                                     double theta, double beta, double alpha) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), dr = rad(deltaR), t = rad(theta);
    const double A = std::sin(b + a) / std::sin(a - d + t - dr) / std::sin(t - b);
    const double B = std::sin(t + a) * std::sin(t - dr) / std::sin(a) / std::sin(a);
    PressureLaw law;
    law.kind_ = Kind::LimitedFill;
    law.slope_ = gamma * A * B;
    law.offset_ = -A * c * std::cos(dr) / std::sin(a); // ½γA·(2c/γ)·cos δr / sin α
    return law;
}

PressureLaw PressureLaw::atRest(double phi, double q, double gamma) {
    const double K0 = 1 - std::sin(rad(phi));
    PressureLaw law;
    law.kind_ = Kind::AtRest;
    law.slope_ = gamma * K0;
    law.offset_ = q * K0;
    return law;
}

double PressureLaw::at(double z) const {
    if (kind_ != Kind::Coulomb) {
        return slope_ * z + offset_;
    }
    const double u1 = (z + k1_) * P1_ + k2_ * Y_, u2 = (z + k1_) * P2_ + k2_ * Y_;
    const double root = std::sqrt(u1 * u2);
    const double G = (z + k1_) * T_ + k2_ * X_ - 2 * root;
    // G′ = T − (P₁U₂ + U₁P₂)/√(U₁U₂); where U₁U₂ = 0 without cohesion, U₁ : U₂ = P₁ : P₂ and
    // the quotient is its limit, 2√(P₁P₂)
    const double slope = T_ - (root > 0 ? (P1_ * u2 + u1 * P2_) / root : 2 * std::sqrt(P1_ * P2_));
    return gamma_ * F_ * (G + z * slope) / 2;
}

double PressureLaw::resultant(double z) const {
    if (kind_ != Kind::Coulomb) {
        return slope_ * z * z / 2 + offset_ * z;
    }
    const double u1 = (z + k1_) * P1_ + k2_ * Y_, u2 = (z + k1_) * P2_ + k2_ * Y_;
    return gamma_ * z * F_ * ((z + k1_) * T_ + k2_ * X_ - 2 * std::sqrt(u1 * u2)) / 2;
}

PressureDiagram pressureDiagram(const PressureLaw& law, double height, int steps) {
    PressureDiagram d;
    d.height = height;
    steps = std::max(steps, 1);
    for (int i = 0; i <= steps; ++i) {
        const double z = i == steps ? height : height * i / steps;
        d.depths.push_back(z);
        d.values.push_back(law.at(z));
    }
    d.top = d.values.front();
    d.base = d.values.back();
    d.area = law.resultant(height);
    // z₀ by bisection where p changes sign over the height (p grows with depth: the tension is
    // above)
    if ((d.top < 0) != (d.base < 0)) {
        double low = 0, high = height;
        for (int i = 0; i < 200 && high - low > 1e-12 * height; ++i) {
            const double mid = (low + high) / 2;
            ((law.at(mid) < 0) == (d.top < 0) ? low : high) = mid;
        }
        d.zeroDepth = (low + high) / 2;
    }
    // the compressed part's area and centroid by Simpson's rule over each part where p keeps
    // its sign (split at z₀, where the diagram has a kink when cut to p > 0)
    const auto integrate = [&law](double from, double to, auto&& weight) {
        constexpr int kParts = 2000; // even
        const double h = (to - from) / kParts;
        double sum = 0;
        for (int i = 0; i <= kParts; ++i) {
            const double z = from + h * i;
            const double p = std::max(law.at(z), 0.0);
            sum += (i == 0 || i == kParts ? 1 : i % 2 ? 4 : 2) * weight(z) * p;
        }
        return sum * h / 3;
    };
    const double from = d.zeroDepth && d.top < 0 ? *d.zeroDepth : 0;
    const double to = d.zeroDepth && d.base < 0 ? *d.zeroDepth : height;
    d.tension = d.top < 0 || d.base < 0;
    const bool compressed = !(d.top <= 0 && d.base <= 0);
    if (compressed && to > from) {
        d.compressedArea = integrate(from, to, [](double) { return 1.0; });
        const double moment = integrate(from, to, [](double z) { return z; });
        d.actionDepth = d.compressedArea > 0 ? moment / d.compressedArea : (from + to) / 2;
    }
    return d;
}

std::string diagramNumber(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return value == 0 ? "0" : "—";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    std::string s = text;
    if (s.find('e') != std::string::npos) {
        std::snprintf(text, sizeof text, "%.3e", value);
        return text;
    }
    return s == "-0" ? "0" : s;
}

namespace {

// The depth axis' length in the drawing's units, whatever the height: the diagram is drawn to its
// own scales of depth and of pressure (about 300 pixels in a report).
constexpr double kDepth = 4500;

} // namespace

Sketch drawPressureDiagram(const PressureDiagram& d, const DiagramLabels& labels) {
    Sketch s;
    const double H = d.height > 0 ? d.height : 1;
    const double depth = kDepth;
    const double text = depth / 22; // a label's height
    s.textSize = text;
    s.stroke = depth / 300;
    s.lineStroke = depth / 600;
    // a label's width, roughly: a Chinese character square, the rest narrower
    const auto width = [text](const std::string& label) {
        double w = 0;
        for (const char c : label) {
            const auto byte = static_cast<unsigned char>(c);
            w += byte >= 0xE0 ? 1.0 : byte >= 0xC0 ? 0.6 : byte >= 0x80 ? 0 : 0.58;
        }
        return w * text;
    };
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
