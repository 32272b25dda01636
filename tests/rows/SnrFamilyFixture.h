// A fresh catalogue per test for the SNR, scratch pool and replication volume
// families, with seeding helpers.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "rows/RowFamily.h"

class SnrFamilyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char path[] = "/tmp/replmgr_snrfam_XXXXXX";
        int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        close(fd);
        unlink(path);  // the library creates the file with its schema
        m_path = path;
        DBtran::useCatalogue(m_path);
        HostDBFaults::clear();
        // Open the catalogue once so that the schema is in place.
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        ASSERT_EQ(tran.commitTran(false), 0);
    }

    void TearDown() override
    {
        HostDBFaults::clear();
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((m_path + suffix).c_str());
    }

    void exec(const std::string& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        char* msg = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
        EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "") << "\n" << sql;
        sqlite3_free(msg);
        sqlite3_close(db);
    }

    long long scalar(const std::string& sql)
    {
        sqlite3* db = nullptr;
        long long value = -1;
        if (sqlite3_open(m_path.c_str(), &db) != SQLITE_OK) return value;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return value;
    }

    // An SNR volume with the given id; the other columns derived from it.
    void addVolume(int id, int flags = 0)
    {
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, BlockCount, Flags) VALUES (" + std::to_string(id) +
             ", 'vol-" + std::to_string(id) + "', " + std::to_string(id * 10) + ", " + std::to_string(flags) + ")");
    }
    void addDevice(int id, int clientId, int volumeId)
    {
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (" + std::to_string(id) +
             ", " + std::to_string(clientId) + ", " + std::to_string(volumeId) + ", 'dev-" + std::to_string(id) +
             "')");
    }
    void addMountPoint(int id, int deviceId)
    {
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path) VALUES (" + std::to_string(id) + ", " +
             std::to_string(deviceId) + ", '/mnt/" + std::to_string(id) + "')");
    }
    void addReplica(int id, int physicalVolumeId, int primaryVolumeId = 0, int role = 0, int modifyTime = 0,
                    int jobId = 0)
    {
        exec("INSERT INTO YBVolume (id, PhysicalVolumeId, PrimaryVolumeId, CurrentRole, ModifyTime, JobId, "
             "SourceGUID) VALUES (" +
             std::to_string(id) + ", " + std::to_string(physicalVolumeId) + ", " + std::to_string(primaryVolumeId) +
             ", " + std::to_string(role) + ", " + std::to_string(modifyTime) + ", " + std::to_string(jobId) +
             ", 'guid-" + std::to_string(id) + "')");
    }
    void addScratch(int id, int physicalVolumeId, int poolId)
    {
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (" +
             std::to_string(id) + ", " + std::to_string(physicalVolumeId) + ", " + std::to_string(poolId) + ")");
    }

    // Every row of a cursor through getNextRow; fails the test on a database
    // error.
    template <class Family>
    std::vector<typename Family::Row> readAll(Family& family)
    {
        std::vector<typename Family::Row> rows;
        EXPECT_EQ(ZXDBReadList(family, rows), 0);
        return rows;
    }

    std::string m_path;
};
