// Forms: the program's five windows, created in their fixed order at start-up and owned until
// exit; FormContext: what the main window is given, the other windows besides what every window
// gets.
//
// The main window TForm1 comes first; its FormCreate runs while it is being made, before the
// other four exist, so it touches only itself and the session state. The windows reach each
// other through Forms's pointers, which stay valid from the end of the Forms constructor until
// its destructor, which destroys the windows in the opposite order. User-interface thread only.
#pragma once

#include <memory>

#include "shell/toolkit/WindowContext.h"

namespace vortana {

class Forms;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

struct FormContext : WindowContext {
    Forms& Windows;  // the other windows
};

class Forms {
  public:
    Forms(SessionState& state, Desktop& desktop);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    TForm1* Form1 = nullptr;  // main window
    TForm2* Form2 = nullptr;  // model list
    TForm3* Form3 = nullptr;  // read-out view
    TForm4* Form4 = nullptr;  // file-buffer view
    TForm5* Form5 = nullptr;  // serial-number dialog

  private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm5> form5_;
};

}  // namespace vortana
