// Catalogue: the model catalogue file (MCUtype.txt) as the command-line program reads it: every
// line that is not blank, checked as the model list checks a double-clicked line.
//
// The file may be in UTF-8 or in the Chinese Windows code page (GBK); a file that is not valid
// UTF-8 is decoded as GBK. Errors: JobError(FileRefused) for a file that cannot be read or
// decoded, for a model named that is not there, and for a model whose line is refused (with the
// line number and the reason). Qt-free; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "image/ModelPick.h"

namespace vortana::cli {

struct CatalogueLine {
    std::size_t number = 0;  // 1-based line number in the file
    std::string text;        // UTF-8, without its line end
    ModelPickOutcome outcome;
};

std::vector<CatalogueLine> ReadCatalogue(const std::string& path);

// The pick of the line whose model name (blanks around it ignored) is `name`.
ModelPick FindModel(const std::vector<CatalogueLine>& lines, std::string_view name);

// A model name without the blanks that pad its column.
std::string_view TrimmedName(std::string_view name);

}  // namespace vortana::cli
