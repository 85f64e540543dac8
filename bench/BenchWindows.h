// BenchWindows: the program's five windows as the window benchmarks use them: over a
// FakeDesktop whose executable directory is a scratch folder, with sysset.ini there naming the
// port to open, and a 64 KiB model at 0000 picked (load, erase and read-out enabled). Ends the
// benchmark when the port does not open.
//
// User-interface thread of a QApplication; the desktop and the folder must outlive it.
#pragma once

#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "shell/Forms.h"
#include "shell/SessionState.h"
#include "tests/support/FakeDesktop.h"

namespace vortana::bench {

inline constexpr std::size_t kBenchImageBytes = 65536;  // the model's image: 0000 to FFFF

class BenchWindows {
  public:
    BenchWindows(FakeDesktop& desktop, const ScratchDir& dir, const std::string& port);

    TForm1& Form1() { return *windows_->Form1; }
    Forms& Windows() { return *windows_; }

  private:
    std::unique_ptr<SessionState> state_ = std::make_unique<SessionState>();
    std::unique_ptr<Forms> windows_;
};

}  // namespace vortana::bench
