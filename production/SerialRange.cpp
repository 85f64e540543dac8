#include "production/SerialRange.h"

#include <string>

#include "image/SerialNumber.h"
#include "production/JobError.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr int kOfflineMode = 1;  // SettingsControls::RadioGroup1
constexpr std::int64_t kSerialNumbersAvailable = kSerialNumberMax + 1;

[[noreturn]] void RefuseRange(const std::string& what) {
    throw JobError(ExitStatus::FileRefused,
                   what + " would pass " + std::to_string(kSerialNumberMax) +
                       ", the device's ten digits: no serial number was taken");
}

}  // namespace

std::int64_t SerialSpan(const SettingsControls& settings, std::int64_t increment) {
    if (settings.RadioGroup1 != kOfflineMode || increment == 0)
        return 1;
    const std::int64_t count = StrToInt(settings.Edit4);
    if (count == 0)
        throw JobError(
            ExitStatus::Usage,
            "offline mode with --count 0 sets no number of chips, so no range of serial numbers "
            "can be reserved for --increment " +
                std::to_string(increment) + ": give --count N, or --increment 0");
    return count * increment;
}

std::int64_t SerialRangeSize(std::int64_t span, std::size_t programmers) {
    if (programmers > static_cast<std::size_t>(kSerialNumbersAvailable / span))
        RefuseRange(std::to_string(programmers) + " programmers taking " + std::to_string(span) +
                    " serial numbers each");
    return span * static_cast<std::int64_t>(programmers);
}

void RequireSerialRange(std::int64_t first, std::int64_t size) {
    if (size > kSerialNumbersAvailable - first)
        RefuseRange("the " + std::to_string(size) + " serial numbers from " +
                    std::to_string(first));
}

}  // namespace vortana
