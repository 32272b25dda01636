// Drawing requests at random from what a catalogue stores, as a host's
// sequences of writes would: the stored rows read after each post, one
// request's layout with everything it points at, and the draw of its values
// from a seeded generator (the same seed, the same requests on the same rows).
#pragma once

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "snr/SNRVolumeUpdate.h"
#include "support/StatementRows.h"

namespace random_posts {

// The host's clients: 5 and 6 the destination hosts of sets 40 and 41, 7 to
// 9 the clients whose devices the sequences register; the sets' subclients.
const int kClients[] = {7, 8, 9};
const int kDestinationHosts[] = {5, 6};
const int kSets[] = {40, 41};
const int kSubclients[] = {201, 202, 203, 204};
// Ids from here on are never given in a sequence.
const int kNeverGiven = 900000;

inline std::string Num(long long n) { return std::to_string(n); }

// ---- What is stored ---------------------------------------------------------------------

struct StoredVolume {
    int id = 0;
    std::string uniqueId;
    int uniqueIdType = 0;
    int lun = 0;
    long long startLBA = 0;
    long long blockCount = 0;
};
struct StoredDevice {
    int id = 0;
    int clientId = 0;
    int volumeId = 0;
    std::string name;
};
struct StoredScratchVolume {
    int id = 0;
    int volumeId = 0;
};
struct StoredReplica {
    int id = 0;
    int role = 0;
    int primaryVolumeId = 0;
    int physicalVolumeId = 0;
    int snapVolumeId = 0;
    int scratchVolumeId = 0;
};
struct StoredSnapshot {
    int id = 0;
    std::string name;
    int clientId = 0;  // of its point
    std::string guid;  // of its volume
};

// The rows the sequences draw from.
struct Stored {
    std::vector<StoredVolume> volumes;
    std::vector<StoredDevice> devices;
    std::vector<StoredScratchVolume> scratch;
    std::vector<StoredReplica> replicas;
    std::vector<StoredSnapshot> snapshots;
    std::map<std::string, std::vector<int>> ids;  // by table
    std::map<std::string, int> given;             // the highest id each table has given

    const std::vector<int>& of(const std::string& table) const
    {
        static const std::vector<int> none;
        auto found = ids.find(table);
        return found != ids.end() ? found->second : none;
    }
};

inline std::string ColumnText(sqlite3_stmt* stmt, int column)
{
    const unsigned char* text = sqlite3_column_text(stmt, column);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

inline Stored ReadStored(sqlite3* db)
{
    static const char* const kIdTables[] = {
        "YBPhysicalVolume", "YBPhysicalDevice", "YBMountPoint", "YBVolume", "YBScratchVolume", "YBScratchPool",
        "YBSnapEngineInfo", "YBPolicy", "YBFLRConsistencyPoint", "YBFLRSnapshot", "YBFLRSnapMountPoint",
        "YBFLRSnapNetworkShare", "YBFile", "YBDevice", "YBUserApplicationDef"};
    Stored s;
    for (const char* table : kIdTables) {
        std::vector<int>& ids = s.ids[table];
        ReadRows(db, std::string("SELECT id FROM ") + table + " ORDER BY id",
                 [&](sqlite3_stmt* r) { ids.push_back(sqlite3_column_int(r, 0)); });
    }
    ReadRows(db, "SELECT name, seq FROM sqlite_sequence",
             [&](sqlite3_stmt* r) { s.given[ColumnText(r, 0)] = sqlite3_column_int(r, 1); });
    ReadRows(db, "SELECT id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount FROM YBPhysicalVolume ORDER BY id",
             [&](sqlite3_stmt* r) {
                 s.volumes.push_back({sqlite3_column_int(r, 0), ColumnText(r, 1), sqlite3_column_int(r, 2),
                                      sqlite3_column_int(r, 3), sqlite3_column_int64(r, 4),
                                      sqlite3_column_int64(r, 5)});
             });
    ReadRows(db, "SELECT id, ClientId, SNRVolumeId, DeviceName FROM YBPhysicalDevice ORDER BY id",
             [&](sqlite3_stmt* r) {
                 s.devices.push_back({sqlite3_column_int(r, 0), sqlite3_column_int(r, 1), sqlite3_column_int(r, 2),
                                      ColumnText(r, 3)});
             });
    ReadRows(db, "SELECT id, PhysicalVolumeId FROM YBScratchVolume ORDER BY id",
             [&](sqlite3_stmt* r) { s.scratch.push_back({sqlite3_column_int(r, 0), sqlite3_column_int(r, 1)}); });
    ReadRows(db,
             "SELECT id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId, RVScratchVolumeId FROM YBVolume "
             "ORDER BY id",
             [&](sqlite3_stmt* r) {
                 s.replicas.push_back({sqlite3_column_int(r, 0), sqlite3_column_int(r, 1), sqlite3_column_int(r, 2),
                                       sqlite3_column_int(r, 3), sqlite3_column_int(r, 4), sqlite3_column_int(r, 5)});
             });
    ReadRows(db,
             "SELECT S.id, S.Name, COALESCE(C.ClientId, 0), S.VolumeGUID FROM YBFLRSnapshot S "
             "LEFT JOIN YBFLRConsistencyPoint C ON C.id = S.ConsistencyPointId ORDER BY S.id",
             [&](sqlite3_stmt* r) {
                 s.snapshots.push_back(
                     {sqlite3_column_int(r, 0), ColumnText(r, 1), sqlite3_column_int(r, 2), ColumnText(r, 3)});
             });
    return s;
}

// ---- One request -----------------------------------------------------------------------

// A request's layout and everything it points at, alive until the request
// has been posted.
class Request {
public:
    // The layout, all zeros, then as its type makes it.
    template <typename Req>
    Req& body()
    {
        m_body = std::make_unique<unsigned char[]>(sizeof(Req));
        m_size = sizeof(Req);
        return *new (m_body.get()) Req();
    }
    // A text the request points at; null for an empty one.
    char* text(const std::string& s)
    {
        m_texts.push_back(s);
        return m_texts.back().empty() ? nullptr : &m_texts.back()[0];
    }
    // `count` elements, each as made; null for none.
    template <typename T>
    T* array(size_t count)
    {
        if (count == 0) return nullptr;
        auto storage = std::make_shared<std::vector<T>>(count);
        m_kept.push_back(storage);
        return storage->data();
    }
    // A record whose texts the request points at.
    template <typename T>
    T& keep(const T& value)
    {
        auto kept = std::make_shared<T>(value);
        m_kept.push_back(kept);
        return *kept;
    }

    void* data() const { return m_body.get(); }
    size_t size() const { return m_size; }

private:
    std::unique_ptr<unsigned char[]> m_body;
    size_t m_size = 0;
    std::deque<std::string> m_texts;
    std::vector<std::shared_ptr<void>> m_kept;
};

// ---- Drawing a request -------------------------------------------------------------------

// The identity of an SNR volume a request carries.
struct Identity {
    std::string uniqueId;
    int type = 1;
    int lun = 0;
    long long startLBA = 0;
    long long blockCount = 2048;
};

inline std::string Describe(const Identity& i) { return i.uniqueId + "/" + Num(i.type) + "/" + Num(i.lun); }

// Builds one request from the stored rows and the sequence's generator;
// says() tells what it carries, for the failure messages.
class Draw {
public:
    Draw(std::mt19937& random, const Stored& stored, Request& request, std::string& what)
        : m_random(random), m_stored(stored), m_request(request), m_what(what)
    {
    }

    int below(int n) { return n <= 1 ? 0 : static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N>
    T oneOf(const T (&values)[N])
    {
        return values[below(static_cast<int>(N))];
    }
    template <typename T>
    const T* oneOf(const std::vector<T>& values)
    {
        return values.empty() ? nullptr : &values[static_cast<size_t>(below(static_cast<int>(values.size())))];
    }

    // Mostly a stored id of the table; else one it gave before, stored or
    // gone, or one it never gives in a sequence. Never one it gives later:
    // a row naming an id before its row exists is the host's mistake.
    int id(const char* table)
    {
        const int* stored = oneOf(m_stored.of(table));
        if (stored != nullptr && chance(85)) return *stored;
        auto given = m_stored.given.find(table);
        if (given != m_stored.given.end() && given->second > 0 && chance(80)) return 1 + below(given->second);
        return kNeverGiven + below(10);
    }
    // An id the table gave and no row has any more, or one it never gives.
    int goneId(const char* table)
    {
        const std::vector<int>& ids = m_stored.of(table);
        auto given = m_stored.given.find(table);
        std::vector<int> gone;
        for (int id = 1; given != m_stored.given.end() && id <= given->second; ++id)
            if (!std::binary_search(ids.begin(), ids.end(), id)) gone.push_back(id);
        const int* id = oneOf(gone);
        return id != nullptr ? *id : kNeverGiven + below(10);
    }
    // A stored id of the table; 0 when it has none.
    int storedId(const char* table)
    {
        const int* stored = oneOf(m_stored.of(table));
        return stored != nullptr ? *stored : 0;
    }
    int volumeId() { return id("YBPhysicalVolume"); }
    // Mostly the SNR volume of a pool member.
    int memberVolumeId()
    {
        const StoredScratchVolume* member = oneOf(m_stored.scratch);
        return member != nullptr && chance(75) ? member->volumeId : volumeId();
    }
    int clientId() { return oneOf(kClients); }

    const Stored& stored() const { return m_stored; }

    // One of eight disks (1 to 4 shared disks, type 15, whose identity
    // leaves out the LUN), or a stored volume's identity.
    Identity identity()
    {
        const StoredVolume* v = chance(40) ? oneOf(m_stored.volumes) : nullptr;
        if (v != nullptr) return IdentityOf(*v);
        Identity i;
        const int disk = 1 + below(8);
        i.uniqueId = "DISK-" + Num(disk);
        i.type = disk <= 4 ? kSharedDiskUniqueIdType : 1;
        i.lun = below(2);
        return i;
    }
    static Identity IdentityOf(const StoredVolume& v)
    {
        Identity i;
        i.uniqueId = v.uniqueId;
        i.type = v.uniqueIdType;
        i.lun = v.lun;
        i.startLBA = v.startLBA;
        i.blockCount = v.blockCount;
        return i;
    }

    Request& request() { return m_request; }
    template <typename Req>
    Req& body()
    {
        return m_request.template body<Req>();
    }
    char* text(const std::string& s) { return m_request.text(s); }
    void says(const std::string& what) { m_what = what; }

private:
    std::mt19937& m_random;
    const Stored& m_stored;
    Request& m_request;
    std::string& m_what;
};

}  // namespace random_posts
