#include "cli/GbkText.h"

#include <windows.h>

#include "production/JobError.h"

namespace vortana::cli {
namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::string Utf8FromGbk(const std::string& bytes, const std::string& path) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int wideLength =
        ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wideLength == 0)
        throw JobError(ExitStatus::FileRefused, "cannot decode " + path + " as UTF-8 or GBK");
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(kGbkCodePage, 0, bytes.data(), size, wide.data(), wideLength);
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr,
                          nullptr);
    return utf8;
}

}  // namespace vortana::cli
