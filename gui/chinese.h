#pragma once

class QCoreApplication;

// Qt's own texts in Simplified Chinese, whatever the machine's locale: message boxes say 确定,
// the file and print dialogs speak Chinese. False when the translation is not installed
// (Debian's qt6-translations-l10n).
bool useChineseTranslation(QCoreApplication& app);
