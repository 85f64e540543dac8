#include "production/ExitStatus.h"

#include <algorithm>

namespace vortana {

std::string_view NameOf(ExitStatus status) {
    if (status > ExitStatus::Interrupted)
        status = ExitStatus::Interrupted;
    const auto* row =
        std::find_if(kExitStatuses.begin(), kExitStatuses.end(),
                     [status](const ExitStatusInfo& info) { return info.status == status; });
    return row == kExitStatuses.end() ? "unknown" : row->name;
}

}  // namespace vortana
