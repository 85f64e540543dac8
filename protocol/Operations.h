// The operations the front end can start, one row each: the frame it sends, how long the progress
// timer waits per percent, and how a status reply ends it, with the texts the user is shown.
// Texts are the system's own, blanks and full-width punctuation included. Qt-free.
#pragma once

#include "protocol/Frames.h"
#include "shell/SessionState.h"

#include <array>
#include <cstdint>

namespace vortana {

enum class PeriodBase : std::uint8_t {
    None,        // timers not started (settings)
    FlashRange,  // (FlashEnd - FlashStart) div divisor, unsigned 32-bit, wrapping
    ImageSize,   // ImageSize div divisor
};

struct Operation {
    CmdKindValue kind;
    Command command;
    PeriodBase periodBase;
    std::uint32_t periodDivisor;
    bool failsOnAnyOther;       // every status but 0x99 shows failureText
    bool successShowsProgress;  // 0x99 sets 100 % before its message
    bool reportsMismatch;       // 0xEE shows the mismatch report
    const char* successText;    // nullptr: nothing shown on success
    const char* failureText;    // shown for 0x00
    const char* protectedText;  // shown for 0x11; nullptr: 0x11 is not acted on
};

inline constexpr const char* kProtectedNoVerify = "目标芯片已加密，无法校验。";
// A command pressed while the port is closed is refused with this at once: its frame would be
// lost and only the time-out would tell, two minutes later and blaming the power supply.
inline constexpr const char* kPortClosedText = "串口未打开，请重新选择串口！";
// The line went away (a hang-up or a read error) while an operation waited for its reply.
inline constexpr const char* kLineLostText = "串口连接已断开，请检查连接线后重新选择串口！";

// clang-format off
inline constexpr std::array<Operation, 7> kOperationTable{{
    // kind        command            period base            div  any other fails, 100 %, 0xEE
    //             success text                              failure text                            0x11 text
    {kCmdSettings, Command::SetCmd,   PeriodBase::None,        0, true,  false, false,
                   "设置成功!请重新 选择型号及加载文件",       "设置失败,可能是目标已供电或连接线问题", nullptr},
    {kCmdErase,    Command::EraseCmd, PeriodBase::FlashRange, 1000, true,  true,  false,
                   "擦 除 成 功！",                            "擦 除 失 败",                          nullptr},
    {kCmdProgram,  Command::WriteCmd, PeriodBase::FlashRange, 160, false, true,  false,
                   "编 程 成 功",                              "编 程 失 败",                          nullptr},
    {kCmdVerify,   Command::CheckCmd, PeriodBase::FlashRange, 100, false, true,  true,
                   "校 验 成 功!",                             "校 验 失 败",                          kProtectedNoVerify},
    {kCmdReadOut,  Command::ReadCmd,  PeriodBase::FlashRange, 128, false, false, false,
                   nullptr,                                    "读 出 失 败！",                        "目标芯片已加密，无法读出。"},
    {kCmdEpc,      Command::EPCCmd,   PeriodBase::FlashRange, 128, false, true,  true,
                   "擦除、编程、校验 成功!",                   "擦除、编程、校验 失 败",               kProtectedNoVerify},
    // The download's success text is followed by the length the device reports.
    {kCmdDownload, Command::LoadCmd,  PeriodBase::ImageSize,  300, false, true,  false,
                   "文件加载成功，长度是 ",                    "文 件 加 载 失 败",                    nullptr},
}};
// clang-format on

// The row of a CmdKind value; nullptr for 0 and for values above 7.
const Operation* FindOperation(std::uint8_t cmdKind);

// The row of an operation the table holds.
const Operation& OperationOf(CmdKindValue kind);

// The progress timer's period in milliseconds for `operation` and the chosen model or image.
// FlashStart and FlashEnd are read as hexadecimal with default 0; a range whose end lies below
// its start wraps to a very long period. 0 means the timer never ticks.
std::uint32_t ProgressPeriodMs(const Operation& operation, const SessionState& state);

}  // namespace vortana
