// db: the serial database's own commands, for whoever sets up a line and whoever looks after its
// quality: `db init URL` makes its tables (or brings them up to date), `db report URL` counts its
// records per station and model. URL as --serial-db takes it; no port is touched.
#include <charconv>
#include <chrono>

#include "cli/Commands.h"
#include "cli/JobSetup.h"
#include "cli/Text.h"
#include "production/Database.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kGrammar[] = {
    {"--since", "DATE", "db report: records from this day on (YYYY-MM-DD, the server's time zone)"},
};

// YYYY-MM-DD naming a day of the calendar, or UsageError.
std::string SinceOption(const Options& options) {
    const std::string value = options.Value("--since");
    const auto digits = [&value](std::size_t from, std::size_t count) {
        unsigned number = 0;
        const auto [end, error] =
            std::from_chars(value.data() + from, value.data() + from + count, number);
        return error == std::errc() && end == value.data() + from + count ? number : 0;
    };
    const bool shaped = value.size() == 10 && value[4] == '-' && value[7] == '-';
    if (!shaped || !std::chrono::year_month_day(std::chrono::year(static_cast<int>(digits(0, 4))),
                                                std::chrono::month(digits(5, 2)),
                                                std::chrono::day(digits(8, 2)))
                        .ok())
        throw UsageError("--since takes a day as YYYY-MM-DD, not '" + value + "'");
    return value;
}

void PrintInit(const Invocation& invocation, int found) {
    const std::string now = std::to_string(kSchemaVersion);
    if (invocation.json)
        invocation.out << "{\"event\":\"db-init\"" << JsonField("version", now)
                       << JsonField("was", std::to_string(found)) << "}\n";
    else if (found == 0)
        invocation.out << "serial database: tables made (version " << now << ")\n";
    else if (found == kSchemaVersion)
        invocation.out << "serial database: tables already at version " << now << "\n";
    else
        invocation.out << "serial database: tables brought from version " << found << " to " << now
                       << "\n";
}

void PrintReport(const Invocation& invocation, const std::vector<StationModelCounts>& counts) {
    std::vector<std::vector<std::string>> table{
        {"station", "model", "ok", "failed", "started", "first serial", "last serial"}};
    for (const StationModelCounts& row : counts) {
        if (invocation.json)
            invocation.out << "{\"station\":" << JsonString(row.station)
                           << JsonField("model", JsonString(row.model))
                           << JsonField("ok", std::to_string(row.ok))
                           << JsonField("failed", std::to_string(row.failed))
                           << JsonField("started", std::to_string(row.started))
                           << JsonField("first_serial", std::to_string(row.firstSerial))
                           << JsonField("last_serial", std::to_string(row.lastSerial)) << "}\n";
        else
            table.push_back({row.station, row.model, std::to_string(row.ok),
                             std::to_string(row.failed), std::to_string(row.started),
                             std::to_string(row.firstSerial), std::to_string(row.lastSerial)});
    }
    if (!invocation.json)
        invocation.out << TableText(table);
}

class Db : public Command {
  public:
    std::string_view Name() const override { return "db"; }
    std::string_view Usage() const override {
        return "db init URL | db report URL [--since DATE] [--json]";
    }
    std::string_view Summary() const override {
        return "The serial database (URL: a PostgreSQL connection URI, '-' for the PG* "
               "variables): init makes its tables, report counts its records per station and "
               "model with the serial numbers they took.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }
    std::size_t Operands() const override { return 2; }

    ExitStatus Run(const Invocation& invocation) const override {
        const std::vector<std::string>& operands = invocation.operands;
        if (operands.size() != 2 || (operands[0] != "init" && operands[0] != "report"))
            throw UsageError("vortana-cli " + std::string(Usage()));
        const std::string url = DatabaseUrl(operands[1]);
        if (operands[0] == "init") {
            if (invocation.options.Has("--since"))
                throw UsageError("db init does not take --since");
            PrintInit(invocation, InitSerialDatabase(url));
        } else {
            const std::string since =
                invocation.options.Has("--since") ? SinceOption(invocation.options) : "";
            PrintReport(invocation, ReportSerialDatabase(url, since));
        }
        return ExitStatus::Success;
    }
};

}  // namespace

const Command& DbCommand() {
    static const Db command;
    return command;
}

}  // namespace vortana::cli
