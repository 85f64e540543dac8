#include "cli/TextReporter.h"

#include <algorithm>
#include <cmath>

#include "cli/DisplayWidth.h"
#include "cli/OutputCheck.h"
#include "cli/PortLookup.h"
#include "cli/Text.h"

namespace vortana::cli {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr int kBarWidth = 30;
constexpr std::size_t kPortColumn = 16;  // at least; a longer port name widens it for all
constexpr std::size_t kStepColumn = 21;
constexpr const char* kLinesUp = "\x1b[";  // followed by a count and 'F'
constexpr const char* kClearLine = "\x1b[2K";

std::string OutcomeLine(const PortOutcome& outcome) {
    const std::string port = PortLabel(outcome.port, outcome.foundAt);
    if (outcome.status == ExitStatus::Success)
        return port + ": ok in " + SecondsText(outcome.duration);
    return port + ": failed (" + std::string(NameOf(outcome.status)) + ") after " +
           SecondsText(outcome.duration) + ": " + outcome.message;
}

}  // namespace

TextReporter::TextReporter(Mode mode, std::ostream& out, std::ostream& err)
    : mode_(mode), out_(out), err_(err), portColumn_(kPortColumn) {}

std::string TextReporter::BarLine(const std::string& port, const StepProgress& progress) const {
    const int filled = static_cast<int>(std::lround(progress.fraction * kBarWidth));
    std::string line = PadColumns(port, portColumn_) +
                       PadColumns(std::string(progress.step), kStepColumn) + "[" +
                       std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] ";
    const std::string percent = std::to_string(std::lround(progress.fraction * 100));
    line += std::string(3 - std::min<std::size_t>(3, percent.size()), ' ') + percent + " %  " +
            SecondsText(progress.elapsed);
    if (progress.remaining)
        line += ", " + SecondsText(*progress.remaining) + " left";
    return line;
}

void TextReporter::Begin(std::span<const std::string> ports) {
    std::lock_guard lock(mutex_);
    for (const std::string& port : ports) {
        lines_.push_back({port, {}, -1, port});
        portColumn_ = std::max(portColumn_, DisplayWidth(port) + 1);
    }
    if (mode_ == Mode::Terminal) {
        for (const Line& line : lines_)
            out_ << line.text << "\n";
        FlushChecked(out_);
    }
}

void TextReporter::Progress(std::size_t port, const StepProgress& progress) {
    std::lock_guard lock(mutex_);
    Line& line = lines_.at(port);
    if (mode_ == Mode::Terminal) {
        line.text = BarLine(line.port, progress);
        Draw(progress.fraction >= 1);  // a step's end is always shown
        return;
    }
    const int tenth = static_cast<int>(progress.fraction * 10);
    if (mode_ == Mode::Quiet || (line.step == progress.step && line.tenth == tenth))
        return;
    line.step = progress.step;
    line.tenth = tenth;
    out_ << line.port << ": " << line.step << " " << tenth * 10 << " %\n";
    FlushChecked(out_);
}

void TextReporter::Note(std::size_t port, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (mode_ == Mode::Plain) {
        out_ << lines_.at(port).port << ": " << text << "\n";
        FlushChecked(out_);
    }
}

void TextReporter::Notice(std::string_view text) {
    std::lock_guard lock(mutex_);
    err_ << "vortana-cli: " << text << "\n";
    err_.flush();
}

void TextReporter::Ended(std::size_t port, const PortOutcome& outcome) {
    std::lock_guard lock(mutex_);
    const std::string text = OutcomeLine(outcome);
    if (mode_ == Mode::Terminal) {
        lines_.at(port).text = text;
        if (outcome.status != ExitStatus::Success)
            failures_.push_back(text);
        Draw(true);
        return;
    }
    if (outcome.status != ExitStatus::Success) {
        err_ << text << "\n";
        err_.flush();
    } else if (mode_ == Mode::Plain) {
        out_ << text << "\n";
        FlushChecked(out_);
    }
}

void TextReporter::Finish(std::span<const PortOutcome> outcomes, ExitStatus,
                          std::string_view recordFailure) {
    std::lock_guard lock(mutex_);
    for (const std::string& failure : failures_)
        err_ << failure << "\n";
    if (outcomes.size() > 1 && mode_ != Mode::Quiet)
        out_ << "\n" << SummaryTable(outcomes);
    FlushChecked(out_);
    if (!recordFailure.empty())
        err_ << "vortana-cli: " << recordFailure << "\n";
    err_.flush();
}

// Moves up to the first programmer's line and writes every line again.
void TextReporter::Draw(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - drawn_ < kRedrawInterval)
        return;
    drawn_ = now;
    out_ << kLinesUp << lines_.size() << 'F';
    for (const Line& line : lines_)
        out_ << kClearLine << line.text << "\n";
    FlushChecked(out_);
}

}  // namespace vortana::cli
