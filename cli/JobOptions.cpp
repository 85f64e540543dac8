#include "cli/JobOptions.h"

namespace vortana::cli {
namespace {

constexpr std::string_view kPortOption = "--port";
constexpr std::string_view kLoopOption = "--loop";

// The job's text entries and the options that give them.
constexpr struct {
    std::string_view option;
    std::string JobFile::*entry;
} kTextEntries[] = {
    {"--model", &JobFile::model},
    {"--file", &JobFile::file},
    {"--mode", &JobFile::mode},
    {"--supply", &JobFile::supply},
    {"--count", &JobFile::count},
    {"--erase", &JobFile::erase},
    {"--verify", &JobFile::verify},
    {"--serial-file", &JobFile::counter},
    {"--serial", &JobFile::start},
    {"--increment", &JobFile::increment},
    {"--serial-db", &JobFile::serialDb},
    {"--counter", &JobFile::dbCounter},
    {"--log", &JobFile::log},
    {"--station", &JobFile::station},
    {"--operator", &JobFile::operatorName},
    {"--timeout", &JobFile::timeout},
    {"--late-wait", &JobFile::lateWait},
};

}  // namespace

JobFile JobOfOptions(const Options& options) {
    JobFile job;
    for (const auto& [option, entry] : kTextEntries)
        job.*entry = options.Value(option);
    job.ports = options.Values(kPortOption);
    job.loop = options.Has(kLoopOption);
    return job;
}

Options OptionsOfJob(const JobFile& job, const Options& overrides) {
    Options options;
    for (const auto& [option, entry] : kTextEntries)
        if (!(job.*entry).empty())
            options.Add(std::string(option), job.*entry);
    for (const std::string& port : job.ports)
        options.Add(std::string(kPortOption), port);
    if (job.loop)
        options.Add(std::string(kLoopOption), {});
    for (const std::string& name : overrides.Names())
        options.Replace(name, overrides.Values(name));
    return options;
}

}  // namespace vortana::cli
