#include "wallsection.h"

#include "calculators/angles.h"
#include "core/numerictext.h"

#include <algorithm>
#include <cmath>

namespace subprogram {

namespace {

using Point = std::pair<double, double>; // m from the toe's foot, y upward
using Outline = std::vector<Point>;

// Lays a drawing out in millimetres around the wall, y downward, with room for the dimensions.
class Section {
  public:
    // `drop`: of the heel's foot below the toe's, where the base is drawn as a line
    Section(const std::vector<Outline>& blocks, double drop, Sketch& sketch) : s_(sketch) {
        double right = -1e300, top = -1e300;
        left_ = bottom_ = 1e300;
        for (const Outline& block : blocks) {
            for (const auto& [x, y] : block) {
                left_ = std::min(left_, x), right = std::max(right, x);
                bottom_ = std::min(bottom_, y), top = std::max(top, y);
            }
        }
        bottom_ = std::min(bottom_, -drop);
        size_ = std::max(right - left_, top - bottom_);
        top_ = top;
        s_ = Sketch{};
        s_.width = (right - left_ + (kLeft + kRight) * size_) * 1000;
        s_.height = (top - bottom_ + (kTop + kBottom) * size_) * 1000;
        s_.stroke = size_ * 4;
        s_.lineStroke = size_ * 2;
        s_.textSize = size_ * 45;
        for (const Outline& block : blocks) {
            SketchPolygon polygon;
            for (const Point& p : block) {
                polygon.points.push_back(at(p));
            }
            s_.polygons.push_back(std::move(polygon));
        }
    }

    double size() const { return size_; }
    double bottom() const { return bottom_; }
    void text(Point p, const std::string& t) {
        const auto [x, y] = at(p);
        s_.texts.push_back({x, y, t});
    }
    // A dimension from a to b, drawn `off` away (across it, to the left of a → b), with ticks
    // and extension lines from the points it measures, its label beside the middle on the far
    // side, clear of the line.
    void dimension(Point a, Point b, double off, const std::string& label) {
        const double dx = b.first - a.first, dy = b.second - a.second;
        const double length = std::hypot(dx, dy);
        const Point n{-dy / length * off, dx / length * off};
        const Point a2{a.first + n.first, a.second + n.second};
        const Point b2{b.first + n.first, b.second + n.second};
        line(a, {a2.first + n.first * 0.15, a2.second + n.second * 0.15});
        line(b, {b2.first + n.first * 0.15, b2.second + n.second * 0.15});
        line(a2, b2);
        const double t = size_ * 0.02;
        for (const Point& p : {a2, b2}) {
            line({p.first - t, p.second - t}, {p.first + t, p.second + t});
        }
        // half the label's extent across the line: its width beside an upright line
        const double across = std::abs(dy) > std::abs(dx) ? width(label) / 2 : textHeight() * 0.7;
        const double gap = size_ * 0.03 + across;
        text({(a2.first + b2.first) / 2 + n.first / std::abs(off) * gap,
              (a2.second + b2.second) / 2 + n.second / std::abs(off) * gap},
             label);
    }
    void line(Point a, Point b) {
        const auto [x1, y1] = at(a);
        const auto [x2, y2] = at(b);
        s_.lines.push_back({x1, y1, x2, y2});
    }
    void arrow(Point from, Point to) {
        const auto [x1, y1] = at(from);
        const auto [x2, y2] = at(to);
        s_.arrows.push_back({x1, y1, x2, y2});
    }
    // A label's height and (roughly: digits and Latin letters) width, in metres.
    double textHeight() const { return s_.textSize / 1000; }
    double width(const std::string& label) const {
        return static_cast<double>(label.size()) * 0.6 * textHeight();
    }

  private:
    // the room around the wall, in wall sizes: dimensions left, below and above, forces right
    static constexpr double kLeft = 0.5, kRight = 0.55, kTop = 0.2, kBottom = 0.5;

    std::pair<double, double> at(Point p) const {
        return {(p.first - left_ + kLeft * size_) * 1000, (top_ - p.second + kTop * size_) * 1000};
    }

    Sketch& s_;
    double left_ = 0, bottom_ = 0, top_ = 0, size_ = 1;
};

// The rightmost point of the blocks at height y: the back of the wall.
double backAt(const std::vector<Outline>& blocks, double y) {
    double x = 0;
    for (const Outline& outline : blocks) {
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Point& a = outline[i];
            const Point& b = outline[(i + 1) % outline.size()];
            if ((a.second - y) * (b.second - y) <= 0 && a.second != b.second) {
                x = std::max(x, a.first +
                                    (y - a.second) / (b.second - a.second) * (b.first - a.first));
            }
        }
    }
    return x;
}

// The blocks the weight routines take, each where its area and lever put it (m from the toe's
// foot, y upward), with the heel's foot `drop` below the toe's and the wall's `top`; or why the
// sizes make no wall.
struct Blocks {
    std::vector<Outline> outlines;
    double drop = 0, top = 0;
    std::string refusal;
};

} // namespace

std::optional<SectionFault> sectionFault(WallType type, const WallSizes& v, bool followsB) {
    const double b = v.b, b1 = v.b1, Ht = v.Ht, n = v.n;
    const double h1 = v.h1, b2 = v.b2, b3 = v.b3, b4 = v.b4;
    const double b5 = v.b5, h4 = v.h4, x2 = v.x2, x3 = v.x3;
    // the first of the conditions that fails, in the order they are listed
    struct Condition {
        bool holds;
        SectionFault fault;
    };
    const auto first = [](std::initializer_list<Condition> conditions) {
        for (const Condition& c : conditions) {
            if (!c.holds) {
                return std::optional(c.fault);
            }
        }
        return std::optional<SectionFault>();
    };
    if (type == WallType::Upright) {
        const double t = std::tan(radians(Num(v.alpha0)).value());
        const double A = (Ht - b1 * t) / (1 / n + t), B = Ht - b1 * t;
        const double c0 = b - A - b1; // the foot of the face
        return first({
            {b > 0, {"b", "基底宽度 b 应大于0"}},
            {b1 > 0, {"b1", "墙顶宽度 b1 应大于0"}},
            {Ht > 0, {"Ht", "墙体总高 Ht 应大于0"}},
            {n > 0, {"n", "直立式挡墙的墙面坡率应大于0"}},
            {h1 > 0, {"h1", "墙趾台阶高度 h1 应大于0"}},
            {A > 0 && B > 0, {"alpha0", "墙背高度 Ht − b1·tanα0 应大于0：基底倾角 α0 过大"}},
            {c0 >= 0, {"b", "基底宽度 b 小于墙身底宽：墙面之前没有余地（b − A − b1 为负）"}},
            {b2 > 0,
             followsB ? SectionFault{"b", "按基底宽度 b 推定的墙趾台阶宽 b2 = b − A − b1 不大于0"}
                      : SectionFault{"b2", "墙趾台阶宽度 b2 应大于0"}},
            {Ht - b * t > 0, {"alpha0", "墙趾处的墙高 Ht − b·tanα0 应大于0：基底倾角 α0 过大"}},
            {h1 < Ht - b * t, {"h1", "墙趾台阶高度 h1 应小于墙趾处的墙高 Ht − b·tanα0"}},
        });
    }
    if (type == WallType::Shelf) {
        const double hp = Ht - h1 - h4; // h′, the lower wall's height
        return first({
            {b > 0, {"b", "基底宽度 b 应大于0"}},
            {b2 > 0, followsB ? SectionFault{"b5", "按上墙顶宽 b5 与坡率推定的上墙底宽 b2 不大于0"}
                              : SectionFault{"b2", "上墙底宽 b2 应大于0"}},
            {b3 > 0, {"b3", "下墙前部宽度 b3 应大于0"}},
            {b5 > 0, {"b5", "上墙顶宽 b5 应大于0"}},
            {h1 > 0, {"h1", "上墙高度 h1 应大于0"}},
            {h4 > 0, {"h4", "墙趾高度 h4 应大于0"}},
            {hp > 0, {"Ht", "下墙高度 Ht − h1 − h4 应大于0"}},
            {b1 >= 0, {"b1", "墙顶宽度 b1 应不小于0"}},
            {b4 >= 0, {"b4", "墙趾外伸宽度 b4 应不小于0"}},
            {n >= 0, {"n", "墙面坡率应不小于0"}},
            {x2 >= 0, {"x2", "上墙墙背坡率 x2 应不小于0"}},
            {x3 >= 0, {"x3", "下墙墙背坡率 x3 应不小于0"}},
            {b1 + b2 - b3 > 0, {"b3", "下墙前部宽度 b3 应小于 b1 + b2"}},
        });
    }
    return std::nullopt;
}

namespace {

Blocks blocksOf(WallType type, const WallSizes& v) {
    const double b = v.b, b1 = v.b1, Ht = v.Ht, n = v.n;
    const double h1 = v.h1, b2 = v.b2, b3 = v.b3, b4 = v.b4;
    const double b5 = v.b5, h4 = v.h4, x2 = v.x2, x3 = v.x3;
    const double t = std::tan(radians(Num(v.alpha0)).value());
    Blocks result;
    double& drop = result.drop;
    double& top = result.top;
    std::vector<Outline>& blocks = result.outlines;
    if (type == WallType::Upright) {
        drop = b * t;
        top = Ht - drop;
        const double A = (Ht - b1 * t) / (1 / n + t);
        const double c0 = b - A - b1; // the foot of the face
        if (const auto fault = sectionFault(type, v, false)) {
            result.refusal =
                std::string("按所填尺寸不能构成直立式挡墙（") + fault->reason + "），未绘出截面。";
            return result;
        }
        blocks = {
            {{0, 0}, {b2, 0}, {b2 + n * h1, h1}, {n * h1, h1}},             // toe block
            {{c0, -c0 * t}, {b - b1, -(b - b1) * t}, {b - b1, top}},        // front triangle
            {{b - b1, -(b - b1) * t}, {b, -drop}, {b, top}, {b - b1, top}}, // under the top
        };
    } else {
        drop = v.h2;
        top = Ht;
        const double hp = Ht - h1 - h4;         // h′, the lower wall's height
        const double o = hp * n + b4;           // the upper wall's front foot
        const double V = o + b2 - x2 * h1;      // the vertical between blocks 1 and 3
        const double back5 = b4 + b3 + hp * x3; // the top of the lower wall's back
        if (const auto fault = sectionFault(type, v, false)) {
            result.refusal =
                std::string("按所填尺寸不能构成衡重式挡墙（") + fault->reason + "），未绘出截面。";
            return result;
        }
        const double shelf = h4 + hp;
        blocks = {
            // the footing, with block 7 taken from it (or added) beyond the heel
            {{0, 0}, {0, h4}, {b3 + b4, h4}, {b, 0}},
            {{b4, h4}, {b4 + b3, h4}, {o + b3, shelf}, {o, shelf}},                   // 4
            {{b4 + b3, h4}, {back5, shelf}, {back5 - (b1 + b2 - b3), shelf}},         // 5
            {{o, shelf}, {o + b5, shelf}, {o + b5 + n * h1, top}, {o + n * h1, top}}, // 2
            {{V - n * h1, shelf}, {V, shelf}, {V, top}},                              // 1
            {{V, shelf}, {o + b2, shelf}, {V, top}},                                  // 3
        };
    }
    return result;
}

} // namespace

std::optional<double> sectionCentroidHeight(WallType type, const WallSizes& sizes) {
    if (type == WallType::NotChosen) {
        return std::nullopt;
    }
    const Blocks blocks = blocksOf(type, sizes);
    if (!blocks.refusal.empty()) {
        return std::nullopt;
    }
    // each outline's area and first moment by the shoelace formula, summed as the weight sums
    // its blocks
    double area = 0, moment = 0;
    for (const Outline& o : blocks.outlines) {
        double a = 0, m = 0;
        for (std::size_t i = 0; i < o.size(); ++i) {
            const auto& [x1, y1] = o[i];
            const auto& [x2, y2] = o[(i + 1) % o.size()];
            const double cross = x1 * y2 - x2 * y1;
            a += cross / 2;
            m += (y1 + y2) * cross / 6;
        }
        const double sense = a < 0 ? -1 : 1; // either way round
        area += sense * a;
        moment += sense * m;
    }
    if (!(area > 0)) {
        return std::nullopt;
    }
    return moment / area + blocks.drop;
}

// The section is drawn as the blocks the weight routines take, each where its area and lever put
// it, so that the drawing shows what was calculated: where the dimensions disagree (a toe block
// wider than the room before the face), the blocks overlap or part, as they do in the sums. The
// inclined base is a line where no block lies on it.
std::string drawWallSection(WallType type, const WallSizes& v, const WallForces& forcesFormed,
                            Sketch& sketch) {
    if (type == WallType::NotChosen) {
        return "未选择墙型，未绘出截面。";
    }
    const double b = v.b, b1 = v.b1, Ht = v.Ht, n = v.n;
    const double h1 = v.h1, b2 = v.b2, b3 = v.b3, b4 = v.b4;
    const double b5 = v.b5, h4 = v.h4, x2 = v.x2, x3 = v.x3;
    const auto text = [](double value) { return singleToText(static_cast<float>(value)); };
    const Blocks section = blocksOf(type, v);
    if (!section.refusal.empty()) {
        return section.refusal;
    }
    const std::vector<Outline>& blocks = section.outlines;
    const double drop = section.drop, top = section.top;
    Section d(blocks, drop, sketch);
    const double S = d.size();
    // the inclined base, where the weight takes no block: under the toe block of the upright wall
    // and under the whole footing of the shelf type
    const double under = type == WallType::Upright ? blocks[1][0].first : b;
    d.line({0, 0}, {under, -under * drop / b});
    if (type == WallType::Shelf) {
        d.line({b, 0}, {b, -drop});
    }
    d.dimension({0, d.bottom()}, {b, d.bottom()}, -0.24 * S, "b=" + text(b));
    const std::string alpha0 = "α0=" + text(v.alpha0) + "°";
    d.text({b + 0.06 * S + d.width(alpha0) / 2, -drop - 0.07 * S}, alpha0); // beside the heel
    if (type == WallType::Upright) {
        d.dimension({b, -drop}, {b, top}, -0.12 * S, "Ht=" + text(Ht));
        d.dimension({b - b1, top}, {b, top}, 0.06 * S, "b1=" + text(b1));
        d.dimension({0, 0}, {0, h1}, 0.08 * S, "h1=" + text(h1));
        d.dimension({n * h1, h1}, {b2 + n * h1, h1}, 0.05 * S, "b2=" + text(b2));
        const double y = (h1 + top) / 2; // on the face above the toe block
        d.text({b - b1 - n * (top - y) - 0.12 * S, y}, "1:" + text(n));
    } else {
        const double hp = Ht - h1 - h4, shelf = h4 + hp;
        const Point upperFront = blocks[3][0], upperTop = blocks[3][3];
        d.dimension({0, 0}, {0, h4}, 0.08 * S, "h4=" + text(h4));
        d.dimension({0, h4}, {0, shelf}, 0.08 * S, "h′=" + text(hp));
        d.dimension({0, shelf}, {0, top}, 0.08 * S, "h1=" + text(h1));
        d.dimension({0, 0}, {0, top}, 0.3 * S, "Ht=" + text(Ht));
        d.dimension(upperTop, {upperTop.first + b5, top}, 0.06 * S, "b5=" + text(b5));
        d.dimension(upperFront, {upperFront.first + b2, shelf}, -0.05 * S, "b2=" + text(b2));
        d.dimension({b4, h4}, {b4 + b3, h4}, -0.05 * S, "b3=" + text(b3));
        d.dimension({0, h4}, {b4, h4}, 0.05 * S, "b4=" + text(b4));
        const Point back5 = blocks[2][1];
        d.dimension({back5.first - (b1 + b2 - b3), shelf}, back5, 0.05 * S,
                    "b1+b2−b3=" + text(b1 + b2 - b3));
        d.text({upperFront.first + b2 - x2 * h1 / 2 + 0.1 * S, shelf + h1 / 2}, "1:" + text(x2));
        d.text({b4 + b3 + x3 * hp / 2 + 0.1 * S, h4 + hp / 2}, "1:" + text(x3));
        d.text({b4 + n * hp / 2 - 0.1 * S, h4 + hp / 2}, "1:" + text(n));
    }
    // the forces of the calculation, when it formed them: named at their arrows, their values
    // below the drawing, where no line crosses them
    const std::string &G = forcesFormed.G, &x0 = forcesFormed.x0, &Ea = forcesFormed.Ea;
    std::string forces;
    if (!G.empty() && !x0.empty()) {
        const double x = textToDouble(x0), y = top * 0.3;
        d.arrow({x, y + 0.15 * S}, {x, y});
        d.text({x - 0.04 * S, y + 0.12 * S}, "G");
        d.dimension({0, d.bottom()}, {x, d.bottom()}, -0.1 * S, "x0=" + x0);
        forces = "G=" + roundedText(textToDouble(G)) + " kN/m";
    }
    if (!Ea.empty()) {
        const double H = v.H;
        const double z = H / 3 + Ht - H; // above the heel
        const double y = -drop + z, x = backAt(blocks, y);
        const double theta = (90 + v.delta - v.alpha) * kPiDecimal / 180; // below horizontal
        const double L = 0.28 * S;
        d.arrow({x + L * std::cos(theta), y + L * std::sin(theta)}, {x, y});
        d.text({x + L * 0.8, y + L * std::sin(theta) + 0.06 * S}, "Ea");
        forces +=
            (forces.empty() ? "" : "    ") + ("Ea=" + roundedText(textToDouble(Ea)) + " kN/m");
    }
    if (!forces.empty()) {
        d.text({b / 2, d.bottom() - 0.4 * S}, forces);
    }
    return {};
}

} // namespace subprogram
