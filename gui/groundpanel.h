#pragma once

#include "gui/formbuilder.h"

#include <QTabWidget>

#include <vector>

// The ground behind a wall as a window shows it (calculators/ground.h describes it): its rows of
// fields in a frame, a label and a field each, and its two tables, the strata and the local
// loads, kept in step with their fields.
struct GroundRows {
    const char* frame;
    int left, top;              // of the first row, in the frame (twips)
    int labelWidth, fieldWidth; // the field stands right of its label
    int pitch;                  // from one row to the next
    bool tension = false;       // with the tension rule, as a list, in the last row
};
std::vector<ControlSpec> groundRows(const GroundRows& place);

// The strata's and the loads' tables, at (left, top, width, height) in the window (twips).
QTabWidget* addGroundTables(QWidget* window, int left, int top, int width, int height);
