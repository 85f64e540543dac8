#include "shell/toolkit/TOpenDialog.h"

#include "shell/toolkit/Desktop.h"

namespace vortana {

bool TOpenDialog::Execute() {
    const std::optional<QString> chosen = desktop_.ChooseOpenFile(owner_, fileName_);
    if (!chosen)
        return false;
    fileName_ = *chosen;
    return true;
}

}  // namespace vortana
