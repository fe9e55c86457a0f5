#pragma once

#include <QFont>

// The face of every caption and field: a Song face where one is installed, else a CJK sans face.
QFont applicationFont();
