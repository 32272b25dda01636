// Masks, kinds and small members of the SNR volume and device records.
#include "snr/SNRRecords.h"

void SNRVolumeRecordV3_t::SetCostCategoryId(int costCategoryId)
{
    CostCategoryId = costCategoryId;
    UpdateMap |= YB_PVOL_COST_ID;
}

void SNRVolumeDeviceNameV4Record_t::UpdateSNRVolumeId(int snrVolumeId)
{
    SNRVolumeId = snrVolumeId;
    UpdateMap |= YB_DEV_VOL_ID;
}

int32_t GetUpdateMap(const SNRVolumeRecord_t&) { return 0x7f; }
int32_t GetUpdateMap(const SNRVolumeRecord42_t&) { return 0xff; }

int32_t GetUpdateMap(const SNRVolumeRecordV3_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetUpdateMap(const SNRVolumeRecordV4_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetFields(const SNRVolumeRecordV3_t&) { return 0x1fff; }

// Only a NAS volume's StartLBA and BlockCount can be updated.
int32_t GetFields(const SNRVolumeRecordV4_t& record) { return isNasVolume(record) ? 0xffff : 0x3fff; }

bool isNasVolume(const SNRVolumeRecord_t&) { return false; }
bool isNasVolume(const SNRVolumeRecordV3_t&) { return false; }

bool isNasVolume(const SNRVolumeRecordV4_t& record)
{
    return record.VolType >= 2 && record.VolType <= 6;
}

bool GetMorvaneProtected(const SNRVolumeRecord_t&) { return false; }
bool GetMorvaneProtected(const SNRVolumeRecordV3_t& record) { return record.MorvaneProtected; }
int32_t GetMorvaneState(const SNRVolumeRecord_t&) { return 0; }
int32_t GetMorvaneState(const SNRVolumeRecordV3_t& record) { return record.TzState; }

int32_t GetUpdateMap(const SNRVolumeDeviceNameRecord_t&) { return 0x1f; }

int32_t GetUpdateMap(const SNRVolumeDeviceNameV3Record_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetUpdateMap(const SNRVolumeDeviceNameV4Record_t& record)
{
    return record.UpdateMap != 0 ? record.UpdateMap : GetFields(record);
}

int32_t GetFields(const SNRVolumeDeviceNameV3Record_t&) { return 0x1ff; }
int32_t GetFields(const SNRVolumeDeviceNameV4Record_t&) { return 0x3ff; }
