#include <QGuiApplication>
#include <gtest/gtest.h>

// Text documents need a QGuiApplication for their fonts; widgets are not involved.
// The offscreen platform is set here too because test discovery runs without ctest's
// environment.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
