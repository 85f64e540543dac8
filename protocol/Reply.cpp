#include "protocol/Reply.h"

#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr const char* kMismatchAddress = "校验没通过，错误地址：";
constexpr const char* kMismatchWritten = ",  写入是 ";
constexpr const char* kMismatchReadBack = " 读出是 ";

std::string ByteText(std::uint8_t byte) {
    return IntToHex(byte, 2);
}

}  // namespace

std::string MismatchReport(ReplyHead reply) {
    return kMismatchAddress + ByteText(reply[kReplyParam1]) + ByteText(reply[kReplyParam2]) +
           kMismatchWritten + ByteText(reply[kReplyWritten]) + kMismatchReadBack +
           ByteText(reply[kReplyReadBack]);
}

std::string DownloadLengthText(ReplyHead reply) {
    return ByteText(reply[kReplyParam1]) + ByteText(reply[kReplyParam2]);
}

}  // namespace vortana
