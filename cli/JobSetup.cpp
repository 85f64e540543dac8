#include "cli/JobSetup.h"

#include <algorithm>
#include <map>

#include "cli/Catalogue.h"
#include "cli/SystemNames.h"
#include "comm/PortIdentity.h"
#include "comm/UsbPortName.h"
#include "image/ImageBlocks.h"
#include "image/ImageLoader.h"
#include "image/SerialNumber.h"
#include "production/Database.h"
#include "production/JobError.h"
#include "production/JobValues.h"
#include "production/RunLog.h"
#include "production/SerialCounter.h"
#include "production/SerialRange.h"
#include "shell/Convert.h"
#include "shell/FileAccess.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kCheckSumDigits = 8;  // at the end of the loader's checksum text

JobRecord ReadJobRecord(const Options& options) {
    return {
        .model = options.Value(kModelOption.name),
        .file = options.Value(kFileOption.name),
        .station = options.Value("--station", HostName()),
        .operatorName = options.Value("--operator", LoginName()),
        .version = VORTANA_VERSION,
    };
}

bool TakesSerialNumbers(const Options& options) {
    return options.Has("--serial") || options.Has("--serial-file") || options.Has("--serial-db");
}

// Refuses what cannot be meant together before anything is taken.
void RequireOneSerialSource(const Options& options) {
    if (options.Has("--serial-file") && options.Has("--serial-db"))
        throw UsageError("--serial-file and --serial-db both give serial numbers: choose one");
    if (options.Has("--counter") && !options.Has("--serial-db"))
        throw UsageError("--counter names a counter of the serial database: add --serial-db URL");
}

std::unique_ptr<SerialSource> MakeSerialSource(const Options& options) {
    if (options.Has("--serial-file"))
        return std::make_unique<SerialCounterFile>(options.Value("--serial-file"));
    return OpenSerialDatabase({
        .url = DatabaseUrl(options.Value("--serial-db")),
        .counter = options.Value("--counter", options.Value(kModelOption.name)),
        .station = ReadJobRecord(options).station,
        .spool = options.Has("--log") ? options.Value("--log") + ".spool" : "",
    });
}

// The USB serial number each port names (usb:SERIAL), or nothing where it names none.
std::vector<std::string> UsbSerials(const std::vector<std::string>& ports) {
    std::vector<std::string> serials;
    for (const std::string& port : ports)
        serials.emplace_back(IsUsbPortName(port) ? UsbSerialOf(port) : "");
    return serials;
}

// The notices the serial source gathered, told through `reporter`.
void TellNotices(const JobPlan& plan, Reporter& reporter) {
    if (plan.serialSource)
        for (const std::string& notice : plan.serialSource->TakeNotices())
            reporter.Notice(notice);
}

// The reasons records were not kept, in one message; empty when all were.
std::string JoinFailures(const std::string& first, const std::string& second) {
    return first.empty() || second.empty() ? first + second : first + "; " + second;
}

bool GivesSettings(const Options& options) {
    return std::any_of(std::begin(kSettingsOptions), std::end(kSettingsOptions),
                       [&options](const OptionSpec& option) { return options.Has(option.name); });
}

// A programmer's failure says what happened to its chip and comes first; a record that could not
// be written fails a run that went well otherwise.
ExitStatus RunEndStatus(const std::vector<PortOutcome>& outcomes, bool recordFailed) {
    const ExitStatus chips = RunStatus(outcomes);
    return chips == ExitStatus::Success && recordFailed ? ExitStatus::FileRefused : chips;
}

// A usb: name's serial number is compared as given, case included; other names by the device.
std::string DeviceKey(const std::string& port) {
    if (!IsUsbPortName(port))
        return PortIdentity(port);
    if (UsbSerialOf(port).empty())
        throw UsageError(
            "--port usb: names no serial number: give it as usb:SERIAL (see: "
            "vortana-cli ports)");
    return port;
}

}  // namespace

void RequirePorts(const Invocation& invocation) {
    if (invocation.ports.empty())
        throw UsageError("no port given: add --port PORT (see: vortana-cli ports)");
    std::map<std::string, std::string> given;  // the device's identity, the first name given it
    for (const std::string& port : invocation.ports) {
        const auto [first, added] = given.emplace(DeviceKey(port), port);
        if (added)
            continue;
        if (first->second == port)
            throw UsageError("--port " + port + " given twice: one job per programmer");
        throw UsageError("--port " + port + " and --port " + first->second +
                         " are the same device: one job per programmer");
    }
}

SettingsControls ReadSettings(const Options& options) {
    return {
        .RadioGroup1 = ChoiceOption(options, "--mode", kModeValues, 0),
        .RadioGroup2 = ChoiceOption(options, "--supply", kSupplyValues, 0),
        .RadioGroup4 = ChoiceOption(options, "--erase", kYesNoValues, 0),
        .RadioGroup5 = ChoiceOption(options, "--verify", kYesNoValues, 0),
        .Edit4 = std::to_string(WholeNumberOption(options, "--count", 0, 0, kMaxBurnCount)),
    };
}

void PrepareSettings(JobPlan& plan, const Invocation& invocation) {
    const Options& options = invocation.options;
    plan.settings = ReadSettings(options);
    if (TakesSerialNumbers(options) || GivesSettings(options))
        plan.steps.insert(plan.steps.begin(), kCmdSettings);
}

SerialNumbering PlanSerialNumbers(const JobPlan& plan, const Invocation& invocation) {
    const Options& options = invocation.options;
    RequireOneSerialSource(options);
    SerialNumbering numbering;
    numbering.numbered = TakesSerialNumbers(options);
    // A database counter starts at 1, as people count; a counter file at 0, as it always has.
    numbering.first = WholeNumberOption(options, "--serial", options.Has("--serial-db") ? 1 : 0, 0,
                                        kSerialNumberMax);
    numbering.increment = WholeNumberOption(options, "--increment", 0, 0, kMaxSerialIncrement);
    if (!numbering.numbered)
        return numbering;
    numbering.span = SerialSpan(plan.settings, numbering.increment);
    numbering.size = SerialRangeSize(numbering.span, invocation.ports.size());
    if (!options.Has("--serial-file") && !options.Has("--serial-db"))
        RequireSerialRange(numbering.first, numbering.size);
    return numbering;
}

void OpenRunLog(JobPlan& plan, const Invocation& invocation) {
    if (invocation.options.Has("--log") && !plan.log)
        plan.log.emplace(invocation.options.Value("--log"));
}

std::string DatabaseUrl(const std::string& value) {
    return value == "-" ? "" : value;
}

void OpenSerialSource(JobPlan& plan, const Invocation& invocation) {
    const Options& options = invocation.options;
    if (!plan.serialSource && (options.Has("--serial-file") || options.Has("--serial-db")))
        plan.serialSource = MakeSerialSource(options);
}

void PrepareDownload(JobPlan& plan, const Invocation& invocation) {
    ChooseModel(plan, invocation, true);
    LoadImageFile(plan, invocation);
    PrepareSettings(plan, invocation);
}

void ChooseModel(JobPlan& plan, const Invocation& invocation, bool required) {
    if (!invocation.options.Has(kModelOption.name)) {
        if (required)
            throw UsageError("no model given: add --model NAME (see: vortana-cli models)");
        return;
    }
    FindModel(ReadCatalogue(invocation.catalogue), invocation.options.Value(kModelOption.name))
        .ApplyTo(*plan.session);
}

void LoadImageFile(JobPlan& plan, const Invocation& invocation) {
    if (!invocation.options.Has(kFileOption.name))
        throw UsageError("no file given: add --file FILE");
    LoadImageFile(plan, invocation.options.Value(kFileOption.name));
}

void LoadImageFile(JobPlan& plan, const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const EFileError& error) {
        throw JobError(ExitStatus::FileRefused, error.what());
    }
    const ImageLoadOutcome outcome = LoadImage(bytes, *plan.session);
    if (outcome.failure)
        throw JobError(ExitStatus::FileRefused, path + " refused: " + outcome.failure->message);
    const std::string& text = outcome.checkSumText;
    plan.checksum =
        static_cast<std::uint32_t>(HexToIntDef(text.substr(text.size() - kCheckSumDigits)));
    plan.crc32 = ImageBlocksCrc32(plan.session->ImageBlocks, plan.session->ImageSize);
}

void PrepareDownloads(JobPlan& plan, const Invocation& invocation,
                      const SerialNumbering& numbering) {
    OpenRunLog(plan, invocation);  // a log that cannot be kept stops the job before a number
    SessionState& session = *plan.session;
    plan.serials.clear();
    plan.headers.clear();
    session.SerialIncrement = static_cast<std::uint8_t>(numbering.increment);
    plan.record = ReadJobRecord(invocation.options);
    OpenSerialSource(plan, invocation);
    std::int64_t first = numbering.first;
    if (plan.serialSource)
        first = plan.serialSource->TakeRound({
            .command = plan.command,
            .record = plan.record,
            .crc32 = plan.crc32,
            .ports = invocation.ports,
            .usbSerials = UsbSerials(invocation.ports),
            .span = numbering.span,
            .first = numbering.first,
        });
    for (std::size_t i = 0; i < invocation.ports.size(); ++i) {
        std::optional<std::int64_t> serial;
        if (numbering.numbered) {
            serial = first + static_cast<std::int64_t>(i) * numbering.span;
            session.SerialNumberBytes = *EncodeSerialNumber(*serial);  // within the range checked
        }
        plan.serials.push_back(serial);
        plan.headers.push_back(LoadCmd(session));
    }
}

RunResult RunAndRecord(JobPlan& plan, const Invocation& invocation, Reporter& reporter) {
    OpenRunLog(plan, invocation);
    plan.record = ReadJobRecord(invocation.options);
    TellNotices(plan, reporter);
    RunResult result;
    result.outcomes = RunJob(plan, invocation, reporter);
    if (plan.log) {
        result.recordFailure = plan.log->WriteRecords(plan.command, result.outcomes);
        plan.log.reset();  // closed by its writing; the next run opens it again
    }
    if (plan.serialSource)
        result.recordFailure = JoinFailures(result.recordFailure, plan.serialSource->EndRound());
    TellNotices(plan, reporter);
    result.status = RunEndStatus(result.outcomes, !result.recordFailure.empty());
    return result;
}

ExitStatus RunAndReport(JobPlan& plan, const Invocation& invocation) {
    const std::unique_ptr<Reporter> reporter = MakeReporter(invocation);
    const RunResult result = RunAndRecord(plan, invocation, *reporter);
    reporter->Finish(result.outcomes, result.status, result.recordFailure);
    return result.status;
}

ExitStatus RunDownload(JobPlan& plan, const Invocation& invocation,
                       const SerialNumbering& numbering) {
    PrepareDownloads(plan, invocation, numbering);
    return RunAndReport(plan, invocation);
}

}  // namespace vortana::cli
