// main() of the widget and component tests: a QApplication on the offscreen platform, so that
// windows, timers and the serial component's notification sink have an event loop to run on.
//
// Texts are measured with slight (vertical-only) hinting on every system, as Debian's fontconfig
// has it on Linux. The offscreen platform built for Windows draws through FreeType, which Qt hints
// fully there: whole-pixel advances and emboldened characters 2 px wider, a rendering the program
// never shows, as its windows platform draws with the system's own font engine.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>

namespace {

void HintTextSlightly() {
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    HintTextSlightly();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
