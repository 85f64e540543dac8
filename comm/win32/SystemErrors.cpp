#include "comm/win32/SystemErrors.h"

#include <windows.h>

namespace vortana {
namespace {

// CreateFile's errors on a device name and the reason each one gives; any other is Other.
constexpr struct {
    DWORD error;
    PortFailure failure;
} kFailures[] = {
    {ERROR_FILE_NOT_FOUND, PortFailure::Missing}, {ERROR_PATH_NOT_FOUND, PortFailure::Missing},
    {ERROR_DEV_NOT_EXIST, PortFailure::Missing},  // a USB adapter pulled out
    {ERROR_INVALID_NAME, PortFailure::Missing},   // "COM" with nothing after it, ""
    {ERROR_ACCESS_DENIED, PortFailure::Busy},     // the port's one opener is another program
    {ERROR_SHARING_VIOLATION, PortFailure::Busy},
};

}  // namespace

PortFailure PortFailureFromWin32Error(unsigned long error) {
    for (const auto& f : kFailures)
        if (f.error == error)
            return f.failure;
    return PortFailure::Other;
}

}  // namespace vortana
