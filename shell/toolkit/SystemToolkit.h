// What the toolkit takes from the system it runs on, one backend a system (shell/toolkit/posix/,
// shell/toolkit/win32/), picked by the build: the names of the windows' Song face, where Qt's
// Chinese catalogue is, how a file name the user chose becomes a path for the Qt-free layers, and
// the GBK decoder. User-interface thread.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <string>

namespace vortana {

// The Song face's names, most wanted first; a font takes the first one the system has. On Windows
// "SimSun" (宋体, on every Chinese Windows) and then the stand-in, "AR PL UMing CN"; elsewhere
// the stand-in alone.
QStringList SongFamilies();

// The folder qtbase_zh_CN.qm is loaded from: Qt's translations folder on Linux, the program's own
// resources on Windows, whose PCs have no Qt of their own.
QString QtCatalogueFolder();

// A path as the Qt-free layers take it: the file system's bytes on POSIX, UTF-8 on Windows.
std::string LocalPath(const QString& path);

// Text in the Windows Chinese code page (GBK); a byte sequence that is no GBK becomes a
// replacement character. Qt decodes GBK only where it is built with ICU (Debian's is); on
// Windows the system's code page 936 does it.
QString DecodeGbk(QByteArrayView bytes);

}  // namespace vortana
