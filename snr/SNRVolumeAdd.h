// Argument and result records of the SNR volume add, one pair per message
// version, and the per-version accessor of its checks.
#pragma once

#include <cstdint>
#include <string>

#include "snr/DeviceMessages.h"
#include "snr/SNRRecords.h"

// The arguments are the SNR volume record of the version.
struct AddSNRVolumeArgs_t : SNRVolumeRecord_t {};
struct AddSNRVolume42Args_t : SNRVolumeRecord42_t {};
struct AddSNRVolumeV3Args_t : SNRVolumeRecordV3_t {};
struct AddSNRVolumeV4Args_t : SNRVolumeRecordV4_t {};

// volumeId is written on success, errCode on every failure.
struct AddSNRVolumeRet_t {
    std::string errMsg;
    int32_t volumeId = 0;
};
struct AddSNRVolume42Ret_t : AddSNRVolumeRet_t {};
struct AddSNRVolumeV3Ret_t : AddSNRVolumeRet_t {
    int32_t errCode = 0;
};
struct AddSNRVolumeV4Ret_t : AddSNRVolumeV3Ret_t {};

// Built zeroed for every add; the checks of versions V3 and V4 capture the
// values they test, versions 1 and 42 have nothing to check.
struct AddVolume_t {
    int32_t ApplianceId = 0;
    bool MorvaneProtected = false;
    int32_t TzState = 0;

    bool IsApplianceIdInvalid(const SNRVolumeRecord_t&) { return false; }
    bool IsApplianceIdInvalid(const SNRVolumeRecordV3_t& volume)
    {
        ApplianceId = volume.ApplianceId;
        return ApplianceId < 0;
    }

    bool IsMorvaneStatusInvalid(const SNRVolumeRecord_t&) { return false; }
    bool IsMorvaneStatusInvalid(const SNRVolumeRecordV3_t& volume)
    {
        MorvaneProtected = volume.MorvaneProtected;
        TzState = volume.TzState;
        return MorvaneProtected && TzState == 0;
    }
};

// Tests the texts of a volume record against the columns of its row, as the
// update conversion does: 0 when every text fits, else the field-mask bit of
// the first one too long, with -18 in code and "... is too long" in text.
template <typename Record>
int CheckVolumeTextLengths(const Record& volume, std::string& text, int32_t& code)
{
    YBPhysicalVolume_t scratch;
    YBDBDst_t<YBPhysicalVolume_t> dst(scratch, text);
    int field = YBSet(dst, volume);
    if (field != 0) code = dst.errCode;
    return field;
}
