// The list of every SNR volume with its devices and their mount points
// (message version 4): the whole request through post, in turns with the
// same three tables read with plain sqlite3 calls (statements kept prepared)
// into the same records, once with the operation's reads (one statement per
// volume and per device) and once with one read of each table, on the same
// catalogue.
//
// Each size N has a catalogue of its own, seeded once: N devices, two on each
// of N/2 SNR volumes (clients 1 and 2), and two mount points on every device.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ReplicationMgr.h"
#include "snr/VolumeLists.h"

namespace {

const unsigned long kGetSNRVolumesV4 = 0x35000210;

// N devices, two on each of N/2 SNR volumes (clients 1 and 2), two mount
// points on every device.
void Seed(sqlite3* db, int devices)
{
    sqlite3_stmt* volume = nullptr;
    sqlite3_stmt* device = nullptr;
    sqlite3_stmt* mountPoint = nullptr;
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, "
                                  "BlockSize, Flags, FSType, UniqueSnapshotID, ApplianceId, Type) "
                                  "VALUES (?1, '600A0B80-' || ?1, 2, ?1 % 256, 2048, 20971520, 512, 1, 'NTFS', "
                                  "'snapshot-' || ?1, 3, 1)",
                                  -1, &volume, nullptr),
               db, "prepare volume");
    BenchCheck(sqlite3_prepare_v2(db,
                                  "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, "
                                  "OSDeviceName, AccessPath, FilerClientId) "
                                  "VALUES (?1, ?2, ?3, '\\\\.\\PhysicalDrive' || ?1, 0, '/dev/sd' || ?1, '', 1)",
                                  -1, &device, nullptr),
               db, "prepare device");
    BenchCheck(sqlite3_prepare_v2(db, "INSERT INTO YBMountPoint (DeviceNameId, Path, Flags) VALUES (?1, ?2 || ?1, 0)",
                                  -1, &mountPoint, nullptr),
               db, "prepare mount point");
    for (int v = 1; v <= devices / 2; ++v) {
        sqlite3_reset(volume);
        sqlite3_bind_int(volume, 1, v);
        BenchCheck(sqlite3_step(volume), db, "insert volume");
        for (int client = 1; client <= 2; ++client) {
            const int d = 2 * (v - 1) + client;
            sqlite3_reset(device);
            sqlite3_bind_int(device, 1, d);
            sqlite3_bind_int(device, 2, client);
            sqlite3_bind_int(device, 3, v);
            BenchCheck(sqlite3_step(device), db, "insert device");
            for (const char* path : {"/mnt/data-", "/mnt/logs-"}) {
                sqlite3_reset(mountPoint);
                sqlite3_bind_int(mountPoint, 1, d);
                sqlite3_bind_text(mountPoint, 2, path, -1, SQLITE_STATIC);
                BenchCheck(sqlite3_step(mountPoint), db, "insert mount point");
            }
        }
    }
    for (sqlite3_stmt* s : {volume, device, mountPoint}) sqlite3_finalize(s);
}

BenchCatalogues g_catalogues("volumes", &Seed);

// Plain sqlite3 reads of the three tables into the same row structures.
const char kVolumeColumns[] =
    "SELECT id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, FSType, UniqueSnapshotID, "
    "ApplianceId, TzState, CostCategoryId, Type FROM YBPhysicalVolume WHERE id > 0 ORDER BY id ASC";
const char kDeviceColumns[] =
    "SELECT id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, FilerClientId FROM YBPhysicalDevice";
const char kMountPointColumns[] = "SELECT id, DeviceNameId, Path, Flags FROM YBMountPoint";

template <size_t N>
void ReadText(sqlite3_stmt* s, int col, char (&out)[N])
{
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
    const size_t len = t ? strnlen(t, N - 1) : 0;
    if (len) std::memcpy(out, t, len);
    out[len] = '\0';
}

YBPhysicalVolume_t ReadVolume(sqlite3_stmt* s)
{
    YBPhysicalVolume_t v;
    std::memset(static_cast<void*>(&v), 0, sizeof v);
    v.id = sqlite3_column_int(s, 0);
    ReadText(s, 1, v.UniqueId);
    v.UniqueIdType = sqlite3_column_int(s, 2);
    v.LUN = sqlite3_column_int(s, 3);
    v.StartLBA = sqlite3_column_int64(s, 4);
    v.BlockCount = sqlite3_column_int64(s, 5);
    v.BlockSize = sqlite3_column_int(s, 6);
    v.Flags = sqlite3_column_int(s, 7);
    ReadText(s, 8, v.FSType);
    ReadText(s, 9, v.UniqueSnapshotID);
    v.ApplianceId = sqlite3_column_int(s, 10);
    v.TzState = sqlite3_column_int(s, 11);
    v.CostCategoryId = sqlite3_column_int(s, 12);
    v.Type = sqlite3_column_int(s, 13);
    return v;
}

YBPhysicalDevice_t ReadDevice(sqlite3_stmt* s)
{
    YBPhysicalDevice_t d;
    std::memset(static_cast<void*>(&d), 0, sizeof d);
    d.id = sqlite3_column_int(s, 0);
    d.ClientId = sqlite3_column_int(s, 1);
    d.SNRVolumeId = sqlite3_column_int(s, 2);
    ReadText(s, 3, d.DeviceName);
    d.Flags = sqlite3_column_int(s, 4);
    ReadText(s, 5, d.OSDeviceName);
    ReadText(s, 6, d.AccessPath);
    d.FilerClientId = sqlite3_column_int(s, 7);
    return d;
}

YBMountPoint_t ReadMountPoint(sqlite3_stmt* s)
{
    YBMountPoint_t m;
    std::memset(static_cast<void*>(&m), 0, sizeof m);
    m.id = sqlite3_column_int(s, 0);
    m.DeviceNameId = sqlite3_column_int(s, 1);
    ReadText(s, 2, m.Path);
    m.Flags = sqlite3_column_int(s, 3);
    return m;
}

sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    BenchCheck(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), db, "prepare");
    return stmt;
}

// The whole request through post (the three lists read and converted, the
// three reply arrays built, the reply sent) with its counts checked as it is
// sent.
class PostSide {
public:
    explicit PostSide(int n) : m_n(n), m_session(&m_network), m_mgr(&m_session)
    {
        m_network.setSendObserver([this](unsigned long, const void* data, unsigned long) {
            const auto* reply = static_cast<const repGetSNRVolumesV4Resp*>(data);
            m_complete = reply->status == 1 && reply->volumeCount == m_n / 2 && reply->deviceCount == m_n &&
                         reply->mountPointCount == 2 * m_n;
        });
    }
    bool run()
    {
        m_complete = false;
        zxsDatabuf buf;
        return m_mgr.post(kGetSNRVolumesV4, 0, &buf) == 1 && m_complete;
    }

private:
    int m_n;
    bool m_complete = false;
    CZxNetwork m_network;
    ZxSessionSend m_session;
    ReplicationMgr m_mgr;
};

// A plain sqlite3 connection to the catalogue with three statements kept
// prepared.
class PlainReads {
public:
    PlainReads(const std::string& path, const std::string& volumes, const std::string& devices,
               const std::string& mountPoints)
    {
        BenchCheck(sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr), m_db, "open");
        volumesStmt = Prepare(m_db, volumes);
        devicesStmt = Prepare(m_db, devices);
        mountPointsStmt = Prepare(m_db, mountPoints);
    }
    ~PlainReads()
    {
        for (sqlite3_stmt* s : {volumesStmt, devicesStmt, mountPointsStmt}) sqlite3_finalize(s);
        sqlite3_close(m_db);
    }
    PlainReads(const PlainReads&) = delete;
    PlainReads& operator=(const PlainReads&) = delete;

    sqlite3_stmt* volumesStmt = nullptr;
    sqlite3_stmt* devicesStmt = nullptr;
    sqlite3_stmt* mountPointsStmt = nullptr;

private:
    sqlite3* m_db = nullptr;
};

bool CountsOf(const GetSNRVolumeListV4Ret_t& ret, int n)
{
    return ret.volumes.size() == static_cast<size_t>(n / 2) && ret.devices.size() == static_cast<size_t>(n) &&
           ret.mountPoints.size() == static_cast<size_t>(2 * n);
}

// Plain sqlite3, the operation's reads: the volumes, then each volume's
// devices and each device's mount points, each statement bound again for each
// volume or device; each row copied into the same row structure and converted
// into the same record.
bool SameReads(PlainReads& plain, GetSNRVolumeListV4Ret_t& ret)
{
    sqlite3_stmt* devices = plain.devicesStmt;
    sqlite3_stmt* mountPoints = plain.mountPointsStmt;
    while (sqlite3_step(plain.volumesStmt) == SQLITE_ROW) {
        const YBPhysicalVolume_t v = ReadVolume(plain.volumesStmt);
        YBSet(ret.volumes, v);
        sqlite3_bind_int(devices, 1, v.id);
        while (sqlite3_step(devices) == SQLITE_ROW) {
            const YBPhysicalDevice_t d = ReadDevice(devices);
            YBSet(ret.devices, d);
            sqlite3_bind_int(mountPoints, 1, d.id);
            while (sqlite3_step(mountPoints) == SQLITE_ROW) YBSet(ret.mountPoints, ReadMountPoint(mountPoints));
            sqlite3_reset(mountPoints);
        }
        sqlite3_reset(devices);
    }
    sqlite3_reset(plain.volumesStmt);
    return true;
}

// Plain sqlite3, the least it takes: each table read once (devices by volume,
// mount points by device), joined in memory into the same three lists.
bool ThreeScans(PlainReads& plain, GetSNRVolumeListV4Ret_t& ret)
{
    sqlite3_stmt* volumes = plain.volumesStmt;
    sqlite3_stmt* devices = plain.devicesStmt;
    sqlite3_stmt* mountPoints = plain.mountPointsStmt;
    std::unordered_map<int, std::vector<YBMountPoint_t>> byDevice;
    while (sqlite3_step(mountPoints) == SQLITE_ROW) {
        YBMountPoint_t m = ReadMountPoint(mountPoints);
        byDevice[m.DeviceNameId].push_back(m);
    }
    bool haveDevice = sqlite3_step(devices) == SQLITE_ROW;
    YBPhysicalDevice_t d = haveDevice ? ReadDevice(devices) : YBPhysicalDevice_t();
    while (sqlite3_step(volumes) == SQLITE_ROW) {
        const YBPhysicalVolume_t v = ReadVolume(volumes);
        YBSet(ret.volumes, v);
        while (haveDevice && d.SNRVolumeId < v.id) {
            haveDevice = sqlite3_step(devices) == SQLITE_ROW;
            if (haveDevice) d = ReadDevice(devices);
        }
        while (haveDevice && d.SNRVolumeId == v.id) {
            YBSet(ret.devices, d);
            auto it = byDevice.find(d.id);
            if (it != byDevice.end())
                for (const YBMountPoint_t& m : it->second) YBSet(ret.mountPoints, m);
            haveDevice = sqlite3_step(devices) == SQLITE_ROW;
            if (haveDevice) d = ReadDevice(devices);
        }
    }
    for (sqlite3_stmt* s : {volumes, devices, mountPoints}) sqlite3_reset(s);
    return true;
}

// The request through post in turns with plain sqlite3 reading the catalogue
// of the state's size with the device and mount point statements given:
// read(plain, ret) fills the three lists once.
template <typename Read>
void AgainstPost(benchmark::State& state, const std::string& devices, const std::string& mountPoints, Read read)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    bench::quietHost();
    PostSide post(n);
    PlainReads plain(path, kVolumeColumns, std::string(kDeviceColumns) + devices,
                     std::string(kMountPointColumns) + mountPoints);
    bench::alternate(state, {"post", nullptr, [&] { return post.run(); }},
                     {"plain", nullptr, [&] {
                          GetSNRVolumeListV4Ret_t ret;
                          return read(plain, ret) && CountsOf(ret, n);
                      }});
    state.SetItemsProcessed(state.iterations() * n);
}

// Against plain sqlite3 making the same reads.
void BM_GetSNRVolumes(benchmark::State& state)
{
    AgainstPost(state, " WHERE SNRVolumeId = ?1 ORDER BY id ASC", " WHERE DeviceNameId = ?1 ORDER BY id ASC",
                SameReads);
}

// Against plain sqlite3 reading each table once: how far the request is from
// the least the three lists take.
void BM_GetSNRVolumesThreeScans(benchmark::State& state)
{
    AgainstPost(state, " WHERE SNRVolumeId > 0 ORDER BY SNRVolumeId ASC, id ASC",
                " WHERE DeviceNameId > 0 ORDER BY DeviceNameId ASC, id ASC", ThreeScans);
}

}  // namespace

BENCHMARK(BM_GetSNRVolumes)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSNRVolumesThreeScans)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
