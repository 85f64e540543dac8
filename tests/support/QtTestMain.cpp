// main() of the widget and component tests: a QApplication on the offscreen platform, so that
// windows, timers and the serial component's notification sink have an event loop to run on.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
