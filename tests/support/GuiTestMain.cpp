// The main of window tests: a QApplication on the offscreen platform (or the display given), then
// GoogleTest.
#include <QApplication>
#include <QLocale>

#include "ui/Windows.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QApplication app(argc, argv);
    korven::ui::routeComponentMessages();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
