#include "cli/JobSetup.h"

#include "cli/Catalogue.h"
#include "cli/JobError.h"
#include "cli/Reporter.h"
#include "cli/RunLog.h"
#include "cli/SerialCounter.h"
#include "image/ImageLoader.h"
#include "image/SerialNumber.h"
#include "shell/Convert.h"
#include "shell/FileAccess.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kCheckSumDigits = 8;  // at the end of the loader's checksum text
constexpr std::int64_t kMaxIncrement = 9;

}  // namespace

void RequirePorts(const Invocation& invocation) {
    if (invocation.ports.empty())
        throw UsageError("no port given: add --port PORT (see: vortana-cli ports)");
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
    const std::string path = invocation.options.Value(kFileOption.name);
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
}

void PrepareDownloads(JobPlan& plan, const Invocation& invocation) {
    const Options& options = invocation.options;
    const std::size_t ports = invocation.ports.size();
    const bool numbered = options.Has("--serial") || options.Has("--serial-file");
    SessionState& session = *plan.session;
    session.SerialIncrement =
        static_cast<std::uint8_t>(WholeNumberOption(options, "--increment", 0, 0, kMaxIncrement));
    std::int64_t first = WholeNumberOption(options, "--serial", 0, 0, kSerialNumberMax);
    if (options.Has("--serial-file"))
        first = ReserveSerialNumbers(options.Value("--serial-file"),
                                     static_cast<std::int64_t>(ports), first);
    for (std::size_t i = 0; i < ports; ++i) {
        std::optional<std::int64_t> serial;
        if (numbered) {
            serial = first + static_cast<std::int64_t>(i);
            const auto digits = EncodeSerialNumber(*serial);
            if (!digits)
                throw UsageError("serial number " + std::to_string(*serial) + " passes " +
                                 std::to_string(kSerialNumberMax));
            session.SerialNumberBytes = *digits;
        }
        plan.serials.push_back(serial);
        plan.headers.push_back(LoadCmd(session));
    }
}

ExitStatus RunAndReport(const JobPlan& plan, const Invocation& invocation) {
    const std::unique_ptr<Reporter> reporter = MakeReporter(invocation);
    const std::vector<PortOutcome> outcomes = RunJob(plan, invocation, *reporter);
    if (invocation.options.Has("--log"))
        AppendRunLog(invocation.options.Value("--log"), plan.command, outcomes);
    return RunStatus(outcomes);
}

}  // namespace vortana::cli
