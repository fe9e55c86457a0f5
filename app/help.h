#pragma once

class QString;
class QWidget;

// The user's guide (帮助, F1) in a window of its own, created on first use and brought to the
// front after; the window is returned for the caller to keep or test.
QWidget* showUserGuide();

// 关于: the program's name, version and licence, in a modal box over `parent`.
void showAbout(QWidget* parent);
// Its text, plain.
QString aboutText();
