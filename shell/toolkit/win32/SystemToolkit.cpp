// Windows: SimSun first, which has no bold of its own and is emboldened by the system as it is
// asked for bold; Qt's catalogue built into the program (shell/toolkit/CMakeLists.txt).
#include "shell/toolkit/SystemToolkit.h"

namespace vortana {

QStringList SongFamilies() {
    return {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")};
}

QString SongRegularStyle() {
    return {};
}

QString QtCatalogueFolder() {
    return QStringLiteral(":/qt-translations");
}

std::string LocalPath(const QString& path) {
    return path.toStdString();
}

}  // namespace vortana
