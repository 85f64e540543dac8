#include "cli/SystemNames.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace vortana::cli {

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

// The user database names the effective user; $USER stands in where it has no entry for it (a
// container started with a bare user id).
std::string LoginName() {
    if (const passwd* entry = ::getpwuid(::geteuid());
        entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

}  // namespace vortana::cli
