// Argument and result records and the request and reply structures of the
// device queries: one device by its id, and the devices of one SNR volume
// (four message versions each).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "snr/SNRRecords.h"

// ---- Arguments and results ----------------------------------------------------

struct QuerySNRDeviceNameArgs_t {
    int32_t DeviceId = -1;
};
struct QuerySNRDeviceNameV2Args_t : QuerySNRDeviceNameArgs_t {};
struct QuerySNRDeviceNameV3Args_t : QuerySNRDeviceNameArgs_t {};
struct QuerySNRDeviceNameV4Args_t : QuerySNRDeviceNameArgs_t {};

// A failed query leaves the device as constructed; version 1 has no code.
template <typename Device>
struct QuerySNRDeviceNameRetOf {
    std::string errMsg;
    Device device;
};
struct QuerySNRDeviceNameRet_t : QuerySNRDeviceNameRetOf<SNRVolumeDeviceNameRecord_t> {};
struct QuerySNRDeviceNameV2Ret_t : QuerySNRDeviceNameRetOf<SNRVolumeDeviceNameV2Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRDeviceNameV3Ret_t : QuerySNRDeviceNameRetOf<SNRVolumeDeviceNameV3Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRDeviceNameV4Ret_t : QuerySNRDeviceNameRetOf<SNRVolumeDeviceNameV4Record_t> {
    int32_t errCode = 0;
};

struct QuerySNRVolDevNameBySNRVolIdArgs_t {
    int32_t SNRVolumeId = -1;
};
struct QuerySNRVolDevNameBySNRVolIdV2Args_t {
    explicit QuerySNRVolDevNameBySNRVolIdV2Args_t(int32_t snrVolumeId = -1) : SNRVolumeId(snrVolumeId) {}
    int32_t SNRVolumeId;
};
struct QuerySNRVolDevNameBySNRVolIdV3Args_t : QuerySNRVolDevNameBySNRVolIdArgs_t {};
struct QuerySNRVolDevNameBySNRVolIdV4Args_t : QuerySNRVolDevNameBySNRVolIdArgs_t {};

// The devices of the volume in ascending id order; empty after a failure.
template <typename Device>
struct QuerySNRVolDevNameRetOf {
    std::string errMsg;
    std::vector<Device> devices;
};
struct QuerySNRVolDevNameBySNRVolIdRet_t : QuerySNRVolDevNameRetOf<SNRVolumeDeviceNameRecord_t> {};
struct QuerySNRVolDevNameBySNRVolIdV2Ret_t : QuerySNRVolDevNameRetOf<SNRVolumeDeviceNameV2Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolDevNameBySNRVolIdV3Ret_t : QuerySNRVolDevNameRetOf<SNRVolumeDeviceNameV3Record_t> {
    int32_t errCode = 0;
};
struct QuerySNRVolDevNameBySNRVolIdV4Ret_t : QuerySNRVolDevNameRetOf<SNRVolumeDeviceNameV4Record_t> {
    int32_t errCode = 0;
};

// ---- Requests -------------------------------------------------------------------

struct repQuerySNRDeviceByIdReq {
    int32_t DeviceId;
};
struct repQuerySNRDeviceByIdV2Req : repQuerySNRDeviceByIdReq {};
struct repQuerySNRDeviceByIdV3Req : repQuerySNRDeviceByIdReq {};
struct repQuerySNRDeviceByIdV4Req : repQuerySNRDeviceByIdReq {};

struct repQuerySNRVolDevsBySNRVolIdReq {
    int32_t SNRVolumeId;
};
struct repQuerySNRVolDevsBySNRVolIdV2Req : repQuerySNRVolDevsBySNRVolIdReq {};
struct repQuerySNRVolDevsBySNRVolIdV3Req : repQuerySNRVolDevsBySNRVolIdReq {};
struct repQuerySNRVolDevsBySNRVolIdV4Req : repQuerySNRVolDevsBySNRVolIdReq {};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) ---------

// The device is filled on success only.
struct repQuerySNRDeviceByIdResp {
    int32_t status;
    char* errMsg;
    repSNRVolumeDeviceName device;
};
struct repQuerySNRDeviceByIdV2Resp {
    int32_t status;
    char* errMsg;
    repSNRVolumeDeviceNameV2 device;
    int32_t errCode;
};
struct repQuerySNRDeviceByIdV3Resp {
    int32_t status;
    char* errMsg;
    repSNRVolumeDeviceNameV3 device;
    int32_t errCode;
};
struct repQuerySNRDeviceByIdV4Resp {
    int32_t status;
    char* errMsg;
    repSNRVolumeDeviceNameV4 device;
    int32_t errCode;
};

// The array holds count devices; it is null exactly when count is 0.
struct repQuerySNRVolDevsBySNRVolIdResp {
    int32_t status;
    char* errMsg;
    int32_t count;
    repSNRVolumeDeviceName* devices;
};
struct repQuerySNRVolDevsBySNRVolIdV2Resp {
    int32_t status;
    char* errMsg;
    int32_t count;
    repSNRVolumeDeviceNameV2* devices;
    int32_t errCode;
};
struct repQuerySNRVolDevsBySNRVolIdV3Resp {
    int32_t status;
    char* errMsg;
    int32_t count;
    repSNRVolumeDeviceNameV3* devices;
    int32_t errCode;
};
struct repQuerySNRVolDevsBySNRVolIdV4Resp {
    int32_t status;
    char* errMsg;
    int32_t count;
    repSNRVolumeDeviceNameV4* devices;
    int32_t errCode;
};
