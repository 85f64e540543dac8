// Qt's own texts in Chinese: the buttons of the message boxes ("确定"), the file dialog and the
// context menus of the text boxes, as the windows' own texts are.
//
// InstallQtTranslation loads Qt's Chinese catalogue (qtbase_zh_CN from Qt's translations folder,
// Debian's qt6-translations-l10n; on Windows from the program's resources) into a translator owned
// by `application` and installs it. When
// the catalogue is missing it returns false and Qt keeps its English texts; nothing else changes.
// User-interface thread only, after the application is made and before the first window.
#pragma once

class QCoreApplication;

namespace vortana {

bool InstallQtTranslation(QCoreApplication& application);

}  // namespace vortana
