// crc: the CRC-32 and size of the image an S-record file makes for a model, as load and write
// download it and record it, for an engineer approving a file; no port is touched.
#include "cli/Commands.h"
#include "cli/JobSetup.h"
#include "cli/Reporter.h"
#include "cli/Text.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kGrammar[] = {kModelOption};

class Crc : public Command {
  public:
    std::string_view Name() const override { return "crc"; }
    std::string_view Usage() const override { return "crc FILE --model NAME"; }
    std::string_view Summary() const override {
        return "Prints the CRC-32 and size of the image an S-record file makes for the chosen "
               "model, as load and write download it.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }
    std::size_t Operands() const override { return 1; }

    ExitStatus Run(const Invocation& invocation) const override {
        if (invocation.operands.empty())
            throw UsageError("no file given: vortana-cli " + std::string(Usage()));
        const std::string& file = invocation.operands.front();
        JobPlan plan;
        ChooseModel(plan, invocation, true);
        LoadImageFile(plan, file);
        const std::uint32_t size = plan.session->ImageSize;
        if (invocation.json)
            invocation.out << "{\"event\":\"crc\",\"file\":" << JsonString(file)
                           << ",\"model\":" << JsonString(invocation.options.Value("--model"))
                           << ",\"crc32\":" << JsonString(Crc32Text(plan.crc32))
                           << ",\"size\":" << size << "}\n";
        else
            invocation.out << "image CRC-32 " << Crc32Text(plan.crc32) << "\nimage size " << size
                           << " bytes\n";
        return ExitStatus::Success;
    }
};

}  // namespace

const Command& CrcCommand() {
    static const Crc command;
    return command;
}

}  // namespace vortana::cli
