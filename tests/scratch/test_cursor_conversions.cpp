#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "rows/Db/Cursor/YBGetSNRVolInfoByClientId.h"
#include "rows/Db/Cursor/YBGetSNRVolInfoByPoolId.h"
#include "rows/Db/Cursor/YBGetSNRVolumeById.h"
#include "scratch/ScratchRecords.h"
#include "snr/CursorSeedFixture.h"

namespace {

class ScratchCursorConversions : public CursorSeedTest {};

// The scratch volume on SNR volume 40: 60 of pool 9, locked by job -5; its
// Flags (RVFlags 16) are not carried.
template <class Row>
void expectScratch60(const Row& row)
{
    RVScratchVolumeRecord_t v1;
    YBSet(v1, row);
    EXPECT_EQ(v1.id, 60);
    EXPECT_EQ(v1.PhysicalVolumeId, 40);
    EXPECT_EQ(v1.RVScratchVolumePoolId, 9);

    RVScratchVolumeV2Record_t v2;
    YBSet(v2, row);
    EXPECT_EQ(v2.id, 60);
    EXPECT_EQ(v2.PhysicalVolumeId, 40);
    EXPECT_EQ(v2.RVScratchVolumePoolId, 9);
    EXPECT_EQ(v2.LockedByJobId, -5);  // widened with its sign
}

}  // namespace

TEST_F(ScratchCursorConversions, ScratchRecordsFromTheThreeVolumeCursors)
{
    forEachVolumeCursor([](const auto& row) { expectScratch60(row); },
                        [](const auto& row) {
                            RVScratchVolumeV2Record_t v2;
                            YBSet(v2, row);
                            EXPECT_EQ(v2.id, 61);
                            EXPECT_EQ(v2.PhysicalVolumeId, 41);
                            EXPECT_EQ(v2.LockedByJobId, 0);
                        });

    YBGetSNRVolumeById byId(nullptr);
    // SNR volume 6 is no scratch volume: its scratch columns read as 0.
    byId.setValues(6, 0);
    ASSERT_EQ(ZXDBReadOne(byId), 0);
    RVScratchVolumeV2Record_t none;
    YBSet(none, *byId.getDataPtr());
    EXPECT_EQ(none.id, 0);
    EXPECT_EQ(none.PhysicalVolumeId, 0);
    EXPECT_EQ(none.LockedByJobId, 0);
}

TEST_F(ScratchCursorConversions, ListsFromTheClientAndPoolCursors)
{
    std::vector<RVScratchVolumeV2Record_t> locked;
    for (const auto& row : rowsOf<YBGetSNRVolInfoByPoolId>(9)) YBSet(locked, row);
    ASSERT_EQ(locked.size(), 2u);
    repRVScratchVolumeV2* array = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&array, locked));
    EXPECT_EQ(array[0].id, 60u);
    EXPECT_EQ(array[0].LockedByJobId, -5);
    EXPECT_EQ(array[1].id, 61u);
    EXPECT_EQ(array[1].PhysicalVolumeId, 41u);
    EXPECT_EQ(array[1].LockedByJobId, 0);
    free(array);

    std::vector<RVScratchVolumeRecord_t> plain;
    for (const auto& row : rowsOf<YBGetSNRVolInfoByClientId>(77)) YBSet(plain, row);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].id, 60);
    EXPECT_EQ(plain[1].id, 61);
    EXPECT_EQ(plain[1].RVScratchVolumePoolId, 9);
}
