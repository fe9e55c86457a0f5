#pragma once

#include <QImage>

// Engineering sketches of the two gravity wall types: light lines on black, drawn by code so
// that the artwork can be reviewed like any other source. Each fills the wall window's picture
// box (153 × 185 device-independent pixels) and is rendered `density` times finer, so that it
// stays sharp when shown on a high-DPI screen.
inline constexpr int kDrawingWidth = 153;
inline constexpr int kDrawingHeight = 185;

// The upright wall: b1, b, H, H−h1−h2, h1, h2, b2, b3, the face batter, G with its lever X0,
// Ea with its heights Z and Z1, the back angle α and the base angle α0 with the base slope.
QImage uprightWallDrawing(int density = 3);

// The shelf-type wall: n, x2, x3, b1 to b5, h1, h4, b and Ht.
QImage shelfWallDrawing(int density = 3);
