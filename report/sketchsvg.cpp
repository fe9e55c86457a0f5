#include "report.h"

#include "core/html.h"
#include "core/numerictext.h"

#include <cmath>

// A sketch as SVG, as the report embeds it: the geometry is judged by looking.
std::string sketchSvg(const Sketch& s) {
    const auto n = [](double v) { return doubleToText(v); };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + n(s.width / 15) +
                      "\" height=\"" + n(s.height / 15) + "\" viewBox=\"0 0 " + n(s.width) + " " +
                      n(s.height) + "\"><rect width=\"" + n(s.width) + "\" height=\"" +
                      n(s.height) + "\" fill=\"white\"/><g stroke=\"black\" stroke-width=\"" +
                      n(s.stroke) + "\" fill=\"none\">";
    for (const SketchPolygon& p : s.polygons) {
        svg += "<polygon fill=\"#e4e4e4\" points=\"";
        for (const auto& [x, y] : p.points) {
            svg += n(x) + "," + n(y) + " ";
        }
        svg.back() = '"';
        svg += "/>";
    }
    if (!s.grid.empty()) {
        svg += "<g stroke=\"#d4d4d4\" stroke-width=\"" + n(s.stroke * 0.5) + "\">";
        for (const SketchLine& l : s.grid) {
            svg += "<line x1=\"" + n(l.x1) + "\" y1=\"" + n(l.y1) + "\" x2=\"" + n(l.x2) +
                   "\" y2=\"" + n(l.y2) + "\"/>";
        }
        svg += "</g>";
    }
    if (s.lineStroke > 0) {
        svg += "<g stroke-width=\"" + n(s.lineStroke) + "\">";
    }
    for (const SketchLine& l : s.lines) {
        svg += "<line x1=\"" + n(l.x1) + "\" y1=\"" + n(l.y1) + "\" x2=\"" + n(l.x2) + "\" y2=\"" +
               n(l.y2) + "\"/>";
    }
    if (s.lineStroke > 0) {
        svg += "</g>";
    }
    for (const SketchCircle& c : s.circles) {
        svg += "<circle cx=\"" + n(c.x) + "\" cy=\"" + n(c.y) + "\" r=\"" + n(c.r) + "\"/>";
    }
    for (const SketchArrow& a : s.arrows) {
        svg += "<line stroke-width=\"" + n(s.stroke * 2.5) + "\" x1=\"" + n(a.x1) + "\" y1=\"" +
               n(a.y1) + "\" x2=\"" + n(a.x2) + "\" y2=\"" + n(a.y2) + "\"/>";
    }
    svg += "</g>";
    for (const SketchArrow& a : s.arrows) { // the heads
        const double dx = a.x2 - a.x1, dy = a.y2 - a.y1, l = std::hypot(dx, dy);
        const double ux = dx / l, uy = dy / l, h = s.textSize * 0.8;
        svg += "<polygon fill=\"black\" points=\"" + n(a.x2) + "," + n(a.y2) + " " +
               n(a.x2 - ux * h - uy * h * 0.4) + "," + n(a.y2 - uy * h + ux * h * 0.4) + " " +
               n(a.x2 - ux * h + uy * h * 0.4) + "," + n(a.y2 - uy * h - ux * h * 0.4) + "\"/>";
    }
    for (const SketchText& t : s.texts) {
        svg += "<text x=\"" + n(t.x) + "\" y=\"" + n(t.y) + "\" font-size=\"" + n(s.textSize) +
               "\" text-anchor=\"middle\" dominant-baseline=\"middle\" font-family=\"DejaVu "
               "Sans\">" +
               html::escaped(t.text) + "</text>";
    }
    return svg + "</svg>";
}
