// The request codes of SNR devices and volumes and the case that answers each.
#include "service/ServedCases.h"
#include "snr/SNRCases.h"

void BindSNRCases(CaseRegistry& cases)
{
    // Device registration: message versions 1, 42, V3, V4, V5.
    cases.bind(0x35000001, AddDeviceCaseV1);
    cases.bind(0x350000ab, AddDeviceCase42);
    cases.bind(0x350000ef, AddDeviceCaseV3);
    cases.bind(0x35000155, AddDeviceCaseV4);
    cases.bind(0x35000206, AddDeviceCaseV5);

    // SNR volume add: message versions 1, 42, V3, V4.
    cases.bind(0x35000071, AddSNRVolumeCaseV1);
    cases.bind(0x350000b3, AddSNRVolumeCase42);
    cases.bind(0x350000f5, AddSNRVolumeCaseV3);
    cases.bind(0x35000165, AddSNRVolumeCaseV4);

    // SNR volume update: message versions 1, 42, V3, V4.
    cases.bind(0x35000005, UpdateSNRVolumeCaseV1);
    cases.bind(0x350000ad, UpdateSNRVolumeCase42);
    cases.bind(0x350000f1, UpdateSNRVolumeCaseV3);
    cases.bind(0x35000157, UpdateSNRVolumeCaseV4);

    // Device queries by id and by SNR volume: message versions 1, V2, V3, V4.
    cases.bind(0x35000069, QuerySNRDeviceCaseV1);
    cases.bind(0x350000fd, QuerySNRDeviceCaseV2);
    cases.bind(0x350001a9, QuerySNRDeviceCaseV3);
    cases.bind(0x3500020e, QuerySNRDeviceCaseV4);
    cases.bind(0x35000059, QuerySNRVolDevCaseV1);
    cases.bind(0x350000fb, QuerySNRVolDevCaseV2);
    cases.bind(0x350001a7, QuerySNRVolDevCaseV3);
    cases.bind(0x3500020c, QuerySNRVolDevCaseV4);

    // Mount points: add, removal, update and the queries.
    cases.bind(0x35000009, AddMountPointCase);
    cases.bind(0x35000007, RemoveMountPointCase);
    cases.bind(0x35000075, UpdateSNRMountPointCase);
    cases.bind(0x3500005b, QuerySNRVolMntPointsCase);
    cases.bind(0x3500006b, QuerySNRMountPointByIdCase);
    cases.bind(0x3500006d, QuerySNRMountPointByPathCase);
    cases.bind(0x35000079, QuerySNRMountPointBySNRVolIdCase);

    // Global history names of protected volumes.
    cases.bind(0x3500010b, AddTzGlobalHistoryNameCase);
    cases.bind(0x3500010d, UpdateTzGlobalHistoryNameCase);
    cases.bind(0x3500010f, DeleteTzGlobalHistoryNameCase);
    cases.bind(0x35000111, QueryTzGlobalHistoryNameCase);
    cases.bind(0x35000113, QueryTzGlobalHistoryNameByVolIdCase);

    // Volume lists: every SNR volume, and one client's volume; message
    // versions 1, V2, V3, V4. Device maintenance: update (1, V3, V4),
    // configure (1, V2, V3) and unconfigure.
    cases.bind(0x3500009f, GetSNRVolumesCaseV1);
    cases.bind(0x350000f7, GetSNRVolumesCaseV2);
    cases.bind(0x35000167, GetSNRVolumesCaseV3);
    cases.bind(0x35000210, GetSNRVolumesCaseV4);
    cases.bind(0x350000a9, GetSNRInfoByClientAndVolCaseV1);
    cases.bind(0x350000f9, GetSNRInfoByClientAndVolCaseV2);
    cases.bind(0x35000169, GetSNRInfoByClientAndVolCaseV3);
    cases.bind(0x35000212, GetSNRInfoByClientAndVolCaseV4);
    cases.bind(0x350000b9, UpdateSNRDeviceCaseV1);
    cases.bind(0x350001ad, UpdateSNRDeviceCaseV3);
    cases.bind(0x35000214, UpdateSNRDeviceCaseV4);
    cases.bind(0x350000ff, ConfigureDeviceCaseV1);
    cases.bind(0x350001ab, ConfigureDeviceCaseV2);
    cases.bind(0x35000216, ConfigureDeviceCaseV3);
    cases.bind(0x35000101, UnconfigureDeviceCase);

    // Volume inventory of a client: 1, 42, V3 to V6; SNR volume by id and SNR
    // volume with its replicas: 1, 42, V3 to V5.
    cases.bind(0x3500000b, QueryVolInfoCaseV1);
    cases.bind(0x35000095, QueryVolInfoCase42);
    cases.bind(0x350000e7, QueryVolInfoCaseV3);
    cases.bind(0x35000159, QueryVolInfoCaseV4);
    cases.bind(0x350001b3, QueryVolInfoCaseV5);
    cases.bind(0x35000208, QueryVolInfoCaseV6);
    cases.bind(0x35000057, QuerySNRVolumeCaseV1);
    cases.bind(0x35000099, QuerySNRVolumeCase42);
    cases.bind(0x350000eb, QuerySNRVolumeCaseV3);
    cases.bind(0x3500015f, QuerySNRVolumeCaseV4);
    cases.bind(0x350001bf, QuerySNRVolumeCaseV5);
    cases.bind(0x3500006f, QuerySNRVolume2CaseV1);
    cases.bind(0x3500009b, QuerySNRVolume2Case42);
    cases.bind(0x350000ed, QuerySNRVolume2CaseV3);
    cases.bind(0x35000163, QuerySNRVolume2CaseV4);
    cases.bind(0x350001c3, QuerySNRVolume2CaseV5);

    // Reservation: reserve (V1, V2), unreserve; allocation and its reversal.
    cases.bind(0x35000067, ReserveSNRVolumesCaseV1);
    cases.bind(0x350001b1, ReserveSNRVolumesCaseV2);
    cases.bind(0x3500007d, UnreserveSNRVolumesCase);
    cases.bind(0x350000bb, AllocateSNRVolumesCase);
    cases.bind(0x350000bd, DeallocateSNRVolumesCase);
}
