// SettingsFolder: the folder where the program keeps sysset.ini and reads MCUtype.txt.
//
// Beside the executable when its folder is writable (a build, a copy in a folder of the user's);
// otherwise (installed under /usr or C:\Program Files, say) the user's configuration folder:
// $XDG_CONFIG_HOME/vortana on POSIX, %APPDATA%\vortana on Windows, or ~/.config/vortana when that
// is unset, empty or not absolute. Folders end in '/'.
//
// SettingsFolderFor is pure; the facts and the sample catalogue's place come from the system's
// backend (shell/posix/, shell/win32/). PrepareSettingsFolder makes the configuration folder and,
// when it holds no MCUtype.txt, copies the sample catalogue there (the sample missing is no error:
// the model list then reports the missing catalogue as it always does); it throws EFileError when
// the folder cannot be made. Any thread.
#pragma once

#include <string>

namespace vortana {

struct SettingsFolderFacts {
    std::string exeDir;          // ending in '/'
    bool exeDirWritable = true;  // whether the user may write there
    std::string configHome;      // $XDG_CONFIG_HOME or %APPDATA%, empty when unset
    std::string home;            // $HOME or %USERPROFILE%
};

std::string SettingsFolderFor(const SettingsFolderFacts& facts);

// The facts of this process: whether it may write in the executable's folder, and the
// environment.
SettingsFolderFacts SettingsFolderFactsOf(const std::string& exeDir);

// The sample catalogue of an installed program: share/vortana/MCUtype.txt beside its bin/ on
// POSIX, MCUtype.txt beside the executable on Windows (the folder of the unpacked release).
std::string SampleCatalogueFor(const std::string& exeDir);

void PrepareSettingsFolder(const std::string& folder, const std::string& sampleCatalogue);

}  // namespace vortana
