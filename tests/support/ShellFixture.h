// ShellFixture: the program's five windows over a FakeDesktop, with the executable's directory
// in a fresh temporary folder (removed afterwards). Widget tests of the main window and of later
// windows derive from it; Start() creates the windows, so a test can first put files beside the
// "executable".
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <ostream>
#include <string>

#include "harness/ui/FakeDesktop.h"
#include "harness/ui/Modal.h"
#include "shell/SessionState.h"
#include "shell/ui/Forms.h"

namespace vortana {

class ShellFixture : public testing::Test {
  protected:
    ShellFixture();
    ~ShellFixture() override;

    void Start();  // creates the windows (FormCreate runs)
    TForm1& Form1() { return *forms_->Form1; }
    Forms& Windows() { return *forms_; }

    std::string PathOf(const std::string& name) const { return desktop_.Dir + name; }
    void PutFile(const std::string& name, const std::string& bytes) const;
    // A sysset.ini that names `port`, so that start-up opens it.
    void RememberPort(const std::string& port) const;
    // Opens the model list with Button1 and double-clicks catalogue line `line` (from 0), as a
    // user would.
    void PickCatalogueLine(int line);
    std::string FileText(const std::string& name) const;  // "" when missing
    bool FileExists(const std::string& name) const;

    FakeDesktop desktop_;
    std::unique_ptr<SessionState> state_ = std::make_unique<SessionState>();
    std::unique_ptr<Forms> forms_;
};

}  // namespace vortana

// Failures show texts as text, not as arrays of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
