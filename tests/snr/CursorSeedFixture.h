// A fresh catalogue seeded for the conversions from the SNR, scratch and
// replication volume cursor rows.
//
// SNR volume 40: every flag bit (0x3f), StartLBA 2^32 + 5, BlockCount
// 2^33 + 6, CostCategoryId -1, Type 4. SNR volume 41: flags 0x5 and empty
// texts. Both are scratch volumes of pool 9 (60 locked by job -5, 61 free).
// Client 77 has device 1 (flags 0xf, FilerClientId 7) on volume 40 and
// device 2 (flags 0x2, empty texts) on volume 41; mount points 5 (flags 0x3)
// of device 1 and 6 (flags 0x6) of device 2. Replication volume 70 lies on
// volume 40 with primary volume 6, policy 8, every flag bit and job -2; its
// primary volume carries device 3 of client 88, named as a NAS device of
// client 88; subclient 5 links it.
#pragma once

#include <vector>

#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "rows/SnrFamilyFixture.h"

class CursorSeedTest : public SnrFamilyTest {
protected:
    void SetUp() override
    {
        SnrFamilyTest::SetUp();
        seed();
    }

    // The rows of a fresh cursor of family F.
    template <class F, class... A>
    std::vector<typename F::Row> rowsOf(A... args)
    {
        F cursor(nullptr);
        cursor.setValues(args...);
        return readAll(cursor);
    }

    // Hands the rows of SNR volumes 40 and 41 from each of the three volume
    // cursors (client 77, pool 9, by id) to check40 and check41.
    template <class Check40, class Check41>
    void forEachVolumeCursor(Check40 check40, Check41 check41)
    {
        auto byClient = rowsOf<YBGetSNRVolInfoByClientId>(77);
        ASSERT_EQ(byClient.size(), 2u);
        check40(byClient[0]);
        check41(byClient[1]);
        auto byPool = rowsOf<YBGetSNRVolInfoByPoolId>(9);
        ASSERT_EQ(byPool.size(), 2u);
        check40(byPool[0]);
        check41(byPool[1]);
        YBGetSNRVolumeById byId(nullptr);
        byId.setValues(40, 0);
        ASSERT_EQ(ZXDBReadOne(byId), 0);
        check40(*byId.getDataPtr());
        byId.setValues(41, 0);
        ASSERT_EQ(ZXDBReadOne(byId), 0);
        check41(*byId.getDataPtr());
    }

    void seed()
    {
        exec("INSERT INTO YBPhysicalVolume VALUES (40, 'uid-40', 3, 4, 4294967301, 8589934598, 512, 63, 'ntfs', "
             "'snap-40', 11, 12, -1, 4)");
        exec("INSERT INTO YBPhysicalVolume VALUES (41, 'uid-41', 1, 2, -1, 100, 4096, 5, '', '', 0, 0, 2, 1)");
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (6, 'uid-6')");
        exec("INSERT INTO YBScratchVolume VALUES (60, 40, 9, 16, -5), (61, 41, 9, 0, 0)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, "
             "FilerClientId) VALUES (1, 77, 40, 'dev-1', 15, 'os-1', 'ap-1', 7), (2, 77, 41, 'dev-2', 2, '', '', 1), "
             "(3, 88, 6, 'client88:/vol/vol0', 0, '', '', 1)");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (5, 1, '/mnt/a', 3), "
             "(6, 2, '/mnt/b', 6)");
        exec("INSERT INTO YBVolume VALUES (70, 1, 2, 3, 4, 5, 6, 40, 8, 60, 63, -2, 11, 12, 'dir-70', 'guid-70')");
        exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (5, 70)");
    }
};
