#include "cli/GbkText.h"

#include <iconv.h>

#include <memory>

#include "production/JobError.h"

namespace vortana::cli {

std::string Utf8FromGbk(const std::string& bytes, const std::string& path) {
    const iconv_t converter = iconv_open("UTF-8", "GBK");
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw JobError(ExitStatus::FileRefused, "cannot decode " + path + ": no GBK converter");
    const std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);
    std::string in = bytes;
    std::string out(bytes.size() * 2 + 4, '\0');  // a GBK pair becomes at most 3 UTF-8 bytes
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) ==
        static_cast<std::size_t>(-1))
        throw JobError(ExitStatus::FileRefused, "cannot decode " + path +
                                                    " as UTF-8 or GBK near byte " +
                                                    std::to_string(in.size() - inLeft));
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace vortana::cli
