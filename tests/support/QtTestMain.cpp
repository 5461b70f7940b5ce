#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Test programs that touch widgets, pictures or settings start a QApplication first and
// keep the real settings store out of reach.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
