// Times loading a 64 KiB S-record file with the Qt-free loader (read the file, parse, place,
// build the blocks, the checksum and the listing rows) beside srec_cat turning the same file
// into binary, both in the same run, and prints the two medians and their ratio.
//
//   build/vortana_bench_image_load [loads] [srec_cat runs]
//
// The file is made at start by srec_cat from random bytes: 16-bit addresses (S1 records),
// 16 data bytes a record, LF line ends, with header and end records. Each srec_cat run is a whole
// process, start-up included, as a user would run it; a run on a one-record file shows that
// start-up alone.
#include <cstdio>
#include <fstream>
#include <memory>

#include "bench/BenchSupport.h"
#include "harness/SRecordFiles.h"
#include "image/ImageLoader.h"
#include "shell/FileAccess.h"

namespace {

using namespace vortana::bench;
namespace test = vortana::test;

constexpr std::size_t kImageBytes = 65536;
constexpr int kDefaultLoads = 200;
constexpr int kDefaultSrecCatRuns = 30;

}  // namespace

int main(int argc, char** argv) {
    const int loads = CountArgument(argc, argv, 1, kDefaultLoads);
    const int srecCatRuns = CountArgument(argc, argv, 2, kDefaultSrecCatRuns);

    const ScratchDir dir;
    const std::string records = dir.File("image.s19");
    const std::string oneRecord = dir.File("one.s19");
    const std::string output = dir.File("out.bin");
    const std::vector<std::uint8_t> bytes = test::RandomBytes(kImageBytes, 2024);
    test::WriteSRecordFile(records, bytes, 0x0000);
    std::ofstream(oneRecord, std::ios::binary) << "S0030000FC\nS1048000FF7C\nS9030000FC\n";

    auto session = std::make_unique<vortana::SessionState>();
    session->FlashStart = "0000";
    session->ModelCode = "0x00";
    session->ImageSize = kImageBytes;
    std::size_t rows = 0;
    const double loadMs = MedianMs(loads, [&] {
        const vortana::ImageLoadOutcome outcome =
            vortana::LoadImage(vortana::ReadFileBytes(records), *session);
        if (outcome.failure)
            Fail("the loader refused the file: " + outcome.failure->message);
        rows = outcome.listingRows.size();
    });
    for (std::size_t i = 0; i < kImageBytes; ++i) {
        const std::size_t at = i / 4096 * vortana::kImageBlockSize + 2 + i % 4096;
        if (session->ImageBlocks[at] != bytes[i])
            Fail("the loaded blocks differ from the binary at " + std::to_string(i));
    }

    const double srecCatMs = SrecCatToBinaryMs(srecCatRuns, records, output, bytes);
    const double startupMs = MedianMs(srecCatRuns, [&] {
        test::RunProgram({test::SrecCatPath(), oneRecord, "-motorola", "-o", output, "-binary"});
    });

    std::printf("S-record file: %zu bytes, %zu data bytes, %zu listing rows\n",
                static_cast<std::size_t>(std::filesystem::file_size(records)), kImageBytes, rows);
    std::printf("loader (read, parse, blocks, checksum, rows): %8.3f ms  (median of %d)\n", loadMs,
                loads);
    std::printf("srec_cat to binary (whole process):           %8.3f ms  (median of %d)\n",
                srecCatMs, srecCatRuns);
    std::printf("srec_cat on a one-record file (start-up):      %8.3f ms\n", startupMs);
    std::printf("ratio loader / srec_cat: %.3f (goal: at most 1)\n", loadMs / srecCatMs);
    return 0;
}
