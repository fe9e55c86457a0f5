#pragma once

#include "core/calcerror.h"
#include "core/wholefile.h"

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

// Why a file could not be read or written, in Chinese: the common reasons in words of their own,
// the system's text for the rest; a folder that a new file could not be made in is named.
QString fileErrorText(const FileError& error);
