// Linux: Debian's stand-in Song face; Qt's translations folder of the system's Qt
// (qt6-translations-l10n); GBK by the system's Qt, built with ICU.
#include "shell/toolkit/SystemToolkit.h"

#include <QFile>
#include <QLibraryInfo>
#include <QStringDecoder>

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

QString DecodeGbk(QByteArrayView bytes) {
    QStringDecoder gbk("GBK");
    return gbk(bytes);
}

}  // namespace vortana
