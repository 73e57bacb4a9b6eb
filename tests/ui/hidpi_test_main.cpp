#include <QApplication>
#include <gtest/gtest.h>

// The desktop scaled to 200%, as a HiDPI screen is: every widget test of this executable sees
// a screen of twice as many device pixels as logical ones.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
