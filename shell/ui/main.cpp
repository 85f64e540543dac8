// The program: one session state, the five windows in their order, the event loop until the main
// window closes.
#include <QApplication>
#include <memory>

#include "shell/SessionState.h"
#include "shell/toolkit/QtDesktop.h"
#include "shell/ui/Forms.h"
#include "shell/ui/TForm1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(vortana::kApplicationTitle);

    // Made before the first window and released after the last; too large for the stack.
    const auto state = std::make_unique<vortana::SessionState>();
    vortana::QtDesktop desktop;
    vortana::Forms forms(*state, desktop);
    forms.Form1->show();
    return QApplication::exec();
}
