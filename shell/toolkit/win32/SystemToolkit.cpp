// Windows: SimSun first, then the stand-in where it is installed (under Wine, from the host's
// fonts); Qt's catalogue built into the program (shell/toolkit/CMakeLists.txt).
#include "shell/toolkit/SystemToolkit.h"

namespace vortana {

QStringList SongFamilies() {
    return {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")};
}

QString QtCatalogueFolder() {
    return QStringLiteral(":/qt-translations");
}

std::string LocalPath(const QString& path) {
    return path.toStdString();
}

}  // namespace vortana
