// JsonReporter: the Reporter for --json: one JSON object per line per event, on standard output:
//   {"event":"start","ports":[...]}
//   {"event":"progress","port":P,"step":S,"percent":N,"elapsed":SEC[,"remaining":SEC]}
//   {"event":"note","port":P,"text":T}
//   {"event":"note","text":T}           about the run as a whole
//   {"event":"result","port":P,"outcome":NAME,"exit":N,"message":T,"serial":N|null,
//    "checksum":T|null,"crc32":T|null,"duration":SEC,"model":T,"file":T,"station":T,
//    "operator":T,"version":T}
//   {"event":"end","outcome":NAME,"exit":N[,"message":T]}   exactly one, last
// A progress event is written when the whole percent changes. Threads: any; serialised.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Reporter.h"

namespace vortana::cli {

class JsonReporter : public Reporter {
  public:
    explicit JsonReporter(std::ostream& out) : out_(out) {}

    void Begin(std::span<const std::string> ports) override;
    void Progress(std::size_t port, const StepProgress& progress) override;
    void Note(std::size_t port, std::string_view text) override;
    void Notice(std::string_view text) override;
    void Ended(std::size_t port, const PortOutcome& outcome) override;
    void Finish(std::span<const PortOutcome> outcomes, ExitStatus status,
                std::string_view recordFailure) override;

    // The one-line objects, for the program's own errors too.
    static std::string EndEvent(ExitStatus status, std::string_view message = {});

  private:
    struct Shown {
        std::string step;
        long percent = -1;
    };
    void Write(const std::string& object);

    std::ostream& out_;
    std::mutex mutex_;
    std::vector<std::string> ports_;
    std::vector<Shown> shown_;
};

}  // namespace vortana::cli
