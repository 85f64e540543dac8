#include "image/ImageFileName.h"

namespace vortana {

ImageFileName ImageFileName::FromPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    ImageFileName texts;
    texts.name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    texts.edit3Text = ".\\..\\" + texts.name;
    texts.edit3Hint = path;  // directory, "/" and name: on this platform the path itself
    return texts;
}

}  // namespace vortana
