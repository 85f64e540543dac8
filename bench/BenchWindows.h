// BenchWindows: the program's five windows as the window benchmarks use them: over a Desktop
// whose executable directory is a scratch folder, with sysset.ini there naming the port to open,
// and a 64 KiB model at 0000 picked (load, erase and read-out enabled). Ends the benchmark when
// the port does not open.
//
// BenchDesktop: the program's own desktop (Qt's boxes, dialog and screen) with the executable
// directory in a scratch folder, a file dialog that answers with one file, and information boxes
// recorded instead of shown, since a benchmark has no user to close them.
//
// User-interface thread of a QApplication; the desktop must outlive the windows.
#pragma once

#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "shell/SessionState.h"
#include "shell/toolkit/QtDesktop.h"
#include "shell/ui/Forms.h"

namespace vortana::bench {

inline constexpr std::size_t kBenchImageBytes = 65536;  // the model's image: 0000 to FFFF

class BenchWindows {
  public:
    BenchWindows(Desktop& desktop, const std::string& port);

    TForm1& Form1() { return *windows_->Form1; }
    Forms& Windows() { return *windows_; }

  private:
    std::unique_ptr<SessionState> state_ = std::make_unique<SessionState>();
    std::unique_ptr<Forms> windows_;
};

class BenchDesktop : public QtDesktop {
  public:
    BenchDesktop(const ScratchDir& dir, std::string file = {});

    void ShowMessage(const QString& text) override { Messages.append(text); }
    std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& lastName) override;
    std::string ExeDir() const override { return dir_; }

    QStringList Messages;

  private:
    std::string dir_;
    QString file_;
};

// Runs the event loop until `done` holds or `limit` passes; returns whether it holds.
bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace vortana::bench
