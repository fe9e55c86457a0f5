#include "gravitywall.h"

#include "calculators/angles.h"
#include "calculators/earthpressure.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace subprogram {

namespace {

// The base-stress check takes its right angle as 3.14159 ÷ 2, a shorter π than the angles'.
constexpr double kPiRightAngle = 3.14159;

// Narrows a named value to a single where the method stores it, and notes it in the trace.
template <FormulaNumber Number> class Store : public Keep<Number> {
  public:
    using Keep<Number>::Keep;
    Number operator()(const char* name, Unnamed<Number> value) const {
        const Number stored = single(value);
        if (Trace* const steps = this->trace()) {
            steps->record(name, stored.value(), true);
        }
        return stored;
    }
};

} // namespace

WallWeight uprightWallWeight(float n, float Ht, float h1, float alpha0, float b1, float b2,
                             float gammaW, float b, Trace* trace) {
    return evaluate<Store>(trace, "uprightWallWeight", [&]<typename Num>(Store<Num> store) {
        const Num r0 = store("r0", radians(Num(alpha0)));
        const Num t = store("t", tan(r0));
        const Num numerator = Num(Ht) - b1 * t;
        const Num A = store("A", numerator / (1 / Num(n) + t));
        const Num B = store("B", Ht - b1 * t);
        const Num W2 = store("W2", (Num(Ht) + Ht - b1 * t) * b1 * gammaW / 2);
        const Num W1 = store("W1", A * B * gammaW / 2);
        const Num W3 = store("W3", Num(b2) * h1 * gammaW);
        const Num L3 = store("L3", (Num(n) * h1 + b2) / 2);
        const Num m2 = store("m2", ((Num(Ht) + Ht + B) * b1 / 3) / (B + Ht));
        const Num m1 = store("m1", Num(2) / 3 * A);
        const Num c0 = store("c0", b - A - b1);
        const Num G = store("G", W1 + W2 + W3);
        const Num x0 = store("x0", ((m2 + c0 + A) * W2 + (c0 + m1) * W1 + W3 * L3) / G);
        return WallWeight{static_cast<float>(G.value()), static_cast<float>(x0.value())};
    });
}

WallWeight shelfWallWeight(float n, float x2, float x3, float h1, float Ht, float h4, float b1,
                           float b2, float b3, float b4, float b5, float b, float gammaW,
                           Trace* trace) {
    return evaluate<Store>(trace, "shelfWallWeight", [&]<typename Num>(Store<Num> store) {
        const Num hp = Num(Ht) - h1 - h4; // h′, the height of the lower wall, never stored

        const Num A1 = store("A1", Num(n) * h1 * h1 / 2);
        const Num L1 = store("L1", hp * n + b4 + b2 - x2 * Num(h1) - (Num(h1) / 3) * n);
        const Num A2 = store("A2", Num(b5) * h1);
        const Num L2 = store("L2", hp * n + b4 + (Num(n) * h1 + b5) / 2);
        const Num A3 = store("A3", Num(x2) * h1 * h1 / 2);
        const Num L3 = store("L3", hp * n + b4 + b2 - (Num(x2) * h1 + Num(x2) * h1) / 3);
        const Num A4 = store("A4", hp * b3);
        const Num L4 = store("L4", (hp * n + b3) / 2 + b4);
        const Num A5 = store("A5", hp * (Num(b1) + b2 - b3) / 2);
        // moment of block 5 about the vertical through b4 + b3: two right triangles of height h′
        const Num outer = hp * x3;
        const Num inner = hp * x3 - b2 - b1 + b3;
        const Num M5 = (hp * x3 * hp * 0.5 / 3) * outer - (inner * hp * 0.5 / 3) * inner;
        const Num L5 = store("L5", M5 / A5 + b4 + b3);
        const Num A6 = store("A6", Num(b) * h4);
        const Num L6 = store("L6", Num(b) / 2);
        const Num A7 = store("A7", (Num(b3) + b4 - b) * h4 / 2);
        const Num L7 = store("L7", (Num(b3) + b4 - b) / 2 + b);

        const Num A = store("A", A1 + A2 + A3 + A4 + A5 + A6 + A7);
        const Num x0 =
            store("x0", (A1 * L1 + A2 * L2 + A3 * L3 + A4 * L4 + A5 * L5 + A6 * L6 + A7 * L7) / A);
        const Num G = store("G", gammaW * A);
        return WallWeight{static_cast<float>(G.value()), static_cast<float>(x0.value())};
    });
}

float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu,
                        Trace* trace) {
    return evaluate<Store>(trace, "antiSlidingFactor", [&]<typename Num>(Store<Num> store) {
        const Num r0 = store("r0", radians(Num(alpha0)));
        const Num ra = store("rα", radians(Num(alpha)));
        const Num rd = store("rδ", radians(Num(delta)));
        const Num Gn = store("Gn", G * cos(r0));
        const Num Gt = store("Gt", G * sin(r0));
        const Num psi = ra - r0 - rd;
        const Num Eat = store("Eat", Ea * sin(psi));
        const Num Ean = store("Ean", Ea * cos(psi));
        const Num numerator = (Gn + Ean) * mu;
        return static_cast<float>(store("Ks", numerator / (Eat - Gt)).value());
    });
}

float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0, Trace* trace) {
    return evaluate<Store>(trace, "antiOverturningFactor", [&]<typename Num>(Store<Num> store) {
        const Num rd = store("rδ", radians(Num(delta)));
        const Num r0 = store("r0", radians(Num(alpha0)));
        const Num ra = store("rα", radians(Num(alpha)));
        const Num Eax = store("Eax", Ea * sin(ra - rd));
        const Num Eaz = store("Eaz", Ea * cos(ra - rd));
        const Num xf = store("xf", b - z / tan(ra));
        const Num zf = store("zf", z - b * tan(r0));
        return static_cast<float>(store("Kt", (x0 * Num(G) + xf * Eaz) / (zf * Eax)).value());
    });
}

float earthPressureLeverHeight(float H, float Ht, Trace* trace) {
    return evaluate<Store>(trace, "leverHeight", [&]<typename Num>(Store<Num> store) {
        return static_cast<float>(store("z", Num(H) / 3 + Ht - H).value());
    });
}

BaseStress baseStress(float G, float H, float Ht, float h2, float x0, float delta, float alpha,
                      float Ea, float b, Trace* trace) {
    return evaluate<Store>(trace, "baseStress", [&]<typename Num>(Store<Num> store) {
        const Num zE = store("zE", Num(H) / 3 + Ht - H - h2);
        const Num ra = store("rα", radians(Num(alpha)));
        const Num rd = store("rδ", radians(Num(delta)));
        const Num theta = Num(kPiRightAngle) / 2 + rd - ra; // inclination of Ea, not stored
        const Num N = store("N", Ea * sin(theta) + G);
        const Num c = store("c", (G * Num(x0) - Ea * cos(theta) * zE + Ea * sin(theta) * b) / N);
        const Num e = store("e", b / 2 - c);
        const Num sixth = single(Num(b) / 6);
        Num pmax;
        Num pmin;
        if (Trace* const steps = store.trace()) {
            steps->record("b/6", sixth.value(), true);
            steps->remark(e > sixth
                              ? "e > b/6：合力在基底中部三分之一以外（墙趾一侧），按三角形分布计算"
                              : "e ≤ b/6：合力在基底中部三分之一以内，按线性分布计算");
        }
        if (e > sixth) { // outside the middle third, towards the toe
            pmax = store("pmax", (N + N) / 3 / c);
            pmin = store("pmin", 0);
        } else {
            const Num toeFactor = e * 6 / b + 1;
            pmax = store("pmax", toeFactor * (N / b));
            const Num heelFactor = 1 - e * 6 / b;
            pmin = store("pmin", heelFactor * (N / b));
        }
        return BaseStress{static_cast<float>(pmax.value()), static_cast<float>(pmin.value()),
                          static_cast<float>(e.value())};
    });
}

void calculateGravityWall(WallType type, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const float x2 = form.readSingle("Text26");
    const float x3 = form.readSingle("Text27");
    const float b4 = form.readSingle("Text23");
    const float b5 = form.readSingle("Text24");
    const float h4 = form.readSingle("Text25");

    const float alpha0 = form.readSingle("Text2");
    const float alphaS = form.readSingle("Text3");
    const float deltaS = form.readSingle("Text4");
    const float mu = form.readSingle("Text5");
    const float b = form.readSingle("Text8");
    const float gammaW = form.readSingle("Text11");
    const float b1 = form.readSingle("Text12");
    const float b2 = form.readSingle("Text22");
    const float b3 = form.readSingle("Text21");
    const float Ht = form.readSingle("Text14");
    const float n = form.readSingle("Text15");
    const float HS = form.readSingle("hx");
    const float h1 = form.readSingle("Text19");
    const float h2 = form.readSingle("Text20");

    const double alpha = form.readDouble("Text3");
    const double beta = form.readDouble("Bx");
    const double theta = textToDouble("45"); // the window has no slip-surface field
    const double delta = form.readDouble("Text4");
    const double q = form.readDouble("Qx");
    const double c = form.readDouble("Cx");
    const double phi = form.readDouble("Fix");
    const double gamma = form.readDouble("Yx");
    const double H = form.readDouble("hx");

    // the earth pressure works on the double readings, the wall on the single ones
    const ActivePressure earth =
        coulombActive(H, gamma, phi, c, q, delta, theta, beta, alpha, trace);
    form.setDouble("Text1", earth.Ka);
    form.setDouble("Text6", earth.Ea);
    const float Ea = toSingle(earth.Ea);
    if (trace) {
        trace->record("Ea (single)", Ea, true);
    }

    WallWeight wall{0, 0};
    switch (type) {
    case WallType::Upright:
        wall = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, gammaW, b, trace);
        break;
    case WallType::Shelf:
        wall = shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW, trace);
        break;
    case WallType::NotChosen:
        break; // the checks still run, with no weight
    }
    form.setSingle("Text7", wall.G);
    form.setSingle("Text13", wall.x0);

    const float Ks = antiSlidingFactor(wall.G, Ea, alpha0, alphaS, deltaS, mu, trace);
    const float z = earthPressureLeverHeight(HS, Ht, trace);
    const float Kt =
        antiOverturningFactor(wall.G, Ea, alpha0, z, alphaS, deltaS, b, wall.x0, trace);
    form.setSingle("Text10", Kt);
    form.setSingle("Text9", Ks);

    const BaseStress base = baseStress(wall.G, HS, Ht, h2, wall.x0, deltaS, alphaS, Ea, b, trace);
    form.setSingle("Text16", base.pmax);
    form.setSingle("Text17", base.e);
    form.setSingle("Text18", base.pmin);
}

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

std::string written(const CalculationRecord& record, std::string_view field) {
    for (auto it = record.writes.rbegin(); it != record.writes.rend(); ++it) {
        if (it->first == field) {
            return it->second;
        }
    }
    return {};
}

} // namespace

// The section is drawn as the blocks the weight routines take, each where its area and lever put
// it, so that the drawing shows what was calculated: where the dimensions disagree (a toe block
// wider than the room before the face), the blocks overlap or part, as they do in the sums. The
// inclined base is a line where no block lies on it.
std::string wallSection(WallType type, const Form& form, const CalculationRecord& record,
                        Sketch& sketch) {
    if (type == WallType::NotChosen) {
        return "未选择墙型，未绘出截面。";
    }
    std::map<std::string_view, float> v;
    try {
        for (const std::string_view name :
             {"Text2", "Text3", "Text4", "Text8", "Text12", "Text14", "Text15", "Text19", "Text20",
              "Text21", "Text22", "Text23", "Text24", "Text25", "Text26", "Text27", "hx"}) {
            v[name] = form.readSingle(name);
        }
    } catch (const CalcError&) {
        return "有输入无法读取，未绘出截面。";
    }
    const double b = v["Text8"], b1 = v["Text12"], Ht = v["Text14"], n = v["Text15"];
    const double h1 = v["Text19"], b2 = v["Text22"], b3 = v["Text21"], b4 = v["Text23"];
    const double b5 = v["Text24"], h4 = v["Text25"], x2 = v["Text26"], x3 = v["Text27"];
    const double t = std::tan(radians(Num(v["Text2"])).value());
    const auto text = [](double value) { return singleToText(static_cast<float>(value)); };
    std::vector<Outline> blocks;
    double drop = 0, top = 0; // of the heel below the toe's foot; of the top above it
    if (type == WallType::Upright) {
        drop = b * t;
        top = Ht - drop;
        const double A = (Ht - b1 * t) / (1 / n + t), B = Ht - b1 * t;
        const double c0 = b - A - b1; // the foot of the face
        if (b <= 0 || b1 <= 0 || Ht <= 0 || h1 <= 0 || b2 <= 0 || n <= 0 || A <= 0 || B <= 0 ||
            c0 < 0 || h1 >= top) {
            return "按所填尺寸（b、b1、b2、Ht、n、h1、α0）不能构成直立式挡墙，未绘出截面。";
        }
        blocks = {
            {{0, 0}, {b2, 0}, {b2 + n * h1, h1}, {n * h1, h1}},             // toe block
            {{c0, -c0 * t}, {b - b1, -(b - b1) * t}, {b - b1, top}},        // front triangle
            {{b - b1, -(b - b1) * t}, {b, -drop}, {b, top}, {b - b1, top}}, // under the top
        };
    } else {
        drop = v["Text20"];
        top = Ht;
        const double hp = Ht - h1 - h4;         // h′, the lower wall's height
        const double o = hp * n + b4;           // the upper wall's front foot
        const double V = o + b2 - x2 * h1;      // the vertical between blocks 1 and 3
        const double back5 = b4 + b3 + hp * x3; // the top of the lower wall's back
        if (b <= 0 || b2 <= 0 || b3 <= 0 || b5 <= 0 || h1 <= 0 || h4 <= 0 || hp <= 0 || b1 < 0 ||
            b4 < 0 || n < 0 || x2 < 0 || x3 < 0 || b1 + b2 - b3 <= 0) {
            return "按所填尺寸（b、b1～b5、h1、h4、Ht、n、x2、x3）不能构成衡重式挡墙，未绘出截面。";
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
    const std::string alpha0 = "α0=" + text(v["Text2"]) + "°";
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
    const std::string G = written(record, "Text7"), x0 = written(record, "Text13");
    const std::string Ea = written(record, "Text6");
    std::string forces;
    if (!G.empty() && !x0.empty()) {
        const double x = textToDouble(x0), y = top * 0.3;
        d.arrow({x, y + 0.15 * S}, {x, y});
        d.text({x - 0.04 * S, y + 0.12 * S}, "G");
        d.dimension({0, d.bottom()}, {x, d.bottom()}, -0.1 * S, "x0=" + x0);
        forces = "G=" + roundedText(textToDouble(G)) + " kN";
    }
    if (!Ea.empty()) {
        const double H = v["hx"];
        const double z = H / 3 + Ht - H; // above the heel
        const double y = -drop + z, x = backAt(blocks, y);
        const double theta = (90 + v["Text4"] - v["Text3"]) * kPiDecimal / 180; // below horizontal
        const double L = 0.28 * S;
        d.arrow({x + L * std::cos(theta), y + L * std::sin(theta)}, {x, y});
        d.text({x + L * 0.8, y + L * std::sin(theta) + 0.06 * S}, "Ea");
        forces += (forces.empty() ? "" : "    ") + ("Ea=" + roundedText(textToDouble(Ea)) + " kN");
    }
    if (!forces.empty()) {
        d.text({b / 2, d.bottom() - 0.4 * S}, forces);
    }
    return {};
}

namespace {

// clang-format off
const Field kFields[] = {
    {"alpha",   "Text3",  "挡墙墙背倾角α(度):",         "90",    "°",     "wall back inclination",                     "α", Conversion::DoubleAndSingle},
    {"delta",   "Text4",  "岩土对挡墙墙背摩擦角δ(度):",  "10",    "°",     "friction angle between soil and wall back", "δ", Conversion::DoubleAndSingle},
    {"gamma",   "Yx",     "土体重度Y(KN/M3):",          "20",    "kN/m³", "unit weight of the soil",                   "γ"},
    {"H",       "hx",     "挡土墙高度H(米):",           "2.6",   "m",     "height of the retained soil",               "H", Conversion::DoubleAndSingle},
    {"phi",     "Fix",    "土的内摩擦角Fi(度):",        "30",    "°",     "internal friction angle of the soil",       "φ"},
    {"q",       "Qx",     "地表均布荷载标准值q(KPa):",   "10",    "kPa",   "uniform surface load",                      "q"},
    {"c",       "Cx",     "土的粘聚力c(KPa):",          "0",     "kPa",   "cohesion of the soil",                      "c"},
    {"beta",    "Bx",     "填土表面与水平面的夹角B:",    "0",     "°",     "angle between backfill surface and horizontal", "β"},
    {"alpha0",  "Text2",  "挡墙基底倾角α0(度):",        "11.3",  "°",     "base inclination",                          "α<sub>0</sub>", Conversion::Single},
    {"mu",      "Text5",  "岩土对挡墙基底的摩擦系数:",    "0.3",   "",      "friction coefficient between soil and base", "μ", Conversion::Single},
    {"b",       "Text8",  "基底的水平投影宽度b(m):",     "1.49",  "m",     "horizontal projected width of the base",    "b", Conversion::Single},
    {"gamma_w", "Text11", "挡墙材料重度(KN/M):",        "24",    "kN/m³", "unit weight of the wall material",          "γ<sub>w</sub>", Conversion::Single},
    {"b1",      "Text12", "墙顶宽度b1(M):",             "0.5",   "m",     "top width",                                 "b<sub>1</sub>", Conversion::Single},
    {"Ht",      "Text14", "墙体总高H(M):",              "4",     "m",     "total wall height",                         "H<sub>t</sub>", Conversion::Single},
    {"n",       "Text15", "墙面坡率:",                  "0.05",  "",      "batter of the wall face",                   "n", Conversion::Single},
    {"x2",      "Text26", "x2:",                       "0.35",  "",      "back slope of the upper wall (shelf type)", "x<sub>2</sub>", Conversion::Single, {}, {}, 0, "上墙墙背坡率"},
    {"h1",      "Text19", "h1(m):",                    "2",     "m",     "toe block height / upper wall height",      "h<sub>1</sub>", Conversion::Single, {}, {}, 0, "墙趾台阶高度（衡重式为上墙高度）"},
    {"h2",      "Text20", "h2(m):",                    "0.298", "m",     "rise of the base from heel to toe",         "h<sub>2</sub>", Conversion::Single, {}, {}, 0, "墙踵与墙趾的高差"},
    {"b2",      "Text22", "b2(m):",                    "1.30",  "m",     "toe block width / upper wall bottom width", "b<sub>2</sub>", Conversion::Single, {}, {}, 0, "墙趾台阶宽度（衡重式为上墙底宽）"},
    {"b3",      "Text21", "b3(m):",                    "1.03",  "m",     "front band of the lower wall (shelf type)", "b<sub>3</sub>", Conversion::Single, {}, {}, 0, "下墙前部宽度"},
    {"b4",      "Text23", "b4(m):",                    "0.45",  "m",     "toe projection of the footing (shelf type)", "b<sub>4</sub>", Conversion::Single, {}, {}, 0, "墙趾外伸宽度"},
    {"b5",      "Text24", "b5(m):",                    ".5",    "m",     "top width of the upper wall (shelf type)",  "b<sub>5</sub>", Conversion::Single, {}, {}, 0, "上墙顶宽"},
    {"h4",      "Text25", "h4(m):",                    "0.65",  "m",     "footing height (shelf type)",               "h<sub>4</sub>", Conversion::Single, {}, {}, 0, "墙趾高度"},
    {"x3",      "Text27", "x3:",                       "0.25",  "",      "back slope of the lower wall (shelf type)", "x<sub>3</sub>", Conversion::Single, {}, {}, 0, "下墙墙背坡率"},
};

const Result kResults[] = {
    {"Text1",  "Ka",   "主动土压力系数",               "K<sub>a</sub>",   ""},
    {"Text6",  "Ea",   "主动土压力(KN)",               "E<sub>a</sub>",   "kN"},
    {"Text7",  "G",    "墙体自重(KN)",                 "G",               "kN"},
    {"Text13", "x0",   "挡墙重心至墙趾的水平距离(M):",  "x<sub>0</sub>",   "m"},
    {"Text10", "Kt",   "抗倾系数",                     "K<sub>t</sub>",   ""},
    {"Text9",  "Ks",   "抗滑移系数",                   "K<sub>s</sub>",   ""},
    {"Text16", "pmax", "基底最大应力(KN/MxM)",         "p<sub>max</sub>", "kPa"},
    {"Text17", "e",    "基底合力偏心矩(M):",           "e",               "m"},
    {"Text18", "pmin", "基底最小应力(KN/MxM)",         "p<sub>min</sub>", "kPa"},
};

const std::string_view kUprightFormulas[] = {
    "r<sub>0</sub> = α<sub>0</sub>·π ÷ 180 = {in:alpha0}×3.1415926 ÷ 180 = {r0}；t = tan r<sub>0</sub> = {t}",
    "A = (H<sub>t</sub> − b<sub>1</sub>·t) ÷ (1/n + t) = ({in:Ht} − {in:b1}×{t}) ÷ (1/{in:n} + {t}) = {A}",
    "B = H<sub>t</sub> − b<sub>1</sub>·t = {B}",
    "W<sub>2</sub> = (2H<sub>t</sub> − b<sub>1</sub>·t)·b<sub>1</sub>·γ<sub>w</sub> ÷ 2 = {W2}",
    "W<sub>1</sub> = A·B·γ<sub>w</sub> ÷ 2 = {A}×{B}×{in:gamma_w} ÷ 2 = {W1}",
    "W<sub>3</sub> = b<sub>2</sub>·h<sub>1</sub>·γ<sub>w</sub> = {in:b2}×{in:h1}×{in:gamma_w} = {W3}",
    "L<sub>3</sub> = (n·h<sub>1</sub> + b<sub>2</sub>) ÷ 2 = {L3}",
    "m<sub>2</sub> = [(2H<sub>t</sub> + B)·b<sub>1</sub> ÷ 3] ÷ (B + H<sub>t</sub>) = {m2}",
    "m<sub>1</sub> = ⅔·A = {m1}",
    "c<sub>0</sub> = b − A − b<sub>1</sub> = {in:b} − {A} − {in:b1} = {c0}",
    "G = W<sub>1</sub> + W<sub>2</sub> + W<sub>3</sub> = {W1} + {W2} + {W3} = {G}",
    "x<sub>0</sub> = [(m<sub>2</sub> + c<sub>0</sub> + A)·W<sub>2</sub> + (c<sub>0</sub> + m<sub>1</sub>)·W<sub>1</sub> + W<sub>3</sub>·L<sub>3</sub>] ÷ G = {x0}",
};
const std::string_view kShelfFormulas[] = {
    "块1 上墙前三角：A<sub>1</sub> = n·h<sub>1</sub>² ÷ 2 = {A1}，L<sub>1</sub> = {L1}",
    "块2 上墙前带：A<sub>2</sub> = b<sub>5</sub>·h<sub>1</sub> = {A2}，L<sub>2</sub> = {L2}",
    "块3 上墙背三角：A<sub>3</sub> = x<sub>2</sub>·h<sub>1</sub>² ÷ 2 = {A3}，L<sub>3</sub> = {L3}",
    "块4 下墙前带：A<sub>4</sub> = h′·b<sub>3</sub> = {A4}，L<sub>4</sub> = {L4}",
    "块5 下墙背三角：A<sub>5</sub> = h′·(b<sub>1</sub> + b<sub>2</sub> − b<sub>3</sub>) ÷ 2 = {A5}，L<sub>5</sub> = M<sub>5</sub> ÷ A<sub>5</sub> + b<sub>4</sub> + b<sub>3</sub> = {L5}",
    "块6 墙底板：A<sub>6</sub> = b·h<sub>4</sub> = {A6}，L<sub>6</sub> = {L6}",
    "块7 墙踵外三角：A<sub>7</sub> = (b<sub>3</sub> + b<sub>4</sub> − b)·h<sub>4</sub> ÷ 2 = {A7}，L<sub>7</sub> = {L7}",
    "A = ΣA<sub>i</sub> = {A}；h′ = H<sub>t</sub> − h<sub>1</sub> − h<sub>4</sub>",
    "x<sub>0</sub> = ΣA<sub>i</sub>·L<sub>i</sub> ÷ A = {x0}",
    "G = γ<sub>w</sub>·A = {in:gamma_w}×{A} = {G}",
};
const std::string_view kSlidingFormulas[] = {
    "G<sub>n</sub> = G·cos α<sub>0</sub> = {Gn}；G<sub>t</sub> = G·sin α<sub>0</sub> = {Gt}",
    "E<sub>at</sub> = E<sub>a</sub>·sin(α − α<sub>0</sub> − δ) = {Eat}；E<sub>an</sub> = E<sub>a</sub>·cos(α − α<sub>0</sub> − δ) = {Ean}",
    "K<sub>s</sub> = (G<sub>n</sub> + E<sub>an</sub>)·μ ÷ (E<sub>at</sub> − G<sub>t</sub>) = ({Gn} + {Ean})×{in:mu} ÷ ({Eat} − {Gt}) = {Ks}",
};
const std::string_view kLeverFormulas[] = {
    "z = H ÷ 3 + H<sub>t</sub> − H = {in:H} ÷ 3 + {in:Ht} − {in:H} = {z}",
};
const std::string_view kOverturningFormulas[] = {
    "E<sub>ax</sub> = E<sub>a</sub>·sin(α − δ) = {Eax}；E<sub>az</sub> = E<sub>a</sub>·cos(α − δ) = {Eaz}",
    "x<sub>f</sub> = b − z ÷ tan α = {xf}；z<sub>f</sub> = z − b·tan α<sub>0</sub> = {zf}",
    "K<sub>t</sub> = (G·x<sub>0</sub> + E<sub>az</sub>·x<sub>f</sub>) ÷ (E<sub>ax</sub>·z<sub>f</sub>) = {Kt}",
};
const std::string_view kBaseFormulas[] = {
    "z<sub>E</sub> = H ÷ 3 + H<sub>t</sub> − H − h<sub>2</sub> = {zE}",
    "N = E<sub>a</sub>·sin θ + G = {N}（θ = 3.14159 ÷ 2 + δ − α）",
    "c = (G·x<sub>0</sub> − E<sub>a</sub>·cos θ·z<sub>E</sub> + E<sub>a</sub>·sin θ·b) ÷ N = {c}",
    "e = b ÷ 2 − c = {in:b} ÷ 2 − {c} = {e}；b ÷ 6 = {b/6}",
    "e &gt; b/6 时：p<sub>max</sub> = 2N ÷ (3c)，p<sub>min</sub> = 0；否则：p = (N ÷ b)·(1 ± 6e ÷ b)",
    "p<sub>max</sub> = {pmax}；p<sub>min</sub> = {pmin}",
};
// clang-format on

const Step kUprightStep{"uprightWallWeight", "直立式挡墙自重与重心", kUprightFormulas};
const Step kShelfStep{"shelfWallWeight", "衡重式挡墙自重与重心", kShelfFormulas};
const Step kSlidingStep{"antiSlidingFactor", "抗滑移验算", kSlidingFormulas};
const Step kLeverStep{"leverHeight", "土压力作用点高度", kLeverFormulas};
const Step kOverturningStep{"antiOverturningFactor", "抗倾覆验算", kOverturningFormulas};
const Step kBaseStep{"baseStress", "基底应力验算", kBaseFormulas};

const Step* const kUprightSteps[] = {&kCoulombStep, &kUprightStep,     &kSlidingStep,
                                     &kLeverStep,   &kOverturningStep, &kBaseStep};
const Step* const kShelfSteps[] = {&kCoulombStep, &kShelfStep,       &kSlidingStep,
                                   &kLeverStep,   &kOverturningStep, &kBaseStep};
const Step* const kNoWallSteps[] = {&kCoulombStep, &kSlidingStep, &kLeverStep, &kOverturningStep,
                                    &kBaseStep};

const Variant kTypes[] = {
    {int(WallType::Upright), "upright", "直立式挡墙", kUprightSteps},
    {int(WallType::Shelf), "shelf", "衡重式挡墙", kShelfSteps},
    // without a type the wall would be checked with no weight at all: refused
    {int(WallType::NotChosen),
     "none",
     "未选择墙型",
     kNoWallSteps,
     {},
     {},
     "请先选择挡墙类型(直立式或衡重式)"},
};

// The usual least safety factors of a gravity retaining wall of a building slope, as the
// technical code the launcher names sets them: 1.3 against sliding, 1.6 against overturning.
constexpr double kLeastAntiSliding = 1.3;
constexpr double kLeastAntiOverturning = 1.6;

const Verdict kVerdicts[] = {
    {"Text9", "Ks_ok", "Ks", "抗滑移", kLeastAntiSliding},
    {"Text10", "Kt_ok", "Kt", "抗倾覆", kLeastAntiOverturning},
};

} // namespace

const Calculator kGravityWall{
    .command = "gravity-wall",
    .english = "gravity retaining wall (--type upright|shelf)",
    .window = "form1",
    .title = "重力式挡墙计算",
    .fields = kFields,
    .results = kResults,
    .variants = kTypes,
    .defaultVariant = int(WallType::NotChosen),
    .variantOption = "--type",
    .calculate = [](int type, Form& form,
                    Trace* trace) { calculateGravityWall(WallType(type), form, trace); },
    .verdicts = kVerdicts,
    .sketch = [](int type, const Form& form, const CalculationRecord& record,
                 Sketch& sketch) { return wallSection(WallType(type), form, record, sketch); },
};

} // namespace subprogram
