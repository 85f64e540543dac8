// `db report`: the records counted per station and model (Database.h).
#include "production/Database.h"
#include "production/DatabaseSchema.h"
#include "production/PgConnection.h"

namespace vortana {
namespace {

constexpr std::string_view kCounts =
    "SELECT station, model,"
    " count(*) FILTER (WHERE outcome = 'ok'),"
    " count(*) FILTER (WHERE outcome NOT IN ('ok', 'started')),"
    " count(*) FILTER (WHERE outcome = 'started'),"
    " min(serial), max(serial + serials - 1)"
    " FROM records WHERE $1::date IS NULL OR started_at >= $1::date"
    " GROUP BY station, model ORDER BY station, model";

}  // namespace

std::vector<StationModelCounts> ReportSerialDatabase(const std::string& url,
                                                     const std::string& since) {
    PgConnection connection(url);
    RequireSchema(connection);
    const PgResult result =
        connection.Run(kCounts, {since.empty() ? std::nullopt : PgValue(since)});
    std::vector<StationModelCounts> counts;
    for (int row = 0; row < result.Rows(); ++row)
        counts.push_back({
            .station = result.Text(row, 0),
            .model = result.Text(row, 1),
            .ok = result.Integer(row, 2),
            .failed = result.Integer(row, 3),
            .started = result.Integer(row, 4),
            .firstSerial = result.Integer(row, 5),
            .lastSerial = result.Integer(row, 6),
        });
    return counts;
}

}  // namespace vortana
