// The earth-pressure report's situation drawn from the inputs, to scale: the wall's back at α,
// the fill's surface at β with the load q on it, and in limited fill the stable rock face at θ.
#include "earthsketch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace subprogram {

std::string drawEarthSituation(const EarthSituation& in, Sketch& s) {
    const double rad = 3.1415926 / 180;
    if (!(in.H > 0) || !(in.alpha > 0 && in.alpha < 180) || !(std::abs(in.beta) < 90) ||
        (in.limitedFill && !(in.theta > 0 && in.theta < 180))) {
        return "输入的墙高或角度不能构成可绘出的图形，未绘出示意图。";
    }
    const double H = in.H;
    // m, y upward, the foot of the wall's back at the origin, the fill to the right
    const double topX = H / std::tan(in.alpha * rad); // α < 90°: the back leans over the wall
    const double backTopX = -topX;
    const double reach = 1.6 * H; // how far the fill is drawn behind the wall
    const double tb = std::tan(in.beta * rad);
    const auto surface = [&](double x) { return H + (x - backTopX) * tb; };
    // where the rock face, from the foot at θ, meets the surface
    double rockX = backTopX + reach;
    if (in.limitedFill) {
        const double tt = std::tan(in.theta * rad);
        // y = x·tanθ meets y = H + (x − backTopX)·tanβ
        rockX = std::abs(tt - tb) > 1e-9 ? (H - backTopX * tb) / (tt - tb) : backTopX + reach;
        if (!(rockX > backTopX) || !std::isfinite(rockX)) {
            return "岩石坡面与填土面在墙后不相交，未绘出示意图。";
        }
    }
    const double right = std::max(backTopX + reach, rockX + 0.3 * H);
    const double left = std::min(backTopX, 0.0) - 0.95 * H;
    const double top = std::max({surface(right), surface(backTopX), H}) + 0.45 * H;
    const double bottom = -0.3 * H;
    const double unit = 1000 * 5 / std::max(right - left, top - bottom); // drawing units a metre
    s = Sketch{};
    s.width = (right - left) * unit;
    s.height = (top - bottom) * unit;
    s.stroke = s.width / 350;
    s.lineStroke = s.width / 700;
    s.textSize = s.width / 26;
    const auto at = [&](double x, double y) {
        return std::pair{(x - left) * unit, (top - y) * unit};
    };
    const auto line = [&](double x1, double y1, double x2, double y2) {
        const auto [a, b] = at(x1, y1);
        const auto [c, d] = at(x2, y2);
        s.lines.push_back({a, b, c, d});
    };
    const auto text = [&](double x, double y, std::string t) {
        const auto [a, b] = at(x, y);
        s.texts.push_back({a, b, std::move(t)});
    };
    // the wall: its back, a face in front of it, the base
    const double base = 0.35 * H;
    SketchPolygon wall;
    for (const auto& [x, y] :
         {std::pair{0.0, 0.0}, {backTopX, H}, {backTopX - 0.15 * H, H}, {-base, 0.0}}) {
        wall.points.push_back(at(x, y));
    }
    s.polygons.push_back(std::move(wall));
    line(left, 0, right, 0); // the ground at the wall's foot
    line(backTopX, H, right, surface(right));
    // the height, beside the wall
    const double dimX = -base - 0.18 * H;
    line(dimX, 0, dimX, H);
    line(dimX - 0.05 * H, 0, dimX + 0.05 * H, 0);
    line(dimX - 0.05 * H, H, dimX + 0.05 * H, H);
    text(dimX - 0.12 * H, H / 2, "H = " + sketchNumber(H) + " m");
    text(0.16 * H, 0.1 * H, "α = " + sketchNumber(in.alpha) + "°");
    text(backTopX + 0.6 * H, surface(backTopX + 0.6 * H) - 0.12 * H,
         "β = " + sketchNumber(in.beta) + "°"); // in the fill, under its surface
    if (in.limitedFill) {
        line(0, 0, rockX, rockX * std::tan(in.theta * rad));
        const double mx = rockX * 0.45;
        text(mx + 0.32 * H, mx * std::tan(in.theta * rad),
             "岩石坡面 θ = " + sketchNumber(in.theta) + "°");
    }
    // q on the surface: arrows down onto it
    if (in.q != 0 && !in.limitedFill) {
        const int arrows = 7;
        for (int i = 0; i < arrows; ++i) {
            const double x = backTopX + 0.1 * H + (right - backTopX - 0.2 * H) * i / (arrows - 1);
            const auto [a, b] = at(x, surface(x) + 0.2 * H);
            const auto [c, d] = at(x, surface(x));
            s.arrows.push_back({a, b, c, d});
        }
        text((backTopX + right) / 2, surface((backTopX + right) / 2) + 0.32 * H,
             "q = " + sketchNumber(in.q) + " kPa");
    }
    return {};
}

} // namespace subprogram
