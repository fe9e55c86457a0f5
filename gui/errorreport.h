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

// What to do with a window's edits not yet saved to its file, before they would be lost.
enum class PendingEdits { Save, Discard, Cancel };
using Asker = std::function<PendingEdits(QWidget* parent, const QString& question)>;
// The modal question with 保存, 不保存 and 取消.
PendingEdits askWithBox(QWidget* parent, const QString& question);

// A window's caption without the place of its modified mark ("[*]").
QString windowCaption(const QWidget* window);

// The whole message for a failed calculation; a failed read also names the field's caption and
// the text that could not be read, and, when that text holds full-width characters (typed with
// the Chinese input method: "１．５", "1。5"), asks for half-width ones.
QString failureMessage(const CalcError& error, const QString& fieldCaption = {},
                       const QString& fieldText = {});

// Why a file could not be read or written, in Chinese: the common reasons in words of their own,
// the system's text for the rest; a folder that a new file could not be made in is named.
QString fileErrorText(const FileError& error);
