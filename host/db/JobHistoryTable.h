// Row and entity class of the job volume history, and the split of a 64-bit
// job id into the two 32-bit halves the catalogue keeps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/db/CRepTableDB.h"

// Splits a job id into its high and low halves; longToDlongDB joins them
// again, so that a split value joins back to itself. The catalogue's JobId
// columns hold the job id the two halves make (JobId_h * 2^32 + the low half
// taken as unsigned).
inline void dLongToLongDB(long long value, int& high, int& low)
{
    unsigned long long bits = static_cast<unsigned long long>(value);
    high = static_cast<int>(static_cast<uint32_t>(bits >> 32));
    low = static_cast<int>(static_cast<uint32_t>(bits));
}

inline void longToDlongDB(long long& value, int high, int low)
{
    unsigned long long bits = (static_cast<unsigned long long>(static_cast<uint32_t>(high)) << 32) |
                              static_cast<uint32_t>(low);
    value = static_cast<long long>(bits);
}

// Table YBJobVolumeHistory: which source volume a job copied to which
// destination volume. Only the low half of the job id is a field of its own
// (JobId_l); JobId_h is 0 unless set.
struct YBJobVolumeHistory_t {
    int32_t id = 0;
    int32_t JobId_l = 0;
    int32_t CellId = 0;
    int32_t SrcVolId = 0;
    int32_t SrcClientId = 0;
    char SrcClientName[256] = {};
    int64_t SrcBlockCount = 0;
    int32_t SrcBlockSize = 0;
    char SrcDeviceName[1025] = {};
    int32_t DstVolId = 0;
    int32_t DstClientId = 0;
    char DstClientName[256] = {};
    int64_t DstBlockCount = 0;
    int32_t DstBlockSize = 0;
    char DstDeviceName[1025] = {};
    int32_t DstCostCategoryId = 0;
    int32_t FurtherNumber1 = 0;
    int64_t FurtherNumber2 = 0;
    int32_t JobId_h = 0;
    int32_t Further[2] = {};  // not stored
    int32_t CopyMgrType = 0;
    int64_t SpaceUsed = 0;
};

extern const DBEntityTable kYBJobVolumeHistoryTable;

class CYBJobVolumeHistoryDB : public CRepTableDB<YBJobVolumeHistory_t> {
public:
    CYBJobVolumeHistoryDB() : CRepTableDB(kYBJobVolumeHistoryTable) {}
};
