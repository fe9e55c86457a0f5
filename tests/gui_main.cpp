#include "gui/chinese.h"
#include "gui/fonts.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Window tests run in one QApplication on the platform the environment names (offscreen in CI),
// with Qt's Chinese texts as the program has them, and settings kept apart from the user's.
int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("slope-support-tests"));
    QApplication::setFont(applicationFont());
    useChineseTranslation(app);
    return RUN_ALL_TESTS();
}
