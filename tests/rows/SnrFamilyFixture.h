// A fresh catalogue per test for the SNR, scratch pool and replication volume
// families, with seeding helpers.
#pragma once

#include <string>
#include <vector>

#include "rows/RowFamily.h"
#include "support/TestCatalogue.h"

class SnrFamilyTest : public CatalogueTest {
protected:
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
};
