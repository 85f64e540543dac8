// OperatorInput: the commands an operator types between the rounds of a shift, as lines of an
// input stream (standard input: the terminal, or the console on Windows, where std::cin reads
// it as well).
//
// A blocking read cannot be cut short portably, yet Ctrl-C while the shift waits for Enter must
// end it at once. So each line is read on a thread of its own while the caller waits, and the
// wait ends when an interruption is noted (cli/Interruption.h). A read left waiting then keeps
// its thread until the stream gives a line or ends, or the process exits; the stream must live
// as long (standard input does).
//
// Threads: one caller thread; the reading threads touch only the stream and their own line.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace vortana::cli {

class OperatorInput {
  public:
    // `in` may be null: no input, as if it had ended.
    explicit OperatorInput(std::istream* in) : in_(in) {}

    // The next line, without its line end; nothing once the input ended or an interruption was
    // noted.
    std::optional<std::string> NextLine();

  private:
    struct Read;  // one line's read, shared with the thread that does it

    std::istream* in_;
    std::shared_ptr<Read> read_;  // the read under way, when one is
};

}  // namespace vortana::cli
