// ImageFileName: the texts the main window shows for a chosen S-record file.
//
// The file box Edit3 shows ".\..\" and the file name (backslashes and all);
// its hover hint is the file's directory, "/" and the name; the file-buffer view's caption is
// the name alone.
//
// Qt-free; a pure function, safe on any thread.
#pragma once

#include <string>
#include <string_view>

namespace vortana {

struct ImageFileName {
    std::string name;       // without its directory: the file-buffer view's caption
    std::string edit3Text;  // ".\..\" + name
    std::string edit3Hint;  // directory + "/" + name

    // From the path the file dialog returned (UTF-8, "/" between directories).
    static ImageFileName FromPath(std::string_view path);
};

}  // namespace vortana
