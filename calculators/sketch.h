#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// A line drawing in its own units, y downward: the beam's sketch in twips of the window's picture
// box, the gravity wall's cross-section in millimetres. The windows paint it, reports write it as
// SVG and PDF.
struct SketchLine {
    double x1, y1, x2, y2;
};
struct SketchCircle {
    double x, y, r;
};
// A closed outline, filled light grey: a wall's cross-section.
struct SketchPolygon {
    std::vector<std::pair<double, double>> points;
};
// A force: a thick line with its head at (x2, y2).
struct SketchArrow {
    double x1, y1, x2, y2;
};
// A label centred on its point ("b = 1.49", "Ea = 28.87 kN").
struct SketchText {
    double x, y;
    std::string text;
};
struct Sketch {
    double width = 0, height = 0; // the area drawn on
    double stroke = 15;           // the width of a line
    double lineStroke = 0;        // of the lines, when thinner than the outlines (dimensions)
    double textSize = 0;          // the height of a label
    std::vector<SketchPolygon> polygons;
    std::vector<SketchLine> grid; // thin and light grey, under everything else: a chart's grid
    std::vector<SketchLine> lines;
    std::vector<SketchCircle> circles;
    std::vector<SketchArrow> arrows;
    std::vector<SketchText> texts;
};

// A drawing's number, to four significant digits: "b = 1.49", "G=1000".
inline std::string sketchNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// A label's width in a drawing whose labels are `textHeight` high, roughly: a Chinese character
// square, the rest narrower.
inline double sketchLabelWidth(const std::string& label, double textHeight) {
    double w = 0;
    for (const char c : label) {
        const auto byte = static_cast<unsigned char>(c);
        w += byte >= 0xE0 ? 1.0 : byte >= 0xC0 ? 0.6 : byte >= 0x80 ? 0 : 0.58;
    }
    return w * textHeight;
}
