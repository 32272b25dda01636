// The request cases of SNR, each defined at the bottom of its operation's
// file and bound to its request code in snr/SNRCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Device registration (snr/DeviceRegistration.cpp), by message version.
extern const ServedCase AddDeviceCaseV1;
extern const ServedCase AddDeviceCase42;
extern const ServedCase AddDeviceCaseV3;
extern const ServedCase AddDeviceCaseV4;
extern const ServedCase AddDeviceCaseV5;

// SNR volume add (snr/SNRVolumeAdd.cpp), by message version.
extern const ServedCase AddSNRVolumeCaseV1;
extern const ServedCase AddSNRVolumeCase42;
extern const ServedCase AddSNRVolumeCaseV3;
extern const ServedCase AddSNRVolumeCaseV4;

// Device queries (snr/DeviceQueries.cpp), by message version.
extern const ServedCase QuerySNRDeviceCaseV1;
extern const ServedCase QuerySNRDeviceCaseV2;
extern const ServedCase QuerySNRDeviceCaseV3;
extern const ServedCase QuerySNRDeviceCaseV4;
extern const ServedCase QuerySNRVolDevCaseV1;
extern const ServedCase QuerySNRVolDevCaseV2;
extern const ServedCase QuerySNRVolDevCaseV3;
extern const ServedCase QuerySNRVolDevCaseV4;

// Mount points (snr/MountPoints.cpp) and their queries (snr/MountPointQueries.cpp).
extern const ServedCase AddMountPointCase;
extern const ServedCase RemoveMountPointCase;
extern const ServedCase UpdateSNRMountPointCase;
extern const ServedCase QuerySNRVolMntPointsCase;
extern const ServedCase QuerySNRMountPointByIdCase;
extern const ServedCase QuerySNRMountPointByPathCase;
extern const ServedCase QuerySNRMountPointBySNRVolIdCase;

// Global history names (snr/HistoryNames.cpp).
extern const ServedCase AddTzGlobalHistoryNameCase;
extern const ServedCase UpdateTzGlobalHistoryNameCase;
extern const ServedCase DeleteTzGlobalHistoryNameCase;
extern const ServedCase QueryTzGlobalHistoryNameCase;
extern const ServedCase QueryTzGlobalHistoryNameByVolIdCase;

// Volume lists (snr/VolumeLists.cpp) and device maintenance
// (snr/DeviceMaintenance.cpp), by message version.
extern const ServedCase GetSNRVolumesCaseV1;
extern const ServedCase GetSNRVolumesCaseV2;
extern const ServedCase GetSNRVolumesCaseV3;
extern const ServedCase GetSNRVolumesCaseV4;
extern const ServedCase GetSNRInfoByClientAndVolCaseV1;
extern const ServedCase GetSNRInfoByClientAndVolCaseV2;
extern const ServedCase GetSNRInfoByClientAndVolCaseV3;
extern const ServedCase GetSNRInfoByClientAndVolCaseV4;
extern const ServedCase UpdateSNRDeviceCaseV1;
extern const ServedCase UpdateSNRDeviceCaseV3;
extern const ServedCase UpdateSNRDeviceCaseV4;
extern const ServedCase ConfigureDeviceCaseV1;
extern const ServedCase ConfigureDeviceCaseV2;
extern const ServedCase ConfigureDeviceCaseV3;
extern const ServedCase UnconfigureDeviceCase;
