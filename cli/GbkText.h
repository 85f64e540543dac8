// Catalogue text in the Windows Chinese code page (GBK) as UTF-8, by the system's own converter
// (iconv on Linux, code page 936 on Windows), picked by the build. Throws JobError (a refused
// file, naming `path`) when the bytes are no GBK. Any thread.
#pragma once

#include <string>

namespace vortana::cli {

std::string Utf8FromGbk(const std::string& bytes, const std::string& path);

}  // namespace vortana::cli
