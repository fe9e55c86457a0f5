#include "gui/fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

// Window tests run in one QApplication on the platform the environment names (offscreen in CI).
int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setFont(applicationFont());
    return RUN_ALL_TESTS();
}
