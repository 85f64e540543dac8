#include "sim/Device.h"

#include <cmath>

namespace vortana::sim {
namespace {

// Device work per KiB of flash at work scale 1: a few seconds for 64 KiB.
constexpr int kEraseMsPerK = 30;
constexpr int kProgramMsPerK = 50;
constexpr int kVerifyMsPerK = 30;
constexpr int kDefaultFlashK = 64;
constexpr int kPageK = 4;

std::string CommandName(std::uint8_t code) {
    const CommandInfo* command = FindCommand(code);
    return command ? command->name : "command " + HexByte(code);
}

std::string Address(std::uint16_t address) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 12; shift >= 0; shift -= 4)
        text += kDigits[(address >> shift) & 0xF];
    return text;
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

// What a frame asks for, as the trace shows it.
std::string Describe(const CommandInfo& command, std::span<const std::uint8_t> data) {
    const std::string name = command.name;
    switch (command.code) {
        case code::kDownload: {
            const DownloadHeader header = DownloadHeader::FromData(data);
            return name + ": " + std::to_string(header.sizeK) + " KiB, model " +
                   HexByte(header.modelCode) + ", serial number bytes " +
                   HexBytes(header.serialNumber) + ", increment " +
                   std::to_string(header.increment);
        }
        case code::kReadOut:
            return name + ": from " + Address(static_cast<std::uint16_t>(data[0] << 8)) + ", " +
                   std::to_string(data[1]) + " KiB, model " + HexByte(data[2]);
        case code::kSettings: {
            const Settings settings = Settings::FromData(data);
            return name + ": mode " + HexByte(settings.mode) + ", supply " +
                   HexByte(settings.supply) + ", burn count " + HexBytes(data.subspan(2, 2)) +
                   ", erase " + OnOff(settings.EraseEnabled()) + ", verify " +
                   OnOff(settings.VerifyEnabled());
        }
        default:
            return name;
    }
}

}  // namespace

Settings Settings::FromData(std::span<const std::uint8_t> data) {
    return {data[0], data[1], data[2], data[3], data[4]};
}

Device::Device(const DeviceConfig& config, const Trace& trace)
    : workScale_(config.workScale), trace_(trace), flashK_(kDefaultFlashK) {
    state_.chip.Fill(config.fill);
    state_.chip.SetReadProtected(config.readProtected);
}

std::vector<Answer> Device::Feed(std::span<const std::uint8_t> bytes) {
    std::vector<Answer> answers;
    while (auto event = parser_.Next(bytes))
        Handle(*event, answers);
    return answers;
}

std::vector<Answer> Device::LineWentQuiet() {
    std::vector<Answer> answers;
    const bool inBlock = parser_.ExpectingBlock();
    if (auto event = parser_.DropIncomplete()) {
        ++state_.badInputs;
        if (inBlock) {
            trace_.Received(event->bytes, "unfinished block, given up");
            Deliver(FailDownload("the line went quiet in the middle of a block"), answers);
        } else {
            trace_.Received(event->bytes, "unfinished frame, dropped");
        }
    }
    return answers;
}

void Device::Handle(InputParser::Event& event, std::vector<Answer>& answers) {
    using Kind = InputParser::Kind;
    switch (event.kind) {
        case Kind::Frame: {
            const std::span<const std::uint8_t> data(event.bytes.data() + 3,
                                                     event.command->dataLength);
            state_.frames.push_back({event.command->code, Bytes(data.begin(), data.end())});
            trace_.Received(event.bytes, Describe(*event.command, data));
            if (auto answer = OnFrame(*event.command, data))
                Deliver(std::move(*answer), answers);
            break;
        }
        case Kind::BadFrame:
            HandleBadFrame(event, answers);
            break;
        case Kind::Noise:
            ++state_.badInputs;
            trace_.Received(event.bytes, "noise outside a frame, skipped");
            break;
        case Kind::Block:
            Deliver(OnBlock(event.bytes), answers);
            break;
        case Kind::BlockWaitEnded:
            trace_.Note("a frame began where block " + std::to_string(download_->NextBlock()) +
                        " belongs: download abandoned");
            EndDownload();
            break;
        case Kind::Incomplete:
            break;  // only DropIncomplete makes these
    }
}

void Device::HandleBadFrame(const InputParser::Event& event, std::vector<Answer>& answers) {
    ++state_.badInputs;
    if (!event.command) {
        trace_.Received(event.bytes, "bad frame: " + event.problem + ", skipped");
        return;
    }
    trace_.Received(event.bytes, std::string("bad ") + event.command->name +
                                     " frame: " + event.problem + ", refused");
    Deliver(Reply(event.command->code, status::kFailure), answers);
}

std::optional<Answer> Device::OnFrame(const CommandInfo& command,
                                      std::span<const std::uint8_t> data) {
    switch (command.code) {
        case code::kDownload:
            OnDownloadHeader(data);
            return std::nullopt;
        case code::kErase:
            state_.chip.Erase();
            return Reply(command.code, status::kSuccess, WorkTime(kEraseMsPerK, flashK_));
        case code::kProgram:
            return OnProgram();
        case code::kVerify:
            return OnVerify(command.code, WorkTime(kVerifyMsPerK, flashK_));
        case code::kReadOut:
            return OnReadOut(data);
        case code::kEraseProgramVerify:
            return OnEraseProgramVerify();
        case code::kSettings:
            state_.settings = Settings::FromData(data);
            return Reply(command.code, status::kSuccess);
    }
    return std::nullopt;
}

void Device::OnDownloadHeader(std::span<const std::uint8_t> data) {
    const DownloadHeader header = DownloadHeader::FromData(data);
    state_.header = header;
    state_.image.clear();
    state_.blocks.clear();
    download_.emplace(header);
    parser_.ExpectBlock();
    if (download_->HeaderProblem().empty())
        flashK_ = header.sizeK;
    else
        trace_.Note("download header refused: " + download_->HeaderProblem() +
                    "; its first block will be answered with 0x00");
}

Answer Device::OnBlock(const Bytes& block) {
    state_.blocks.push_back(block);
    const int number = download_->NextBlock();
    trace_.Received(block, "block " + std::to_string(block[0]));
    if (const std::string problem = download_->Accept(block); !problem.empty())
        return FailDownload("block " + std::to_string(number) + " refused: " + problem);
    if (download_->Complete()) {
        state_.image = download_->Received();
        const std::uint16_t length = download_->ReportedLength();
        const std::array<std::uint8_t, 2> parameters{static_cast<std::uint8_t>(length >> 8),
                                                     static_cast<std::uint8_t>(length)};
        EndDownload();
        return Reply(code::kDownload, status::kSuccess, {}, parameters,
                     "length " + Address(length));
    }
    const std::uint8_t next = static_cast<std::uint8_t>(download_->NextBlock());
    Answer request = Reply(code::kDownload, status::kBlockRequest, {}, std::span(&next, 1));
    request.kind = Answer::Kind::BlockRequest;
    request.blockNumber = next;
    request.blockCount = download_->BlockCount();
    request.bursts.front().name = "request for block " + std::to_string(next);
    return request;
}

Answer Device::FailDownload(const std::string& why) {
    trace_.Note(why);
    EndDownload();
    return Reply(code::kDownload, status::kFailure);
}

void Device::EndDownload() {
    download_.reset();
    parser_.ExpectFrames();
}

Answer Device::OnProgram() {
    if (state_.image.empty())
        return Reply(code::kProgram, status::kFailure, {}, {}, "no image downloaded");
    state_.chip.Program(state_.image);
    return Reply(code::kProgram, status::kSuccess, WorkTime(kProgramMsPerK, flashK_));
}

Answer Device::OnVerify(std::uint8_t code, std::chrono::milliseconds work) {
    if (state_.chip.ReadProtected())
        return Reply(code, status::kReadProtected, work);
    if (state_.image.empty())
        return Reply(code, status::kFailure, work, {}, "no image downloaded");
    const auto mismatch = state_.chip.Verify(state_.image);
    if (!mismatch)
        return Reply(code, status::kSuccess, work);
    const std::array<std::uint8_t, 4> parameters{static_cast<std::uint8_t>(mismatch->address >> 8),
                                                 static_cast<std::uint8_t>(mismatch->address),
                                                 mismatch->written, mismatch->read};
    return Reply(code, status::kMismatch, work, parameters,
                 "at " + Address(mismatch->address) + ", wrote " + HexByte(mismatch->written) +
                     ", read " + HexByte(mismatch->read));
}

Answer Device::OnReadOut(std::span<const std::uint8_t> data) {
    const std::uint8_t startHigh = data[0];
    const int sizeK = data[1];
    const ModelInfo* model = FindModel(data[2]);
    if (state_.chip.ReadProtected())
        return Reply(code::kReadOut, status::kReadProtected);
    if (!model || sizeK < kPageK || sizeK % kPageK != 0 || sizeK > kDefaultFlashK)
        return Reply(code::kReadOut, status::kFailure, {}, {},
                     "cannot read " + std::to_string(sizeK) + " KiB of model " + HexByte(data[2]));
    flashK_ = sizeK;
    std::vector<std::uint16_t> pages;
    if (model->window)
        pages.push_back(*model->window);
    for (int mainPage = 0; pages.size() < static_cast<std::size_t>(sizeK / kPageK); ++mainPage)
        pages.push_back(static_cast<std::uint16_t>((startHigh + 16 * mainPage) << 8));

    Answer answer;
    answer.kind = Answer::Kind::Pages;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        answer.bursts.push_back({i == 0 ? std::chrono::milliseconds{0} : kPageGap,
                                 state_.chip.Read(pages[i], kPageSize),
                                 "page " + std::to_string(i + 1) + " of " +
                                     std::to_string(pages.size()) + " from " + Address(pages[i])});
    }
    return answer;
}

Answer Device::OnEraseProgramVerify() {
    constexpr std::uint8_t kCode = code::kEraseProgramVerify;
    if (state_.image.empty())
        return Reply(kCode, status::kFailure, {}, {}, "no image downloaded");
    const Settings settings = state_.settings.value_or(Settings{});
    std::chrono::milliseconds work = WorkTime(kProgramMsPerK, flashK_);
    if (settings.EraseEnabled()) {
        state_.chip.Erase();
        work += WorkTime(kEraseMsPerK, flashK_);
    }
    state_.chip.Program(state_.image);
    if (!settings.VerifyEnabled())
        return Reply(kCode, status::kSuccess, work);
    return OnVerify(kCode, work + WorkTime(kVerifyMsPerK, flashK_));
}

Answer Device::Reply(std::uint8_t code, std::uint8_t status, std::chrono::milliseconds work,
                     std::span<const std::uint8_t> parameters, std::string detail) {
    // Code 0x00 answers the whole download, not just its header.
    std::string name = (code == code::kDownload ? "download" : CommandName(code)) +
                       " reply: " + StatusName(status);
    if (!detail.empty())
        name += " (" + detail + ")";
    state_.work += work;
    Answer answer;
    answer.bursts.push_back({work, sim::Reply(code, status, parameters), std::move(name)});
    return answer;
}

std::chrono::milliseconds Device::WorkTime(int msPerK, int sizeK) const {
    return std::chrono::milliseconds(std::lround(msPerK * sizeK * workScale_));
}

void Device::Deliver(Answer answer, std::vector<Answer>& answers) {
    if (auto fault = faults_.ApplyTo(answer))
        trace_.Note("fault '" + FaultText(*fault) + "' injected");
    answers.push_back(std::move(answer));
}

}  // namespace vortana::sim
