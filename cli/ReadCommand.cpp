// read: the chip read out and saved whole, in the format the output file's name asks for; with
// --twice read out twice and saved only when both read-outs agree, so that noise on the line
// cannot pass as the chip.
#include <algorithm>

#include "cli/Commands.h"
#include "cli/JobSetup.h"
#include "image/ImageFileWriter.h"
#include "image/ImageLayout.h"
#include "production/JobError.h"
#include "shell/Convert.h"
#include "shell/FileAccess.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kFlashStartHighDigits = 2;

constexpr OptionSpec kGrammar[] = {
    kModelOption,
    {"--output", "FILE", "where to save: .bin, .s19 or .srec (S-records), .hex (Intel HEX)"},
    {"--twice", "", "read the chip twice; save only when both read-outs agree byte for byte"},
};

// The pages at their addresses: the additional window's first where the model has one.
std::vector<ImageSegment> Segments(const std::vector<ReadOutPage>& pages,
                                   const ImageLayout& layout) {
    std::vector<ImageSegment> segments;
    for (std::size_t i = 0; i < pages.size(); ++i)
        segments.push_back({layout.RowAddress(static_cast<std::uint32_t>(i) * kRowsPerPage),
                            {pages[i].begin(), pages[i].end()}});
    return segments;
}

// Throws JobError(DeviceFailure) naming the first address where the two read-outs differ.
void RequireEqual(const std::vector<ReadOutPage>& first, const std::vector<ReadOutPage>& second,
                  const ImageLayout& layout) {
    for (std::size_t page = 0; page < first.size(); ++page) {
        const auto [a, b] =
            std::mismatch(first[page].begin(), first[page].end(), second.at(page).begin());
        if (a == first[page].end())
            continue;
        const std::uint32_t address =
            PageAddress(layout.windowBase, layout.start, static_cast<std::uint32_t>(page)) +
            static_cast<std::uint32_t>(a - first[page].begin());
        throw JobError(ExitStatus::DeviceFailure,
                       "read-out: the two read-outs differ at " + IntToHex(address, 4) +
                           " (first " + IntToHex(*a, 2) + ", second " + IntToHex(*b, 2) + ")");
    }
}

// Saves a read-out; with `twice`, keeps the first and saves the second only when it is the same.
class ReadOutSaver {
  public:
    ReadOutSaver(std::string output, ImageFileFormat format, ImageLayout layout, bool twice)
        : output_(std::move(output)), format_(format), layout_(layout), twice_(twice) {}

    void Take(const std::vector<ReadOutPage>& pages) {
        if (twice_ && !first_) {
            first_ = pages;
            return;
        }
        if (first_)
            RequireEqual(*first_, pages, layout_);
        Save(pages);
    }

  private:
    void Save(const std::vector<ReadOutPage>& pages) const {
        try {
            WriteImageFile(output_, format_, Segments(pages, layout_));
        } catch (const EFileError& error) {
            throw JobError(ExitStatus::FileRefused, error.what());
        } catch (const std::invalid_argument& error) {
            // A catalogue line whose additional window lies inside its main flash.
            throw JobError(ExitStatus::FileRefused,
                           std::string("the read-out cannot be saved: ") + error.what());
        }
    }

    std::string output_;
    ImageFileFormat format_;
    ImageLayout layout_;
    bool twice_;
    std::optional<std::vector<ReadOutPage>> first_;
};

class Read : public Command {
  public:
    std::string_view Name() const override { return "read"; }
    std::string_view Usage() const override {
        return "read --port PORT --model NAME --output FILE [--twice]";
    }
    std::string_view Summary() const override {
        return "Reads the chip out and saves it; the file appears whole or not at all.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }

    ExitStatus Run(const Invocation& invocation) const override {
        RequirePorts(invocation);
        if (invocation.ports.size() > 1)
            throw UsageError("read takes one --port: the read-outs would share one file");
        if (!invocation.options.Has("--output"))
            throw UsageError("no output file given: add --output FILE");
        const std::string output = invocation.options.Value("--output");
        const ImageFileFormatChoice choice = ImageFileFormatFor(output);
        if (!choice.format)
            throw JobError(ExitStatus::FileRefused, choice.refusal);
        try {
            CheckReplaceable(output);
        } catch (const EFileError& error) {
            throw JobError(ExitStatus::FileRefused, error.what());
        }
        const bool twice = invocation.options.Has("--twice");
        JobPlan plan;
        plan.command = "read";
        plan.steps = twice ? std::vector{kCmdReadOut, kCmdReadOut} : std::vector{kCmdReadOut};
        ChooseModel(plan, invocation, true);
        SessionState& session = *plan.session;
        // The read-out frame names the first main-flash page by the start value's high byte.
        session.FlashStartHigh = session.FlashStart.substr(0, kFlashStartHighDigits);
        const std::optional<ImageLayout> layout =
            ImageLayout::FromModel(session.FlashStart, session.ModelCode, session.ImageSize);
        if (!layout)
            throw JobError(ExitStatus::FileRefused, "the model's catalogue line has no layout");
        ReadOutSaver saver(output, *choice.format, *layout, twice);
        plan.savePages = [&saver](const std::vector<ReadOutPage>& pages) { saver.Take(pages); };
        return RunAndReport(plan, invocation);
    }
};

}  // namespace

const Command& ReadCommand() {
    static const Read command;
    return command;
}

}  // namespace vortana::cli
