#pragma once

#include "gui/errorreport.h"

#include <QStringList>

// Records what a window would have told the user, in place of the modal box.
struct Recorder {
    QStringList messages;
    Reporter reporter() {
        return [this](QWidget*, const QString& message) { messages << message; };
    }
};
