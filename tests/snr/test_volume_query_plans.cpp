// Every statement the volume queries run finds its rows through an index, so
// that one client's or one volume's read does not grow with the rows of
// others: checked with EXPLAIN QUERY PLAN on a catalogue of three clients,
// as the library leaves it and after ANALYZE.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "support/TestCatalogue.h"

namespace {

class VolumeQueryPlanTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        {
            DBtran tran(false);  // lays down the schema
            ASSERT_EQ(tran.startTran(), 0);
            ASSERT_EQ(tran.commitTran(false), 0);
        }
        // Clients 1 to 3 see 200 volumes each, every volume with a device, a
        // mount point and a replication volume, every second one a scratch
        // volume.
        exec("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 600) "
             "INSERT INTO YBPhysicalVolume (id, UniqueId) SELECT v, 'uid-' || v FROM n");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) "
             "SELECT id, 1 + (id - 1) / 200, id, 'dev-' || id FROM YBPhysicalVolume");
        exec("INSERT INTO YBMountPoint (DeviceNameId, Path) SELECT id, '/mnt/' || id FROM YBPhysicalDevice");
        exec("INSERT INTO YBVolume (CreationTime, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, SnapVolumeId) "
             "SELECT id, 1 + id % 5, 1000 + id, id, id FROM YBPhysicalVolume");
        exec("INSERT INTO YBScratchVolume (PhysicalVolumeId, RVScratchVolumePoolId) "
             "SELECT id, 9 FROM YBPhysicalVolume WHERE id % 2 = 0");
    }

    static std::string registered(const char* name)
    {
        DBStatementRegistry::Entry entry;
        EXPECT_TRUE(DBStatementRegistry::lookup(name, entry)) << name;
        return entry.sql;
    }

    // The plan lines of a statement that read a whole table or index.
    std::vector<std::string> scans(const std::string& sql)
    {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        std::vector<std::string> found;
        const std::string explain = "EXPLAIN QUERY PLAN " + sql;
        EXPECT_EQ(sqlite3_prepare_v2(db, explain.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
            std::string line = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
            if (line.rfind("SCAN", 0) == 0) found.push_back(line);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return found;
    }

    void expectIndexed()
    {
        const std::vector<std::string> statements = {
            // The inventory of a client: its devices, its volumes with what
            // lies on them, the counts of what lies on them, its mount points.
            registered("YBGetSNRDeviceByClientId"),
            registered("YBGetSNRVolInfoByClientId"),
            "SELECT COUNT(*) FROM YBVolume WHERE PhysicalVolumeId IN (SELECT SNRVolumeId FROM YBPhysicalDevice "
            "WHERE ClientId = 2)",
            "SELECT COUNT(*) FROM YBScratchVolume WHERE PhysicalVolumeId IN (SELECT SNRVolumeId FROM "
            "YBPhysicalDevice WHERE ClientId = 2)",
            registered("YBGetSNRMountPointByClientId"),
            // One SNR volume by id, with the counts of what lies on it.
            registered("YBGetSNRVolumeById"),
            "SELECT COUNT(*) FROM YBVolume WHERE PhysicalVolumeId = 10",
            "SELECT COUNT(*) FROM YBVolume WHERE PhysicalVolumeId = 10 AND PrimaryVolumeId = 1010",
            "SELECT COUNT(*) FROM YBScratchVolume WHERE PhysicalVolumeId = 10",
            // One SNR volume with the replicas its selection flags choose.
            "SELECT * FROM YBPhysicalVolume WHERE id = 10",
            "SELECT * FROM YBVolume WHERE PhysicalVolumeId = 10 ORDER BY CreationTime DESC",
            "SELECT * FROM YBVolume WHERE PrimaryVolumeId = 10 AND CreationTime < 50 AND CurrentRole = 2 "
            "ORDER BY CreationTime DESC",
            "SELECT * FROM YBVolume WHERE SnapVolumeId = 10 AND CurrentRole = 2 ORDER BY CreationTime DESC",
            "SELECT * FROM YBVolume WHERE CreationTime < 50 ORDER BY CreationTime DESC",
            "SELECT * FROM YBVolume WHERE CreationTime < 50 AND CurrentRole = 2 ORDER BY CreationTime DESC",
            "SELECT * FROM YBScratchVolume WHERE PhysicalVolumeId = 10 ORDER BY id ASC",
        };
        for (const std::string& sql : statements) {
            const std::vector<std::string> found = scans(sql);
            EXPECT_TRUE(found.empty()) << sql << "\n" << found.front();
        }
    }
};

TEST_F(VolumeQueryPlanTest, EveryStatementOfTheVolumeQueriesUsesAnIndex)
{
    expectIndexed();
    exec("ANALYZE");
    expectIndexed();
}

// The replicas chosen by role alone are every replica in that role: read in
// creation order through its index, without a sort.
TEST_F(VolumeQueryPlanTest, ReplicasOfARoleAloneAreReadInCreationOrder)
{
    EXPECT_EQ(scans("SELECT * FROM YBVolume WHERE CurrentRole = 2 ORDER BY CreationTime DESC"),
              std::vector<std::string>{"SCAN YBVolume USING INDEX IX_YBVolume_CreationTime"});
}

}  // namespace
