#include "cli/Catalogue.h"

#include "cli/GbkText.h"
#include "production/JobError.h"
#include "shell/FileAccess.h"

namespace vortana::cli {
namespace {

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : lead >> 5 == 0x6  ? 2
                                   : lead >> 4 == 0xE  ? 3
                                   : lead >> 3 == 0x1E ? 4
                                                       : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// The catalogue is looked for beside the program unless named, so a missing one says how to name
// it.
std::string ReadCatalogueText(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const EFileError& error) {
        throw JobError(ExitStatus::FileRefused, std::string("the model catalogue: ") +
                                                    error.what() +
                                                    " (--catalogue FILE names another)");
    }
    return IsUtf8(bytes) ? bytes : Utf8FromGbk(bytes, path);
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace

std::string_view TrimmedName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::vector<CatalogueLine> ReadCatalogue(const std::string& path) {
    const std::string text = ReadCatalogueText(path);
    std::vector<CatalogueLine> lines;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!IsBlank(line))
            lines.push_back({number, std::string(line), PickModel(line)});
        start = end + 1;
    }
    return lines;
}

ModelPick FindModel(const std::vector<CatalogueLine>& lines, std::string_view name) {
    for (const CatalogueLine& line : lines)
        if (line.outcome.pick && TrimmedName(line.outcome.pick->ModelName) == name)
            return *line.outcome.pick;
    // A refused line has no pick to name it: look for the name in its text instead.
    for (const CatalogueLine& line : lines)
        if (!line.outcome.pick && line.text.find(name) != std::string::npos)
            throw JobError(ExitStatus::FileRefused, "catalogue line " +
                                                        std::to_string(line.number) +
                                                        " refused: " + line.outcome.refusal);
    throw JobError(ExitStatus::FileRefused, "no model \"" + std::string(name) +
                                                "\" in the catalogue (see: vortana-cli models)");
}

}  // namespace vortana::cli
