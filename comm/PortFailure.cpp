#include "comm/PortFailure.h"

namespace vortana {
namespace {

struct Hint {
    const char* chinese;
    const char* english;
};

Hint HintFor(PortFailure failure) {
    switch (failure) {
        case PortFailure::Missing:
            return {"串口不存在：请检查名称，或插上适配器",
                    "no such port: check the name or plug the adapter in"};
        case PortFailure::Busy:
            return {"串口正被另一个程序使用：请先关闭那个程序",
                    "the port is in use by another program: close that program first"};
        case PortFailure::PermissionDenied:
            return {
                "没有打开串口的权限：请把用户加入 dialout 组"
                "（sudo usermod -aG dialout $USER），然后重新登录",
                "permission denied: add your user to the dialout group "
                "(sudo usermod -aG dialout $USER), then log in again"};
        case PortFailure::NotATerminal:
            return {"这个名称不是串口设备", "this name is not a serial port"};
        case PortFailure::Other:
            break;
    }
    return {"串口无法打开", "the port cannot be opened"};
}

}  // namespace

const char* PortFailureHintChinese(PortFailure failure) {
    return HintFor(failure).chinese;
}

const char* PortFailureHintEnglish(PortFailure failure) {
    return HintFor(failure).english;
}

}  // namespace vortana
