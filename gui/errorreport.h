#pragma once

#include "core/calcerror.h"

#include <QString>

#include <functional>

class QWidget;

// Shows a message to the user. Windows take one, so that tests can record what a user would
// have been told instead of blocking on a modal box.
using Reporter = std::function<void(QWidget* parent, const QString& message)>;

// The modal message box with one OK button, titled with the parent window's caption.
void showMessageBox(QWidget* parent, const QString& message);

// The whole message for a failed calculation; a failed read also names the field's caption and
// the text that could not be read.
QString failureMessage(const CalcError& error, const QString& fieldCaption = {},
                       const QString& fieldText = {});
