#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Test programs also run during the build (test discovery), where CTest's
    // environment does not apply and there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
