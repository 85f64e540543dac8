// How quickly the serial link moves bytes, over a pseudo-terminal (which does not pace bytes,
// so the figures are the component's own, not the line's):
//   - receive: from the last byte of a burst written by the other end to the OnReceiveData
//     handler, for 200 bursts; the goal is ReadIntervalTimeout + 5 ms at the median;
//   - send: from SendBytes to the first byte at the other end, for 200 requests; the goal is
//     below 1 ms.
// Prints the median and the maximum of each in milliseconds. Run: build/vortana_bench_comm
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "comm/QueueNotifySink.h"
#include "comm/TComm.h"
#include "harness/Pty.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRounds = 200;
constexpr std::size_t kBurstBytes = 64;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Prints the median and the maximum; returns the median.
double Print(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    std::printf("%-44s median %8.3f ms   max %8.3f ms   (%zu samples)\n", what, median,
                samples.back(), samples.size());
    return median;
}

}  // namespace

int main() {
    using namespace vortana;
    test::Pty pty;
    auto queue = std::make_unique<QueueNotifySink>();
    QueueNotifySink& sink = *queue;
    TComm comm(std::move(queue));
    comm.SetCommName(pty.SlavePath());
    comm.SetBaudRate(38400);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);

    Clock::time_point delivered;
    std::size_t receivedBytes = 0;
    comm.OnReceiveData = [&](TComm*, const void*, std::uint16_t length) {
        delivered = Clock::now();
        receivedBytes += length;
    };
    comm.OpenPort();
    sink.WaitAndDeliver(1s);

    const std::vector<std::uint8_t> burst = test::Pattern(kBurstBytes);
    std::vector<double> receive;
    for (int i = 0; i < kRounds; ++i) {
        const std::size_t before = receivedBytes;
        pty.Write(burst);
        const Clock::time_point lastByte = Clock::now();
        while (receivedBytes < before + burst.size())
            sink.WaitAndDeliver(1s);
        receive.push_back(Ms(delivered - lastByte));
    }

    std::vector<double> send;
    for (int i = 0; i < kRounds; ++i) {
        const Clock::time_point called = Clock::now();
        comm.SendBytes(burst.data(), static_cast<std::uint16_t>(burst.size()));
        if (pty.Read(1).empty()) {
            std::fprintf(stderr, "a request never reached the other end\n");
            return 1;
        }
        send.push_back(Ms(Clock::now() - called));
        pty.Read(burst.size() - 1);
        sink.DeliverPending();
    }
    comm.ClosePort();

    std::printf("Serial link over a pty, ReadIntervalTimeout %u ms, %zu-byte bursts\n",
                comm.ReadIntervalTimeout(), kBurstBytes);
    const double receiveMs = Print("last byte of a burst -> OnReceiveData", receive);
    const double sendMs = Print("SendBytes -> first byte at the other end", send);
    vortana::bench::PrintFigure("read_interval_timeout_ms", comm.ReadIntervalTimeout());
    vortana::bench::PrintFigure("burst_delivery_ms", receiveMs);
    vortana::bench::PrintFigure("send_latency_ms", sendMs);
    return 0;
}
