// models: the catalogue's models, or its refused lines with the reason.
#include <vector>

#include "cli/Catalogue.h"
#include "cli/Commands.h"
#include "cli/Text.h"
#include "image/ModelCodeInfo.h"
#include "production/JobError.h"

namespace vortana::cli {
namespace {

std::vector<std::string> ModelRow(const ModelPick& pick) {
    return {std::string(TrimmedName(pick.ModelName)), pick.FlashStart + "-" + pick.FlashEnd,
            std::string(TrimmedName(pick.FlashSizeText)),
            "image " + std::to_string(pick.ImageSize / kBytesPerK) + " KiB",
            "code " + pick.ModelCode};
}

class Models : public Command {
  public:
    std::string_view Name() const override { return "models"; }
    std::string_view Usage() const override { return "models [--catalogue FILE]"; }
    std::string_view Summary() const override {
        return "Lists the catalogue's models (start-end, size, image size, code) and the lines "
               "it refuses, with the reason; exit status 3 when any line is refused.";
    }
    std::span<const OptionSpec> Grammar() const override { return {}; }

    ExitStatus Run(const Invocation& invocation) const override {
        ExitStatus status = ExitStatus::Success;
        // Printed whole at the end, so that each column is as wide as its widest cell.
        std::vector<std::vector<std::string>> table;
        for (const CatalogueLine& line : ReadCatalogue(invocation.catalogue)) {
            if (line.outcome.pick) {
                if (invocation.json)
                    invocation.out << "{\"event\":\"model\",\"name\":"
                                   << JsonString(TrimmedName(line.outcome.pick->ModelName))
                                   << ",\"start\":" << JsonString(line.outcome.pick->FlashStart)
                                   << ",\"end\":" << JsonString(line.outcome.pick->FlashEnd)
                                   << ",\"image_size\":" << line.outcome.pick->ImageSize
                                   << ",\"code\":" << JsonString(line.outcome.pick->ModelCode)
                                   << "}\n";
                else
                    table.push_back(ModelRow(*line.outcome.pick));
                continue;
            }
            status = ExitStatus::FileRefused;
            const std::string refusal =
                "line " + std::to_string(line.number) + " refused: " + line.outcome.refusal;
            if (invocation.json)
                invocation.out << "{\"event\":\"refused\",\"line\":" << line.number
                               << ",\"reason\":" << JsonString(line.outcome.refusal) << "}\n";
            else
                invocation.err << refusal << "\n";
        }
        invocation.out << TableText(table);
        return status;
    }
};

}  // namespace

const Command& ModelsCommand() {
    static const Models command;
    return command;
}

}  // namespace vortana::cli
