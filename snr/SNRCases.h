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

// SNR volume update (snr/SNRVolumeUpdate.cpp), by message version.
extern const ServedCase UpdateSNRVolumeCaseV1;
extern const ServedCase UpdateSNRVolumeCase42;
extern const ServedCase UpdateSNRVolumeCaseV3;
extern const ServedCase UpdateSNRVolumeCaseV4;

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

// Volume inventory of a client (snr/VolumeInventory.cpp), SNR volume by id
// (snr/SNRVolumeById.cpp) and SNR volume with its replicas
// (snr/SNRVolumeReplicas.cpp), by message version.
extern const ServedCase QueryVolInfoCaseV1;
extern const ServedCase QueryVolInfoCase42;
extern const ServedCase QueryVolInfoCaseV3;
extern const ServedCase QueryVolInfoCaseV4;
extern const ServedCase QueryVolInfoCaseV5;
extern const ServedCase QueryVolInfoCaseV6;
extern const ServedCase QuerySNRVolumeCaseV1;
extern const ServedCase QuerySNRVolumeCase42;
extern const ServedCase QuerySNRVolumeCaseV3;
extern const ServedCase QuerySNRVolumeCaseV4;
extern const ServedCase QuerySNRVolumeCaseV5;
extern const ServedCase QuerySNRVolume2CaseV1;
extern const ServedCase QuerySNRVolume2Case42;
extern const ServedCase QuerySNRVolume2CaseV3;
extern const ServedCase QuerySNRVolume2CaseV4;
extern const ServedCase QuerySNRVolume2CaseV5;

// Reservation and allocation of SNR volumes (snr/VolumeReservation.cpp).
extern const ServedCase ReserveSNRVolumesCaseV1;
extern const ServedCase ReserveSNRVolumesCaseV2;
extern const ServedCase UnreserveSNRVolumesCase;
extern const ServedCase AllocateSNRVolumesCase;
extern const ServedCase DeallocateSNRVolumesCase;
