// What one read-out page costs the user-interface thread on the protocol side: the receive
// event, joining, the 256 hex rows and the hand-over to the window (here joined into one text,
// as the window's one-go append would take it). Prints microseconds per page for pages arriving
// one per event and sixteen to a burst, and for the block answer of a download.
#include "protocol/Dispatcher.h"
#include "shell/SessionState.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vortana;
using Clock = std::chrono::steady_clock;

class JoiningHost : public OperationHost {
  public:
    std::size_t characters = 0;
    bool PortOpen() const override { return true; }
    void SendBytes(std::span<const std::uint8_t> bytes) override { characters += bytes.size(); }
    void ShowMessage(const std::string&) override {}
    void SetProgressLabel(const std::string&) override {}
    void SetElapsedLabel(const std::string&) override {}
    void SetTimer1Interval(std::uint32_t) override {}
    void SetTimer1Enabled(bool) override {}
    void SetTimer2Enabled(bool) override {}
    void ClearReadOut() override {}
    void AppendReadOutRows(std::span<const std::string> rows) override {
        std::string text;
        text.reserve(rows.size() * 57);
        for (const std::string& row : rows)
            text.append(row).push_back('\n');
        characters += text.size();
    }
    void SettingsSent() override {}
    void DownloadAccepted() override {}
};

double MicrosecondsPer(int count, Clock::duration elapsed) {
    return std::chrono::duration<double, std::micro>(elapsed).count() / count;
}

}  // namespace

int main() {
    constexpr int kRounds = 200;
    constexpr std::size_t kPagesPerBurst = 15;  // 15 x 4096 fits the 65535-byte event limit
    auto state = std::make_unique<SessionState>();
    state->ModelCode = "0xB0";
    state->FlashStart = "4000";
    state->FlashEnd = "FFFF";
    state->FlashSizeK = "64";
    state->ImageSize = 65536;
    JoiningHost host;
    Dispatcher dispatcher(*state, host);

    std::vector<std::uint8_t> burst(kPageBytes * kPagesPerBurst);
    for (std::size_t i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<std::uint8_t>(i * 7);

    dispatcher.Button7Click();
    auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round)
        dispatcher.Comm1ReceiveData(burst.data(), kPageBytes);
    const double single = MicrosecondsPer(kRounds, Clock::now() - start);

    start = Clock::now();
    for (int round = 0; round < kRounds; ++round)
        dispatcher.Comm1ReceiveData(burst.data(), static_cast<std::uint16_t>(burst.size()));
    const double joined = MicrosecondsPer(kRounds * kPagesPerBurst, Clock::now() - start);

    state->CmdKind = kCmdDownload;
    const std::uint8_t request[] = {0x68, 0x00, 0x03, 0x55, 0x0F, 0x16};
    start = Clock::now();
    for (int round = 0; round < kRounds; ++round)
        dispatcher.Comm1ReceiveData(request, sizeof request);
    const double block = MicrosecondsPer(kRounds, Clock::now() - start);

    std::printf("read-out page, one per event:      %8.2f us\n", single);
    std::printf("read-out page, %zu to a burst:      %8.2f us\n", kPagesPerBurst, joined);
    std::printf("block request answered:            %8.2f us\n", block);
    std::printf("(budget for a page on the UI thread: 16000 us; %zu characters handed over)\n",
                host.characters);
    return 0;
}
