// Linux: Debian's stand-in Song face; Qt's translations folder of the system's Qt
// (qt6-translations-l10n).
#include "shell/toolkit/SystemToolkit.h"

#include <QFile>
#include <QLibraryInfo>

namespace vortana {

QStringList SongFamilies() {
    return {QStringLiteral("AR PL UMing CN")};
}

QString QtCatalogueFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace vortana
