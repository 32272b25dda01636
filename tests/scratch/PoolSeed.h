// A seeded catalogue of scratch pools for the lookups and the contents
// query. Pool 9 holds SNR volumes 40 (reserved, 0x2), 41 (0x4) and 42 as
// scratch volumes 60 (locked by job -5), 61 and 62. Volume 40 is seen by
// clients 77 (device 1) and 78 (device 2), volume 41 by client 77 (device
// 3), volume 42 by none; mount points 5, 6 and 7 belong to devices 1, 2 and
// 3. Replication volume 70 lies on volume 40 (primary volume 6). Pool 10 is
// empty; pool 11 holds volume 43, which no client sees.
#pragma once

#include <string>

inline std::string PoolSeedSql()
{
    return "INSERT INTO YBScratchPool (id, name, TotalVolumes) VALUES (9, 'nine', 3), (10, 'ten', 0), (11, 'eleven', 1);"
           "INSERT INTO YBPhysicalVolume (id, UniqueId, LUN, Flags, Type) VALUES (40, 'uid-40', 4, 2, 1), "
           "(41, 'uid-41', 5, 4, 1), (42, 'uid-42', 6, 0, 2), (43, 'uid-43', 7, 0, 1), (6, 'uid-6', 0, 0, 0);"
           "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId, LockedByJobId) VALUES "
           "(60, 40, 9, -5), (61, 41, 9, 0), (62, 42, 9, 0), (63, 43, 11, 0);"
           "INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, OSDeviceName) VALUES "
           "(1, 77, 40, 'dev-1', 'os-1'), (2, 78, 40, 'dev-2', ''), (3, 77, 41, 'dev-3', 'os-3');"
           "INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (5, 1, '/mnt/a', 0), (6, 2, '/mnt/b', 2), "
           "(7, 3, '/mnt/c', 0);"
           "INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, RVScratchVolumeId, JobId) VALUES "
           "(70, 1, 6, 40, 60, 12);";
}
