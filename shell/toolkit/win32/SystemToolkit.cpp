// Windows: SimSun first, then the stand-in where it is installed (under Wine, from the host's
// fonts); Qt's catalogue built into the program (shell/toolkit/CMakeLists.txt); GBK by the
// system's code page 936, whatever Qt was built with (without ICU, as here, Qt knows no GBK).
#include "shell/toolkit/SystemToolkit.h"

#include <windows.h>

namespace vortana {
namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

QStringList SongFamilies() {
    return {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")};
}

QString QtCatalogueFolder() {
    return QStringLiteral(":/qt-translations");
}

std::string LocalPath(const QString& path) {
    return path.toStdString();
}

QString DecodeGbk(QByteArrayView bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(kGbkCodePage, 0, bytes.data(), size, nullptr, 0);
    QString text(length, Qt::Uninitialized);
    ::MultiByteToWideChar(kGbkCodePage, 0, bytes.data(), size,
                          reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

}  // namespace vortana
