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

#include <algorithm>
#include <iterator>
#include <string>
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

// Plain sqlite3 reads of the three tables, each column straight into its
// field of the request's records.
const char kVolumeColumns[] =
    "SELECT id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, FSType, UniqueSnapshotID, "
    "ApplianceId, TzState, CostCategoryId, Type FROM YBPhysicalVolume WHERE id > 0 ORDER BY id ASC";
const char kDeviceColumns[] =
    "SELECT id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, FilerClientId FROM YBPhysicalDevice";
const char kMountPointColumns[] = "SELECT id, DeviceNameId, Path, Flags FROM YBMountPoint";

using VolumeRecord = decltype(GetSNRVolumeListV4Ret_t::volumes)::value_type;
using DeviceRecord = decltype(GetSNRVolumeListV4Ret_t::devices)::value_type;
using bench::columnText;

void ReadVolume(sqlite3_stmt* s, VolumeRecord& v)
{
    const int32_t flags = sqlite3_column_int(s, 7);
    v.id = sqlite3_column_int(s, 0);
    v.UniqueId = columnText(s, 1);
    v.UniqueIdType = sqlite3_column_int(s, 2);
    v.LUN = sqlite3_column_int(s, 3);
    v.StartLBA = sqlite3_column_int64(s, 4);
    v.BlockCount = sqlite3_column_int64(s, 5);
    v.BlockSize = sqlite3_column_int(s, 6);
    v.BackupFromSnap = (flags & SNRVOL_FLAG_BACKUP_FROM_SNAP) != 0;
    v.Locked = (flags & SNRVOL_FLAG_LOCKED) != 0;
    v.FSType = columnText(s, 8);
    v.UsePermReplica = (flags & SNRVOL_FLAG_USE_PERM_REPLICA) != 0;
    v.UniqueSnapshotID = columnText(s, 9);
    v.Allocated = (flags & SNRVOL_FLAG_ALLOCATED) != 0;
    v.MorvaneProtected = (flags & SNRVOL_FLAG_MORVANE_PROTECTED) != 0;
    v.ApplianceId = sqlite3_column_int(s, 10);
    v.TzState = sqlite3_column_int(s, 11);
    v.CostCategoryId = sqlite3_column_int(s, 12);
    v.ShadowImported = (flags & SNRVOL_FLAG_SHADOW_IMPORTED) != 0;
    v.VolType = sqlite3_column_int(s, 13);
}

void ReadDevice(sqlite3_stmt* s, DeviceRecord& d)
{
    const int32_t flags = sqlite3_column_int(s, 4);
    d.id = sqlite3_column_int(s, 0);
    d.ClientId = sqlite3_column_int(s, 1);
    d.SNRVolumeId = sqlite3_column_int(s, 2);
    d.DeviceName = columnText(s, 3);
    d.IsCaseSensitive = (flags & SNRDEV_FLAG_IS_CASE_SENSITIVE) != 0;
    d.OSDeviceName = columnText(s, 5);
    d.Configured = (flags & SNRDEV_FLAG_CONFIGURED) != 0;
    d.Fake = (flags & SNRDEV_FLAG_FAKE) != 0;
    d.VVM = (flags & SNRDEV_FLAG_VVM) != 0;
    d.AccessPath = columnText(s, 6);
    d.FilerClientId = sqlite3_column_int(s, 7);
}

void ReadMountPoint(sqlite3_stmt* s, SNRVolumeMountPointRecord_t& m)
{
    const int32_t flags = sqlite3_column_int(s, 3);
    m.id = sqlite3_column_int(s, 0);
    m.DeviceNameId = sqlite3_column_int(s, 1);
    m.Path = columnText(s, 2);
    m.IsCaseSensitive = (flags & SNRMNT_FLAG_IS_CASE_SENSITIVE) != 0;
    m.Unmounted = (flags & SNRMNT_FLAG_UNMOUNTED) != 0;
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

// The three statements kept prepared on a plain connection to the catalogue.
struct PlainReads {
    PlainReads(const std::string& path, const std::string& volumes, const std::string& devices,
               const std::string& mountPoints)
        : conn(path), volumesStmt(conn.keep(volumes)), devicesStmt(conn.keep(devices)),
          mountPointsStmt(conn.keep(mountPoints)), begin(conn.keep("BEGIN")), commit(conn.keep("COMMIT"))
    {
    }
    bench::PlainConnection conn;
    sqlite3_stmt* volumesStmt;
    sqlite3_stmt* devicesStmt;
    sqlite3_stmt* mountPointsStmt;
    sqlite3_stmt* begin;
    sqlite3_stmt* commit;
};

bool CountsOf(const GetSNRVolumeListV4Ret_t& ret, int n)
{
    return ret.volumes.size() == static_cast<size_t>(n / 2) && ret.devices.size() == static_cast<size_t>(n) &&
           ret.mountPoints.size() == static_cast<size_t>(2 * n);
}

// Plain sqlite3, the operation's reads: the volumes, then each volume's
// devices and each device's mount points, each statement bound again for each
// volume or device; each row read into its record in the list, whose room
// the caller made.
bool SameReads(PlainReads& plain, GetSNRVolumeListV4Ret_t& ret, int)
{
    sqlite3_stmt* devices = plain.devicesStmt;
    sqlite3_stmt* mountPoints = plain.mountPointsStmt;
    while (sqlite3_step(plain.volumesStmt) == SQLITE_ROW) {
        ret.volumes.emplace_back();
        ReadVolume(plain.volumesStmt, ret.volumes.back());
        sqlite3_bind_int(devices, 1, ret.volumes.back().id);
        while (sqlite3_step(devices) == SQLITE_ROW) {
            ret.devices.emplace_back();
            ReadDevice(devices, ret.devices.back());
            sqlite3_bind_int(mountPoints, 1, ret.devices.back().id);
            while (sqlite3_step(mountPoints) == SQLITE_ROW) {
                ret.mountPoints.emplace_back();
                ReadMountPoint(mountPoints, ret.mountPoints.back());
            }
            sqlite3_reset(mountPoints);
        }
        sqlite3_reset(devices);
    }
    sqlite3_reset(plain.volumesStmt);
    return true;
}

// Orders mount points by device against a device id.
struct ByDevice {
    bool operator()(const SNRVolumeMountPointRecord_t& m, int32_t id) const { return m.DeviceNameId < id; }
    bool operator()(int32_t id, const SNRVolumeMountPointRecord_t& m) const { return id < m.DeviceNameId; }
};

// Plain sqlite3, the least it takes: each table read once into records, in
// one read of the catalogue (the devices by volume, the mount points by
// device) into lists whose room the caller made (the n devices' 2n mount
// points read by device here); the mount points of each device found by a
// binary search and moved into the list in the order of the devices.
bool ThreeScans(PlainReads& plain, GetSNRVolumeListV4Ret_t& ret, int n)
{
    sqlite3_stmt* volumes = plain.volumesStmt;
    sqlite3_stmt* devices = plain.devicesStmt;
    sqlite3_stmt* mountPoints = plain.mountPointsStmt;
    if (!bench::runKept(plain.begin)) return false;
    std::vector<SNRVolumeMountPointRecord_t> byDevice;
    byDevice.reserve(static_cast<size_t>(2 * n));
    while (sqlite3_step(mountPoints) == SQLITE_ROW) {
        byDevice.emplace_back();
        ReadMountPoint(mountPoints, byDevice.back());
    }
    while (sqlite3_step(volumes) == SQLITE_ROW) {
        ret.volumes.emplace_back();
        ReadVolume(volumes, ret.volumes.back());
    }
    // A device whose volume is not listed is not listed; devices and volumes
    // both ascend by volume id.
    size_t v = 0;
    while (sqlite3_step(devices) == SQLITE_ROW) {
        const int32_t volumeId = sqlite3_column_int(devices, 2);
        while (v < ret.volumes.size() && ret.volumes[v].id < volumeId) ++v;
        if (v == ret.volumes.size() || ret.volumes[v].id != volumeId) continue;
        ret.devices.emplace_back();
        ReadDevice(devices, ret.devices.back());
    }
    for (sqlite3_stmt* s : {volumes, devices, mountPoints}) sqlite3_reset(s);
    if (!bench::runKept(plain.commit)) return false;
    for (const DeviceRecord& d : ret.devices) {
        auto run = std::equal_range(byDevice.begin(), byDevice.end(), d.id, ByDevice());
        std::move(run.first, run.second, std::back_inserter(ret.mountPoints));
    }
    return true;
}

// The request through post in turns with plain sqlite3 reading the catalogue
// of the state's size with the device and mount point statements given:
// read(plain, ret, n) fills the three lists once. The plain side makes room
// for its records once, at their number, as the library makes its records
// once at their number.
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
                          ret.volumes.reserve(static_cast<size_t>(n / 2));
                          ret.devices.reserve(static_cast<size_t>(n));
                          ret.mountPoints.reserve(static_cast<size_t>(2 * n));
                          return read(plain, ret, n) && CountsOf(ret, n);
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
