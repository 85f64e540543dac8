// read: the chip read out and saved whole, in the format the output file's name asks for.
#include "cli/Commands.h"
#include "cli/JobError.h"
#include "cli/JobSetup.h"
#include "image/ImageFileWriter.h"
#include "image/ImageLayout.h"
#include "shell/FileAccess.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kFlashStartHighDigits = 2;

constexpr OptionSpec kGrammar[] = {
    kModelOption,
    {"--output", "FILE", "where to save: .bin, .s19 or .srec (S-records), .hex (Intel HEX)"},
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

class Read : public Command {
  public:
    std::string_view Name() const override { return "read"; }
    std::string_view Usage() const override {
        return "read --port PORT --model NAME --output FILE";
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
        JobPlan plan;
        plan.command = "read";
        plan.steps = {kCmdReadOut};
        ChooseModel(plan, invocation, true);
        SessionState& session = *plan.session;
        // The read-out frame names the first main-flash page by the start value's high byte.
        session.FlashStartHigh = session.FlashStart.substr(0, kFlashStartHighDigits);
        const std::optional<ImageLayout> layout =
            ImageLayout::FromModel(session.FlashStart, session.ModelCode, session.ImageSize);
        if (!layout)
            throw JobError(ExitStatus::FileRefused, "the model's catalogue line has no layout");
        plan.savePages = [&output, &choice, &layout](const std::vector<ReadOutPage>& pages) {
            try {
                WriteImageFile(output, *choice.format, Segments(pages, *layout));
            } catch (const EFileError& error) {
                throw JobError(ExitStatus::FileRefused, error.what());
            } catch (const std::invalid_argument& error) {
                // A catalogue line whose additional window lies inside its main flash.
                throw JobError(ExitStatus::FileRefused,
                               std::string("the read-out cannot be saved: ") + error.what());
            }
        };
        return RunAndReport(plan, invocation);
    }
};

}  // namespace

const Command& ReadCommand() {
    static const Read command;
    return command;
}

}  // namespace vortana::cli
