// TextReporter: the Reporter for people: progress bars redrawn in place on a terminal, plain
// lines on a pipe, failures alone when quiet (see Reporter.h). Threads: any; serialised.
#pragma once

#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Reporter.h"

namespace vortana::cli {

class TextReporter : public Reporter {
  public:
    enum class Mode { Terminal, Plain, Quiet };

    TextReporter(Mode mode, std::ostream& out, std::ostream& err);

    void Begin(std::span<const std::string> ports) override;
    void Progress(std::size_t port, const StepProgress& progress) override;
    void Note(std::size_t port, std::string_view text) override;
    void Notice(std::string_view text) override;
    void Ended(std::size_t port, const PortOutcome& outcome) override;
    void Finish(std::span<const PortOutcome> outcomes, ExitStatus status,
                std::string_view recordFailure) override;

  private:
    struct Line {
        std::string port;
        std::string step;
        int tenth = -1;    // plain mode: the last tenth of progress printed for `step`
        std::string text;  // terminal mode: the line as last drawn
    };

    void Draw(bool force);
    std::string BarLine(const std::string& port, const StepProgress& progress) const;

    Mode mode_;
    std::ostream& out_;
    std::ostream& err_;
    std::mutex mutex_;
    std::vector<Line> lines_;
    std::size_t portColumn_;  // columns the port names take in the bar lines
    std::chrono::steady_clock::time_point drawn_;
    std::vector<std::string> failures_;  // terminal mode: printed below the bars at the end
};

}  // namespace vortana::cli
