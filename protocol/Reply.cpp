#include "protocol/Reply.h"

#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr const char* kMismatchAddress = "校验没通过，错误地址：";
constexpr const char* kMismatchWritten = ",  写入是 ";
constexpr const char* kMismatchReadBack = " 读出是 ";
constexpr const char* kMissingByteText = "??";

}  // namespace

std::string ParameterText(const ReplyParameters& parameters, std::size_t first, std::size_t count) {
    std::string text;
    for (std::size_t i = first; i < first + count; ++i)
        text += parameters.at(i) ? IntToHex(*parameters[i], 2) : kMissingByteText;
    return text;
}

std::string MismatchReport(const ReplyParameters& parameters) {
    return kMismatchAddress + ParameterText(parameters, 0, 2) + kMismatchWritten +
           ParameterText(parameters, 2, 1) + kMismatchReadBack + ParameterText(parameters, 3, 1);
}

std::string DownloadLengthText(const ReplyParameters& parameters) {
    return ParameterText(parameters, 0, 2);
}

}  // namespace vortana
