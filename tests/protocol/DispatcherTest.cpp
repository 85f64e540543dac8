#include "protocol/Dispatcher.h"

#include "RecordingHost.h"
#include "shell/Convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <utility>

namespace vortana {
namespace {

using Log = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

const Log kOff = {"timer1 off", "timer2 off"};

Bytes StatusReply(std::uint8_t status, Bytes params = {}) {
    Bytes reply{0x68, 0x00, static_cast<std::uint8_t>(params.size() + 2), status};
    for (std::uint8_t param : params)
        reply.push_back(param);
    reply.push_back(0x16);
    return reply;
}

// A page whose byte i is (i + seed) mod 256, so its first row starts with the seed.
Bytes Page(int seed) {
    Bytes page(4096);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i + seed);
    return page;
}

Log Concat(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class DispatcherTest : public ::testing::Test {
  protected:
    std::unique_ptr<SessionState> owned = std::make_unique<SessionState>();
    SessionState& state = *owned;
    RecordingHost host;
    Dispatcher dispatcher{state, host};

    void SetUp() override { ChooseModel("0x00", "48"); }

    void ChooseModel(const char* code, const char* sizeK, const char* start = "4000") {
        state.ModelCode = code;
        state.FlashSizeK = sizeK;
        state.FlashStart = start;
        state.FlashEnd = "FFFF";
        state.ImageSize = static_cast<std::uint32_t>(StrToInt(sizeK)) * 1024;
    }
    void Receive(const Bytes& bytes) {
        dispatcher.Comm1ReceiveData(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    }
    Log Take() { return std::exchange(host.log, {}); }
    void StartReadOut() {
        dispatcher.Button7Click();
        Take();
    }
};

TEST_F(DispatcherTest, CommandStartsSendResetCountersAndStartTimers) {
    struct Start {
        void (Dispatcher::*click)();
        CmdKindValue kind;
        const char* frame;
        const char* interval;
    };
    const Start starts[] = {
        {&Dispatcher::Button3Click, kCmdErase, "send 68 01 00 16", "timer1 interval 49"},
        {&Dispatcher::Button4Click, kCmdProgram, "send 68 02 00 16", "timer1 interval 307"},
        {&Dispatcher::Button5Click, kCmdVerify, "send 68 03 00 16", "timer1 interval 491"},
        {&Dispatcher::Button6Click, kCmdEpc, "send 68 05 00 16", "timer1 interval 383"},
    };
    for (const Start& start : starts) {
        state.ProgressPercent = 57;
        state.ElapsedTicks = 33;
        (dispatcher.*start.click)();
        EXPECT_EQ(Take(),
                  Log({start.frame, "label7 0 %", start.interval, "timer1 on", "timer2 on"}));
        EXPECT_EQ(state.CmdKind, start.kind);
        EXPECT_EQ(state.ProgressPercent, 0u);
        EXPECT_EQ(state.ElapsedTicks, 0u);
    }
    state.FlashEnd = "43E7";  // under 1000 bytes: a period of 0, which never ticks
    dispatcher.Button3Click();
    EXPECT_EQ(Take()[2], "timer1 interval 0");
}

TEST_F(DispatcherTest, ReadOutStartEmptiesTheViewAndTakesTheStartHighDigits) {
    ChooseModel("0xB0", "64");
    state.ReadPageCount = 9;
    dispatcher.Button7Click();
    EXPECT_EQ(Take(), Log({"clear readout", "send 68 04 03 40 40 B0 16", "label7 0 %",
                           "timer1 interval 383", "timer1 on", "timer2 on"}));
    EXPECT_EQ(state.FlashStartHigh, "40");
    EXPECT_EQ(state.CmdKind, kCmdReadOut);
    EXPECT_EQ(state.ReadPageCount, 0);
}

TEST_F(DispatcherTest, SettingsResetTheBoxesAndStartNoTimer) {
    dispatcher.Button8Click({0, 0, 0, 0, "0000"});
    EXPECT_EQ(Take(), Log({"reset boxes", "send 68 06 05 55 50 00 00 00 16"}));
    EXPECT_EQ(state.CmdKind, kCmdSettings);

    state.CmdKind = kCmdVerify;
    EXPECT_THROW(dispatcher.Button8Click({0, 0, 0, 0, ""}), EConvertError);
    EXPECT_EQ(Take(), Log({"reset boxes"}));  // the boxes stay reset, nothing is sent
    EXPECT_EQ(state.CmdKind, kCmdVerify);
}

TEST_F(DispatcherTest, DownloadSendsTheHeaderThenBlockZeroWithTheTimers) {
    ChooseModel("0xB0", "64");
    for (std::size_t i = 0; i < state.ImageBlocks.size(); ++i)
        state.ImageBlocks[i] = static_cast<std::uint8_t>(i % 251);
    dispatcher.StartDownload();
    EXPECT_EQ(Take(), Log({"send 68 00 08 40 B0 00 00 00 00 00 00 16"}));
    EXPECT_EQ(state.CmdKind, kCmdDownload);

    dispatcher.SendFirstBlock();
    EXPECT_EQ(Take(), Log({"label7 0 %", "timer1 interval 218", "timer1 on", "timer2 on",
                           "send 4102 bytes"}));
    EXPECT_TRUE(
        std::equal(host.sent.back().begin(), host.sent.back().end(), state.ImageBlocks.begin()));
}

TEST_F(DispatcherTest, ACommandOnAClosedPortSendsNothingStartsNoTimerAndSaysSoAtOnce) {
    host.portOpen = false;
    state.CmdKind = kCmdVerify;
    const Log refused = {"box 串口未打开，请重新选择串口！"};
    for (void (Dispatcher::*click)() :
         {&Dispatcher::Button3Click, &Dispatcher::Button4Click, &Dispatcher::Button5Click,
          &Dispatcher::Button6Click, &Dispatcher::Button7Click, &Dispatcher::SendFirstBlock}) {
        (dispatcher.*click)();
        EXPECT_EQ(Take(), refused);
    }
    dispatcher.Button8Click({0, 0, 0, 0, "0000"});
    EXPECT_EQ(Take(), refused);  // the model boxes keep their texts
    EXPECT_FALSE(dispatcher.StartDownload());
    EXPECT_EQ(Take(), refused);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(state.CmdKind, kCmdVerify);
}

TEST_F(DispatcherTest, ALostLineStopsTheTimersAndEndsAWaitingOperationOnce) {
    const Log lost = Concat({kOff, {"box 串口连接已断开，请检查连接线后重新选择串口！"}});
    dispatcher.Button7Click();
    Take();
    dispatcher.Comm1RequestHangup();
    EXPECT_EQ(Take(), lost);
    dispatcher.Comm1RequestHangup();  // the writer may ask as well: told once
    EXPECT_EQ(Take(), kOff);

    // Nothing waits after a time-out, nor for the settings, which start no timer.
    dispatcher.Button3Click();
    for (int tick = 0; tick < 1200; ++tick)
        dispatcher.Timer2Timer();
    Take();
    dispatcher.Comm1RequestHangup();
    EXPECT_EQ(Take(), kOff);
    dispatcher.Button8Click({0, 0, 0, 0, "0000"});
    Take();
    dispatcher.Comm1RequestHangup();
    EXPECT_EQ(Take(), kOff);
}

struct StatusCase {
    std::uint8_t kind;
    Bytes reply;
    Log expected;
};

TEST_F(DispatcherTest, EachOperationActsOnItsStatuses) {
    const Log full = {"timer1 off", "timer2 off", "label7 100 %"};
    const std::string mismatch = "box 校验没通过，错误地址：4F3A,  写入是 12 读出是 FF";
    const Bytes mismatchReply = StatusReply(0xEE, {0x4F, 0x3A, 0x12, 0xFF});
    const StatusCase cases[] = {
        {kCmdSettings, StatusReply(0x99),
         Concat({kOff, {"box 设置成功!请重新 选择型号及加载文件"}})},
        {kCmdSettings, StatusReply(0x55),
         Concat({kOff, {"box 设置失败,可能是目标已供电或连接线问题"}})},
        {kCmdErase, StatusReply(0x99), Concat({full, {"box 擦 除 成 功！"}})},
        {kCmdErase, StatusReply(0x11), Concat({kOff, {"box 擦 除 失 败"}})},
        {kCmdProgram, StatusReply(0x99), Concat({full, {"box 编 程 成 功"}})},
        {kCmdProgram, StatusReply(0x00), Concat({kOff, {"box 编 程 失 败"}})},
        {kCmdProgram, StatusReply(0x11), kOff},  // stops where the percentage stands
        {kCmdVerify, StatusReply(0x99), Concat({full, {"box 校 验 成 功!"}})},
        {kCmdVerify, StatusReply(0x00), Concat({kOff, {"box 校 验 失 败"}})},
        {kCmdVerify, StatusReply(0x11), Concat({kOff, {"box 目标芯片已加密，无法校验。"}})},
        {kCmdVerify, mismatchReply, Concat({kOff, {mismatch}})},
        {kCmdVerify, StatusReply(0x55), kOff},
        {kCmdEpc, StatusReply(0x99), Concat({full, {"box 擦除、编程、校验 成功!"}})},
        {kCmdEpc, StatusReply(0x00), Concat({kOff, {"box 擦除、编程、校验 失 败"}})},
        {kCmdEpc, StatusReply(0x11), Concat({kOff, {"box 目标芯片已加密，无法校验。"}})},
        {kCmdEpc, mismatchReply, Concat({kOff, {mismatch}})},
        {kCmdReadOut, StatusReply(0x11), Concat({kOff, {"box 目标芯片已加密，无法读出。"}})},
        {kCmdReadOut, StatusReply(0x00), Concat({kOff, {"box 读 出 失 败！"}})},
        {kCmdReadOut, StatusReply(0x99), kOff},
        {kCmdDownload, StatusReply(0x99, {0x10, 0x00}),
         Concat({full, {"box 文件加载成功，长度是 1000", "enable program buttons"}})},
        {kCmdDownload, StatusReply(0x00), Concat({kOff, {"box 文 件 加 载 失 败"}})},
        {kCmdDownload, StatusReply(0x11), {}},  // not even the timers stop
        {kCmdNone, StatusReply(0x99), {}},
        {8, StatusReply(0x99), {}},
    };
    for (const StatusCase& c : cases) {
        state.CmdKind = c.kind;
        Receive(c.reply);
        EXPECT_EQ(Take(), c.expected) << "CmdKind " << int(c.kind) << " status " << int(c.reply[3]);
    }
}

TEST_F(DispatcherTest, RepliesTooShortForAStatusAreIgnoredButStillCopied) {
    state.CmdKind = kCmdErase;
    Receive(StatusReply(0x99));
    Take();
    for (const Bytes& shortReply : {Bytes{}, Bytes{0x68}, Bytes{0x68, 0x02, 0x00}}) {
        Receive(shortReply);
        EXPECT_TRUE(Take().empty()) << shortReply.size();  // byte 3 still holds the old 0x99
    }
    Receive(Bytes{0xA1, 0xA2});
    EXPECT_EQ(state.ReplyBuffer[1], 0xA2);
    EXPECT_EQ(state.ReplyBuffer[3], 0x99);  // bytes past the event keep what was there
}

TEST_F(DispatcherTest, BlockRequestsAreAnsweredOnlyFromTheCurrentImage) {
    ChooseModel("0x00", "16");  // four blocks
    for (std::size_t block = 0; block < kImageBlockCount; ++block)
        state.ImageBlocks[block * kImageBlockSize] = static_cast<std::uint8_t>(0xA0 + block);
    state.CmdKind = kCmdDownload;

    Receive(StatusReply(0x55, {0x03}));
    EXPECT_EQ(Take(), Log({"send 4102 bytes"}));
    EXPECT_EQ(host.sent.back()[0], 0xA3);
    EXPECT_TRUE(std::equal(host.sent.back().begin(), host.sent.back().end(),
                           state.ImageBlocks.begin() + 3 * kImageBlockSize));

    for (std::uint8_t missing : {4, 15, 16, 255}) {
        Receive(StatusReply(0x55, {missing}));
        EXPECT_EQ(Take(), Concat({kOff, {"box 文 件 加 载 失 败"}})) << int(missing);
    }
    ChooseModel("0x00", "64");
    Receive(StatusReply(0x55, {15}));
    EXPECT_EQ(host.sent.back()[0], 0xAF);
    EXPECT_EQ(host.sent.size(), 2u);
    Take();

    // A request cut short before its block number: byte 4 still holds the 15 of the last one.
    Receive(Bytes{0x68, 0x00, 0x03, 0x55});
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(host.sent.size(), 2u);
}

struct PagingCase {
    const char* code;
    const char* sizeK;
    int pages;
    int lastPage;                          // the page that sets 100 % and stops the timers
    std::map<int, std::string> firstRows;  // page -> address of its first row
};

TEST_F(DispatcherTest, ReadOutPagesAreListedAtEachModelsAddresses) {
    const PagingCase cases[] = {
        {"0xB0", "64", 16, 16, {{1, "B000"}, {2, "4000"}, {3, "5000"}, {16, "12000"}}},
        {"0x00", "48", 12, 12, {{1, "4000"}, {2, "5000"}, {12, "F000"}}},
        // 62 div 4 = 15: complete at the fifteenth page, a sixteenth is still listed
        {"0x14", "62", 16, 15, {{1, "1000"}, {2, "4000"}, {15, "11000"}, {16, "12000"}}},
    };
    for (const PagingCase& c : cases) {
        ChooseModel(c.code, c.sizeK);
        StartReadOut();
        for (int page = 1; page <= c.pages; ++page) {
            Receive(Page(page));
            Log log = Take();
            ASSERT_EQ(log.size(), page == c.lastPage ? 4u : 1u) << c.code << " page " << page;
            if (page == c.lastPage) {
                EXPECT_EQ(Log(log.begin(), log.begin() + 3),
                          Log({"timer1 off", "timer2 off", "label7 100 %"}));
            }
            if (c.firstRows.count(page)) {
                EXPECT_EQ(log.back(), "rows " + c.firstRows.at(page) + " x256") << c.code;
            }
        }
    }
    // Rows show the page's bytes; the last row of the window page is BFF0.
    EXPECT_EQ(host.rows[0], "B000:: 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ");
    EXPECT_EQ(host.rows[255], "BFF0:: F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF 00 ");
}

TEST_F(DispatcherTest, ReadOutJoinsSplitPagesAndSplitsJoinedOnes) {
    StartReadOut();
    const Bytes page1 = Page(1), page2 = Page(2), page3 = Page(3);
    Receive(Bytes(page1.begin(), page1.begin() + 3000));
    Receive(Bytes(page1.begin() + 3000, page1.begin() + 3005));  // a short piece is data here
    EXPECT_TRUE(Take().empty());
    Bytes rest(page1.begin() + 3005, page1.end());
    rest.insert(rest.end(), page2.begin(), page2.end());
    rest.insert(rest.end(), page3.begin(), page3.begin() + 100);
    Receive(rest);  // the end of page 1, all of page 2, the start of page 3
    EXPECT_EQ(Take(), Log({"rows 4000 x256", "rows 5000 x256"}));
    Receive(Bytes(page3.begin() + 100, page3.end()));
    EXPECT_EQ(Take(), Log({"rows 6000 x256"}));
    EXPECT_EQ(host.rows[256], "5000:: 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 ");
    EXPECT_EQ(host.rows[512], "6000:: 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 ");
    EXPECT_EQ(state.ReadPageCount, 3);

    // Between pages a short event is a status reply; the read-out goes on after it.
    Receive(StatusReply(0x00));
    EXPECT_EQ(Take(), Concat({kOff, {"box 读 出 失 败！"}}));
    Receive(Bytes{1, 2, 3, 4, 5, 6});  // six bytes: the start of a page, no status
    EXPECT_TRUE(Take().empty());
}

TEST_F(DispatcherTest, NewReadOutForgetsAPartlyReceivedPage) {
    StartReadOut();
    Receive(Bytes(100, 0xEE));
    StartReadOut();
    Receive(StatusReply(0x11));  // no page is partly received any more
    EXPECT_EQ(Take(), Concat({kOff, {"box 目标芯片已加密，无法读出。"}}));
    Receive(Page(0));
    EXPECT_EQ(host.rows.front(), "4000:: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
}

TEST_F(DispatcherTest, BadFlashSizeRaisesAfterCountingAndKeepsTheBytesAfterThePage) {
    StartReadOut();
    state.FlashSizeK = "4 8";
    Bytes burst = Page(1);
    burst.insert(burst.end(), 10, 0x77);
    EXPECT_THROW(Receive(burst), EConvertError);
    EXPECT_EQ(state.ReadPageCount, 1);
    EXPECT_TRUE(Take().empty());
    state.FlashSizeK = "48";
    Receive(Bytes(4086, 0x77));  // the second page, from the kept bytes on
    ASSERT_EQ(host.rows.size(), 256u);
    EXPECT_EQ(state.ReadPageCount, 2);
    for (const std::string& row : host.rows)
        EXPECT_EQ(row.substr(row.find("::")),
                  ":: 77 77 77 77 77 77 77 77 77 77 77 77 77 77 77 77 ");
}

TEST_F(DispatcherTest, PageCountWrapsAndTheTwoHundredFiftySeventhPageCountsAsFirst) {
    ChooseModel("0xB0", "64");
    StartReadOut();
    for (int page = 1; page <= 256; ++page)
        Receive(Page(0));
    Take();
    EXPECT_EQ(state.ReadPageCount, 0);
    Receive(Page(0));
    EXPECT_EQ(Take(), Log({"rows B000 x256"}));
}

TEST_F(DispatcherTest, TimersClimbHoldTimeOutOnceAndALateSuccessStillShowsFullProgress) {
    dispatcher.Button3Click();
    Take();
    for (int tick = 0; tick < 98; ++tick)
        dispatcher.Timer1Timer();
    Log log = Take();
    ASSERT_EQ(log.size(), 98u);
    EXPECT_EQ(log.front(), "label7 1 %");
    EXPECT_EQ(log.back(), "label7 98 %");
    dispatcher.Timer1Timer();
    EXPECT_EQ(Take(), Log({"timer1 off"}));

    for (int tick = 0; tick < 1200; ++tick)
        dispatcher.Timer2Timer();
    log = Take();
    EXPECT_EQ(log[9], "label9 1.0 秒");
    EXPECT_EQ(Log(log.end() - 3, log.end()),
              Log({"label9 120.0 秒", "timer2 off",
                   "box 本次操作超时失败，编程器无响应，请检查供电是否正常！"}));
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& l) { return l.starts_with("box"); }),
              1);

    Receive(StatusReply(0x99));
    EXPECT_EQ(Take(), Log({"timer1 off", "timer2 off", "label7 100 %", "box 擦 除 成 功！"}));
}

// A message box runs a nested event loop; what arrives meanwhile is handled at once.
TEST_F(DispatcherTest, EventsArrivingWhileABoxIsOpenAreHandledWithoutDisturbingIt) {
    state.CmdKind = kCmdVerify;
    host.onMessage = [&](const std::string&) {
        host.onMessage = nullptr;
        Receive(StatusReply(0xEE, {0x12, 0x34, 0x56, 0x78}));
    };
    Receive(StatusReply(0xEE, {0x4F, 0x3A, 0x12, 0xFF}));
    EXPECT_EQ(Take(), Concat({kOff,
                              {"box 校验没通过，错误地址：4F3A,  写入是 12 读出是 FF"},
                              kOff,
                              {"box 校验没通过，错误地址：1234,  写入是 56 读出是 78"}}));

    // The buttons are enabled once the success box is closed, after what came meanwhile.
    state.CmdKind = kCmdDownload;
    host.onMessage = [&](const std::string&) {
        host.onMessage = nullptr;
        Receive(StatusReply(0x55, {0x01}));
    };
    Receive(StatusReply(0x99, {0x0C, 0x00}));
    EXPECT_EQ(Take(),
              Log({"timer1 off", "timer2 off", "label7 100 %", "box 文件加载成功，长度是 0C00",
                   "send 4102 bytes", "enable program buttons"}));

    // A reply inside the time-out box.
    dispatcher.Button3Click();
    host.onMessage = [&](const std::string&) {
        host.onMessage = nullptr;
        Receive(StatusReply(0x99));
    };
    for (int tick = 0; tick < 1200; ++tick)
        dispatcher.Timer2Timer();
    const Log log = Take();
    EXPECT_EQ(Log(log.end() - 6, log.end()),
              Log({"timer2 off", "box 本次操作超时失败，编程器无响应，请检查供电是否正常！",
                   "timer1 off", "timer2 off", "label7 100 %", "box 擦 除 成 功！"}));

    // A page arriving inside a read-out failure box is listed.
    StartReadOut();
    host.onMessage = [&](const std::string&) {
        host.onMessage = nullptr;
        Receive(Page(0));
    };
    Receive(StatusReply(0x00));
    EXPECT_EQ(Take(), Concat({kOff, {"box 读 出 失 败！", "rows 4000 x256"}}));
}

// Whatever bytes arrive for whatever operation, nothing is read or sent from outside the
// tables: only whole blocks of the current image go out, only whole rows are listed.
TEST_F(DispatcherTest, RandomEventsNeverReachPastTheTables) {
    ChooseModel("0xB2", "20", "C000");
    for (std::size_t block = 0; block < kImageBlockCount; ++block)
        state.ImageBlocks[block * kImageBlockSize] = static_cast<std::uint8_t>(block);
    std::mt19937 random(20240611);
    const std::size_t lengths[] = {0, 3, 4, 5, 6, 8, 4095, 4096, 4097, 9000, 65535};
    Bytes event(65535);
    for (int round = 0; round < 3000; ++round) {
        state.CmdKind = static_cast<std::uint8_t>(random() % 9);
        if (random() % 50 == 0)
            dispatcher.Button7Click();
        event.resize(lengths[random() % std::size(lengths)]);
        for (auto& byte : event)
            byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 0x55 : random());
        host.onMessage = nullptr;
        Receive(event);
    }
    for (const Bytes& sent : host.sent) {
        if (sent.size() != 7) {  // all but the read-out frames
            EXPECT_TRUE(sent.size() == kImageBlockSize && sent[0] < 5) << int(sent[0]);
        }
    }
    for (const std::string& row : host.rows)
        EXPECT_EQ(row.size() - row.find(":: "), 3u + 16 * 3) << row;
    EXPECT_GT(host.rows.size(), 0u);
    EXPECT_GT(host.sent.size(), 10u);
}

}  // namespace
}  // namespace vortana
