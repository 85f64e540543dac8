// SettingsFolder: the folder where the program keeps sysset.ini and reads MCUtype.txt.
//
// Beside the executable when its folder is writable (a build, a copy in a folder of the user's);
// otherwise (installed under /usr, say) the user's configuration folder, $XDG_CONFIG_HOME/vortana,
// or ~/.config/vortana when XDG_CONFIG_HOME is unset, empty or not absolute. Folders end in '/'.
//
// SettingsFolderFor is pure. PrepareSettingsFolder makes the configuration folder and, when it
// holds no MCUtype.txt, copies the sample catalogue there (the sample missing is no error: the
// model list then reports the missing catalogue as it always does); it throws EFileError when the
// folder cannot be made. Any thread.
#pragma once

#include <string>

namespace vortana {

struct SettingsFolderFacts {
    std::string exeDir;          // ending in '/'
    bool exeDirWritable = true;  // whether the user may write there
    std::string xdgConfigHome;   // $XDG_CONFIG_HOME, empty when unset
    std::string home;            // $HOME
};

std::string SettingsFolderFor(const SettingsFolderFacts& facts);

// The facts of this process: access(2) on the executable's folder and the environment.
SettingsFolderFacts SettingsFolderFactsOf(const std::string& exeDir);

// The sample catalogue of an installed program: share/vortana/MCUtype.txt beside its bin/.
std::string SampleCatalogueFor(const std::string& exeDir);

void PrepareSettingsFolder(const std::string& folder, const std::string& sampleCatalogue);

}  // namespace vortana
