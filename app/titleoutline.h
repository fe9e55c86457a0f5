#pragma once

#include <QPainterPath>

#include <span>

// The launcher's title as outlines, taken from its brush-written face when the program is built
// (drawtitle): the program draws eleven fixed glyphs without loading a 4 MiB face to start.
struct TitleOutline {
    struct Element {
        unsigned char type; // QPainterPath::ElementType
        float x, y;
    };
    double ascent, descent, width; // pixels at 96 dpi, the baseline at y = 0
    std::span<const Element> elements;
    // the outlines filled at 96 dpi, antialiased: coverage 0–255 a pixel, row by row, with the
    // baseline at row `baseline`
    int maskWidth, maskHeight, baseline;
    const unsigned char* mask;

    QPainterPath path() const;
};

extern const TitleOutline kTitleOutline;
