#include "gravitywall.h"

#include "angles.h"
#include "routines/earthpressure.h"
#include "shell/form.h"
#include "shell/numerictext.h"

namespace subprogram {

namespace {

// The base-stress check takes its right angle as 3.14159 ÷ 2, a shorter π than the angles'.
constexpr double kPiRightAngle = 3.14159;

// Narrows a named value to a single where the method stores it, and notes it in the trace.
class Store {
  public:
    explicit Store(Trace* trace) : trace_(trace) {}
    Num operator()(const char* name, Num value) const {
        const Num stored = toSingle(value.value());
        if (trace_) {
            note(name, stored);
        }
        return stored;
    }

  private:
    [[gnu::noinline]] void note(const char* name, Num value) const {
        trace_->record(name, value.value(), true);
    }

    Trace* trace_;
};

} // namespace

WallWeight uprightWallWeight(float n, float Ht, float h1, float alpha0, float b1, float b2,
                             float gammaW, float b, Trace* trace) {
    beginStep(trace, "uprightWallWeight");
    const Store store(trace);
    const Num r0 = store("r0", radians(alpha0));
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
    return {static_cast<float>(G.value()), static_cast<float>(x0.value())};
}

WallWeight shelfWallWeight(float n, float x2, float x3, float h1, float Ht, float h4, float b1,
                           float b2, float b3, float b4, float b5, float b, float gammaW,
                           Trace* trace) {
    beginStep(trace, "shelfWallWeight");
    const Store store(trace);
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
    return {static_cast<float>(G.value()), static_cast<float>(x0.value())};
}

float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu,
                        Trace* trace) {
    beginStep(trace, "antiSlidingFactor");
    const Store store(trace);
    const Num r0 = store("r0", radians(alpha0));
    const Num ra = store("rα", radians(alpha));
    const Num rd = store("rδ", radians(delta));
    const Num Gn = store("Gn", G * cos(r0));
    const Num Gt = store("Gt", G * sin(r0));
    const Num psi = ra - r0 - rd;
    const Num Eat = store("Eat", Ea * sin(psi));
    const Num Ean = store("Ean", Ea * cos(psi));
    const Num numerator = (Gn + Ean) * mu;
    return static_cast<float>(store("Ks", numerator / (Eat - Gt)).value());
}

float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0, Trace* trace) {
    beginStep(trace, "antiOverturningFactor");
    const Store store(trace);
    const Num rd = store("rδ", radians(delta));
    const Num r0 = store("r0", radians(alpha0));
    const Num ra = store("rα", radians(alpha));
    const Num Eax = store("Eax", Ea * sin(ra - rd));
    const Num Eaz = store("Eaz", Ea * cos(ra - rd));
    const Num xf = store("xf", b - z / tan(ra));
    const Num zf = store("zf", z - b * tan(r0));
    return static_cast<float>(store("Kt", (x0 * Num(G) + xf * Eaz) / (zf * Eax)).value());
}

float earthPressureLeverHeight(float H, float Ht, Trace* trace) {
    beginStep(trace, "leverHeight");
    return static_cast<float>(Store(trace)("z", Num(H) / 3 + Ht - H).value());
}

BaseStress baseStress(float G, float H, float Ht, float h2, float x0, float delta, float alpha,
                      float Ea, float b, Trace* trace) {
    beginStep(trace, "baseStress");
    const Store store(trace);
    const Num zE = store("zE", Num(H) / 3 + Ht - H - h2);
    const Num ra = store("rα", radians(alpha));
    const Num rd = store("rδ", radians(delta));
    const Num theta = Num(kPiRightAngle) / 2 + rd - ra; // inclination of Ea, not stored
    const Num N = store("N", Ea * sin(theta) + G);
    const Num c = store("c", (G * Num(x0) - Ea * cos(theta) * zE + Ea * sin(theta) * b) / N);
    const Num e = store("e", b / 2 - c);
    const Num sixth = toSingle((Num(b) / 6).value());
    Num pmax;
    Num pmin;
    if (trace) {
        trace->record("b/6", sixth.value(), true);
        trace->remark(e > sixth
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
    return {static_cast<float>(pmax.value()), static_cast<float>(pmin.value()),
            static_cast<float>(e.value())};
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
    form.setText("Text1", doubleToText(earth.Ka));
    form.setText("Text6", doubleToText(earth.Ea));
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
    form.setText("Text7", singleToText(wall.G));
    form.setText("Text13", singleToText(wall.x0));

    const float Ks = antiSlidingFactor(wall.G, Ea, alpha0, alphaS, deltaS, mu, trace);
    const float z = earthPressureLeverHeight(HS, Ht, trace);
    const float Kt =
        antiOverturningFactor(wall.G, Ea, alpha0, z, alphaS, deltaS, b, wall.x0, trace);
    form.setText("Text10", singleToText(Kt));
    form.setText("Text9", singleToText(Ks));

    const BaseStress base = baseStress(wall.G, HS, Ht, h2, wall.x0, deltaS, alphaS, Ea, b, trace);
    form.setText("Text16", singleToText(base.pmax));
    form.setText("Text17", singleToText(base.e));
    form.setText("Text18", singleToText(base.pmin));
}

} // namespace subprogram
