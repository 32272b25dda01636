// Which record version of SNR volumes, devices and scratch volumes each
// message version of an operation carries. Message versions are written as
// their type-name suffix: 1 (none), 42, 2 to 6 (V2 to V6) and 80; record
// versions as 1, 42, 2, 3, 4 and 0 where the message carries no such record.
#pragma once

#include "snr/SNRRecords.h"

enum class SNRMsgOperation {
    AddDevice,
    AddSNRVolume,
    UpdateSNRVolume,
    QueryVolInfo,
    QuerySNRVolume,
    QuerySNRVolume2,
    GetSNRVolumes,
    GetSNRInfoByClientAndVol,
    UpdateSNRDevice,
    ConfigureDevice,
    QuerySNRDevice,
    QuerySNRVolDev,
    CreatePermanentReplica,
    QueryScratchVolInfo,
    BrowseByClientId,
    BrowseByPolicyId
};

struct SNRMsgRecordVersions {
    SNRMsgOperation operation;
    int messageVersion;
    int volumeRecord;   // SNR volume record version, 0 for none
    int deviceRecord;   // device record version, 0 for none
    int scratchRecord;  // scratch volume record version, 0 for none
};

constexpr SNRMsgRecordVersions kSNRMsgRecordVersions[] = {
    {SNRMsgOperation::AddDevice, 1, 1, 1, 0},
    {SNRMsgOperation::AddDevice, 42, 42, 1, 0},
    {SNRMsgOperation::AddDevice, 3, 3, 2, 0},
    {SNRMsgOperation::AddDevice, 4, 4, 3, 0},
    {SNRMsgOperation::AddDevice, 5, 4, 4, 0},
    {SNRMsgOperation::AddSNRVolume, 1, 1, 0, 0},
    {SNRMsgOperation::AddSNRVolume, 42, 42, 0, 0},
    {SNRMsgOperation::AddSNRVolume, 3, 3, 0, 0},
    {SNRMsgOperation::AddSNRVolume, 4, 4, 0, 0},
    {SNRMsgOperation::UpdateSNRVolume, 1, 1, 0, 0},
    {SNRMsgOperation::UpdateSNRVolume, 42, 42, 0, 0},
    {SNRMsgOperation::UpdateSNRVolume, 3, 3, 0, 0},
    {SNRMsgOperation::UpdateSNRVolume, 4, 4, 0, 0},
    {SNRMsgOperation::QueryVolInfo, 1, 1, 1, 1},
    {SNRMsgOperation::QueryVolInfo, 42, 42, 1, 1},
    {SNRMsgOperation::QueryVolInfo, 3, 3, 2, 1},
    {SNRMsgOperation::QueryVolInfo, 4, 4, 3, 2},
    {SNRMsgOperation::QueryVolInfo, 5, 4, 3, 2},
    {SNRMsgOperation::QueryVolInfo, 6, 4, 4, 2},
    {SNRMsgOperation::QuerySNRVolume, 1, 1, 0, 1},
    {SNRMsgOperation::QuerySNRVolume, 42, 42, 0, 1},
    {SNRMsgOperation::QuerySNRVolume, 3, 3, 0, 1},
    {SNRMsgOperation::QuerySNRVolume, 4, 4, 0, 2},
    {SNRMsgOperation::QuerySNRVolume, 5, 4, 0, 2},
    {SNRMsgOperation::QuerySNRVolume2, 1, 1, 0, 1},
    {SNRMsgOperation::QuerySNRVolume2, 42, 42, 0, 1},
    {SNRMsgOperation::QuerySNRVolume2, 3, 3, 0, 1},
    {SNRMsgOperation::QuerySNRVolume2, 4, 4, 0, 2},
    {SNRMsgOperation::QuerySNRVolume2, 5, 4, 0, 2},
    {SNRMsgOperation::GetSNRVolumes, 1, 42, 1, 0},
    {SNRMsgOperation::GetSNRVolumes, 2, 3, 2, 0},
    {SNRMsgOperation::GetSNRVolumes, 3, 4, 3, 0},
    {SNRMsgOperation::GetSNRVolumes, 4, 4, 4, 0},
    {SNRMsgOperation::GetSNRInfoByClientAndVol, 1, 42, 1, 0},
    {SNRMsgOperation::GetSNRInfoByClientAndVol, 2, 3, 2, 0},
    {SNRMsgOperation::GetSNRInfoByClientAndVol, 3, 4, 3, 0},
    {SNRMsgOperation::GetSNRInfoByClientAndVol, 4, 4, 4, 0},
    {SNRMsgOperation::UpdateSNRDevice, 1, 0, 1, 0},
    {SNRMsgOperation::UpdateSNRDevice, 3, 0, 3, 0},
    {SNRMsgOperation::UpdateSNRDevice, 4, 0, 4, 0},
    {SNRMsgOperation::ConfigureDevice, 1, 0, 2, 0},
    {SNRMsgOperation::ConfigureDevice, 2, 0, 3, 0},
    {SNRMsgOperation::ConfigureDevice, 3, 0, 4, 0},
    {SNRMsgOperation::QuerySNRDevice, 1, 0, 1, 0},
    {SNRMsgOperation::QuerySNRDevice, 2, 0, 2, 0},
    {SNRMsgOperation::QuerySNRDevice, 3, 0, 3, 0},
    {SNRMsgOperation::QuerySNRDevice, 4, 0, 4, 0},
    {SNRMsgOperation::QuerySNRVolDev, 1, 0, 1, 0},
    {SNRMsgOperation::QuerySNRVolDev, 2, 0, 2, 0},
    {SNRMsgOperation::QuerySNRVolDev, 3, 0, 3, 0},
    {SNRMsgOperation::QuerySNRVolDev, 4, 0, 4, 0},
    {SNRMsgOperation::CreatePermanentReplica, 1, 1, 0, 0},
    {SNRMsgOperation::CreatePermanentReplica, 42, 42, 0, 0},
    {SNRMsgOperation::CreatePermanentReplica, 3, 3, 0, 0},
    {SNRMsgOperation::CreatePermanentReplica, 4, 4, 0, 0},
    {SNRMsgOperation::QueryScratchVolInfo, 1, 1, 1, 1},
    {SNRMsgOperation::QueryScratchVolInfo, 42, 42, 1, 1},
    {SNRMsgOperation::QueryScratchVolInfo, 3, 3, 2, 1},
    {SNRMsgOperation::QueryScratchVolInfo, 4, 4, 3, 2},
    {SNRMsgOperation::QueryScratchVolInfo, 5, 4, 3, 2},
    {SNRMsgOperation::QueryScratchVolInfo, 6, 4, 4, 2},
    {SNRMsgOperation::BrowseByClientId, 1, 4, 3, 0},
    {SNRMsgOperation::BrowseByClientId, 2, 4, 4, 0},
    {SNRMsgOperation::BrowseByPolicyId, 1, 4, 3, 0},
    {SNRMsgOperation::BrowseByPolicyId, 2, 4, 4, 0},
};

// The row of an operation's message version; null when the operation has
// no such message version.
constexpr const SNRMsgRecordVersions* FindSNRMsgRecordVersions(SNRMsgOperation operation, int messageVersion)
{
    for (const SNRMsgRecordVersions& entry : kSNRMsgRecordVersions) {
        if (entry.operation == operation && entry.messageVersion == messageVersion) return &entry;
    }
    return nullptr;
}

// Record types by record version.
template <int Version>
struct SNRVolumeRecordOf;
template <>
struct SNRVolumeRecordOf<1> { using type = SNRVolumeRecord_t; using wire = repSNRVolume; };
template <>
struct SNRVolumeRecordOf<42> { using type = SNRVolumeRecord42_t; using wire = repSNRVolume42; };
template <>
struct SNRVolumeRecordOf<3> { using type = SNRVolumeRecordV3_t; using wire = repSNRVolumeV3; };
template <>
struct SNRVolumeRecordOf<4> { using type = SNRVolumeRecordV4_t; using wire = repSNRVolumeV4; };

template <int Version>
struct SNRDeviceRecordOf;
template <>
struct SNRDeviceRecordOf<1> { using type = SNRVolumeDeviceNameRecord_t; using wire = repSNRVolumeDeviceName; };
template <>
struct SNRDeviceRecordOf<2> { using type = SNRVolumeDeviceNameV2Record_t; using wire = repSNRVolumeDeviceNameV2; };
template <>
struct SNRDeviceRecordOf<3> { using type = SNRVolumeDeviceNameV3Record_t; using wire = repSNRVolumeDeviceNameV3; };
template <>
struct SNRDeviceRecordOf<4> { using type = SNRVolumeDeviceNameV4Record_t; using wire = repSNRVolumeDeviceNameV4; };

// The SNR volume and device record types of an operation's message version,
// for handler templates written once for every version.
template <SNRMsgOperation Operation, int MessageVersion>
struct SNRMsgRecords {
    static constexpr const SNRMsgRecordVersions* entry = FindSNRMsgRecordVersions(Operation, MessageVersion);
    static_assert(entry != nullptr, "the operation has no such message version");
    static constexpr int volumeVersion = entry->volumeRecord;
    static constexpr int deviceVersion = entry->deviceRecord;
    static constexpr int scratchVersion = entry->scratchRecord;
};

template <SNRMsgOperation Operation, int MessageVersion>
using SNRVolumeRecordFor = typename SNRVolumeRecordOf<SNRMsgRecords<Operation, MessageVersion>::volumeVersion>::type;

template <SNRMsgOperation Operation, int MessageVersion>
using SNRDeviceRecordFor = typename SNRDeviceRecordOf<SNRMsgRecords<Operation, MessageVersion>::deviceVersion>::type;
