// The numeric settings of a connection to a catalogue file: the keys of the
// configuration with their ranges and defaults, the page size of the
// catalogue, and the limits of the write-ahead log computed from them.
#include "host/db/DBSettings.h"

#include <algorithm>
#include <string>

#include "host/ZXPlatformInfo.h"
#include "host/db/DBConnection.h"
#include "host/db/DBLog.h"
#include "host/db/HostDBFaults.h"

namespace {

const char kSourceFile[] = "DBSettings";
const char kSection[] = "~ReplicationMgr";

const unsigned long kDefaultCacheSizeKB = 8192;
const unsigned long kDefaultMmapSizeMB = 256;
const unsigned long kDefaultCheckpointPages = 1000;
const unsigned long kDefaultWalSizeLimitKB = 65536;
// The hard limit of the log, unless the settings give one: this many times
// the checkpoint size, with the frame headers of its pages. There the thread
// that commits waits, the writers held, for the readers still reading from
// the log for as long as their reads take (up to the ceiling), and starts
// the log again before it grows further. The margin above the restart point
// (40 times the checkpoint size) leaves the background thread's short waits
// the first try: the long wait is paid only where the readers outlast those,
// once per hard limit's worth of log.
const unsigned long kHardLimitFactor = 48;
// A key of section kSection, the field it sets and the range of its values
// with its default. The ranges keep the sizes computed from them (KiB and MiB
// in bytes, pages times frames of up to 64 KiB) far within 64 bits, and far
// above any sensible value.
struct SettingKey {
    const char* key;
    unsigned long DBSettings::*field;
    ZXPlatformInfo::NumberRange range;
};

const SettingKey kSettingKeys[] = {
    {"DBCacheSizeKB", &DBSettings::cacheKB, {1UL << 22, kDefaultCacheSizeKB, false}},         // 4 GiB
    {"DBMmapSizeMB", &DBSettings::mmapMB, {1UL << 20, kDefaultMmapSizeMB, false}},            // 1 TiB
    {"DBCheckpointPages", &DBSettings::checkpointPages, {1UL << 20, kDefaultCheckpointPages, true}},
    {"DBWalSizeLimitKB", &DBSettings::walLimitKB, {1UL << 30, kDefaultWalSizeLimitKB, false}},  // 1 TiB
    {"DBWalHardLimitKB", &DBSettings::hardLimitKB, {1UL << 30, 0, true}},                      // 1 TiB
    // Longer than half the busy timeout it counts as half of it (below).
    {"DBReaderWaitCeilingMs", &DBSettings::ceilingMs, {kBusyTimeoutMs, kDefaultReaderWaitCeilingMs, true}},
};

// SQLite's default page size.
const unsigned long long kDefaultPageSize = 4096;

}  // namespace

DBSettings dbReadSettings(const std::string& path)
{
    DBSettings settings;
    for (const SettingKey& key : kSettingKeys)
        settings.*key.field = static_cast<unsigned long>(
            ZXPlatformInfo().readSetting(kSection, key.key, key.range, "the catalogue " + path));
    return settings;
}

unsigned long long dbPageSize(DBConnection& conn)
{
    sqlite3_stmt* stmt = nullptr;
    unsigned long long size = 0;
    if (HostDBFaults::check("pageSize") == 0 &&
        sqlite3_prepare_v2(conn.db, "PRAGMA page_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        size = static_cast<unsigned long long>(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    // SQLite's page sizes are powers of two from 512 bytes to 64 KiB.
    if (size >= 512 && size <= 65536) return size;
    log_error(kSourceFile, __LINE__, "Cannot read the page size of the catalogue %s: it counts as %llu bytes",
              conn.path.c_str(), kDefaultPageSize);
    return kDefaultPageSize;
}

DBLogLimits dbLogLimits(const DBSettings& settings, unsigned long long pageSize,
                        std::chrono::milliseconds shortestWait)
{
    DBLogLimits limits;
    limits.checkpointPages = settings.checkpointPages;
    // The log is checkpointed only once it holds the checkpoint size, so it
    // is cut back to no less than that.
    limits.walLimitBytes = std::max(static_cast<unsigned long long>(settings.walLimitKB) << 10,
                                    limits.checkpointPages * pageSize);
    // A log file holds a frame header of 24 bytes with each page.
    const unsigned long long frame = pageSize + 24;
    unsigned long long hardLimit = static_cast<unsigned long long>(settings.hardLimitKB) << 10;
    if (hardLimit == 0) hardLimit = kHardLimitFactor * limits.checkpointPages * frame;
    // The log is checkpointed only once it holds the checkpoint size, so its
    // hard limit is no less than that.
    limits.hardLimitPages =
        static_cast<unsigned long>(std::max<unsigned long long>(hardLimit / frame, limits.checkpointPages));
    // A log started again at its hard limit has its file cut back there: a
    // size limit above the hard limit counts as the hard limit.
    limits.walLimitBytes = std::min(limits.walLimitBytes, limits.hardLimitPages * frame);
    limits.readerWaitCeiling = std::chrono::milliseconds(std::min<unsigned long>(
        std::max<unsigned long>(settings.ceilingMs, shortestWait.count()), kBusyTimeoutMs / 2));
    return limits;
}
