#include "protocol/Operations.h"

#include "shell/Convert.h"

#include <algorithm>
#include <cassert>

namespace vortana {

const Operation* FindOperation(std::uint8_t cmdKind) {
    const auto* row = std::find_if(kOperationTable.begin(), kOperationTable.end(),
                                   [cmdKind](const Operation& op) { return op.kind == cmdKind; });
    return row == kOperationTable.end() ? nullptr : row;
}

const Operation& OperationOf(CmdKindValue kind) {
    const Operation* row = FindOperation(kind);
    assert(row != nullptr);
    return *row;
}

std::uint32_t ProgressPeriodMs(const Operation& operation, const SessionState& state) {
    switch (operation.periodBase) {
        case PeriodBase::FlashRange: {
            const auto start = static_cast<std::uint32_t>(HexToIntDef(state.FlashStart));
            const auto end = static_cast<std::uint32_t>(HexToIntDef(state.FlashEnd));
            return (end - start) / operation.periodDivisor;
        }
        case PeriodBase::ImageSize:
            return state.ImageSize / operation.periodDivisor;
        case PeriodBase::None:
            break;
    }
    return 0;
}

}  // namespace vortana
