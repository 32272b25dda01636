// A one-query request: the global history name of a device that has none
// (0x35000111, answered with -3) through post, in turns with the same
// statement kept prepared in plain sqlite3, on a catalogue holding the names
// of N other devices.
#include <string>

#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"

namespace {

void BM_OneQuery(benchmark::State& state)
{
    const int names = static_cast<int>(state.range(0));
    bench::quietLog();
    bench::EmptyCatalogue catalogue("one-query");
    bench::PlainConnection plain(catalogue.path());
    plain.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(names) +
               ") INSERT INTO YBTzHistoryName (DeviceId, GlobalHistoryName) SELECT i, 'history-' || i FROM n");
    sqlite3_stmt* byDevice =
        plain.keep("SELECT DeviceId, GlobalHistoryName, Flags FROM YBTzHistoryName WHERE DeviceId = ?1");
    const int missing = names + 1000;
    bench::Host host;
    repTzGlobalHistoryNameByDeviceReq request{missing};
    bench::alternate(state,
                     {"post", nullptr,
                      [&] { return host.post(0x35000111, &request) && host.status == 0 && host.errCode == -3; }},
                     {"plain", nullptr, [&] {
                          sqlite3_bind_int(byDevice, 1, missing);
                          int rc = sqlite3_step(byDevice);
                          sqlite3_reset(byDevice);
                          return rc == SQLITE_DONE;
                      }});
}

}  // namespace

BENCHMARK(BM_OneQuery)->Arg(10)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
