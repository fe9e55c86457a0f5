#pragma once

#include "calculators/sketch.h"

#include <QRectF>

class QPainter;

// Paints a sketch into `target`, scaled to fit it whole and centred, black on the painter's
// ground: the windows' picture boxes, the report's pages.
void paintSketch(QPainter& painter, const Sketch& sketch, const QRectF& target);
