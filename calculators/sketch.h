#pragma once

#include <vector>

// A line drawing in its own units (twips of the window's picture box, y downward): the beam's
// sketch, drawn by the window and written into reports.
struct SketchLine {
    double x1, y1, x2, y2;
};
struct SketchCircle {
    double x, y, r;
};
struct Sketch {
    double width = 0, height = 0; // the area drawn on
    std::vector<SketchLine> lines;
    std::vector<SketchCircle> circles;
};
