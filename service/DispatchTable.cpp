// The request dispatch table: one entry per served request code, in code order,
// and a slot index over the 598 codes from kFirstRequestCode, built at compile
// time. The data is constant; the lookups are safe from any thread.
//
// Notes on the entries:
//  - Codes sharing one operation but not one handler template carry the
//    message version their request and reply use: QueryPermanentReplica
//    (V1, 42, V3), QueryRepSetLastestCP (V1, V2, V3), CreateConsistentDBRecord
//    (V1, V2 snapshot records), RemoveScratchPoolHandler and
//    QueryMountedSnapsHandler (V1, 70), QueryRPByDstClientIdAndVolNameHandler
//    (V1, V2). Other inline and plain handler cases have no version.
//  - Inline cases name only their reply type; plain handlers pick their types
//    themselves, so both type fields are empty there.
//  - 0x3500003f, 0x35000043 and 0x35000045 are answered by their operations,
//    with the reply codes given here; they have no reply type in post.
//  - 0x35000228 and 0x35000248 are one case of post that replies by the code.

#include "service/DispatchTable.h"

#include <cstddef>

namespace {

constexpr DispatchEntry kEntries[] = {
    {0x35000001, 0x35000002, CaseKind::Handler, "V1", "AddDeviceHandler", 3, "repAddSNRDeviceReq", "repAddSNRDeviceResponse"},
    {0x35000003, 0x35000004, CaseKind::InlineTran, "", "DeleteSNRDevice", 3, "", "repDeleteSNRDeviceResponse"},
    {0x35000005, 0x35000006, CaseKind::Handler, "V1", "UpdateSNRVolumeHandler", 3, "repUpdateSNRVolumeReq", "repUpdateSNRVolumeResponse"},
    {0x35000007, 0x35000008, CaseKind::InlineTran, "", "DeleteMountPoint", 3, "", "repRemoveMountPointResponse"},
    {0x35000009, 0x3500000a, CaseKind::InlineTran, "", "AddMountPoint", 3, "", "repAddMountPointResponse"},
    {0x3500000b, 0x3500000c, CaseKind::Handler, "V1", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientIdReq", "repQuerySNRDeviceByClientIdResponse"},
    {0x3500000d, 0x3500000e, CaseKind::Handler, "V1", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolIdReq", "repQueryRVScratchVolumeByScratchPoolIdResponse"},
    {0x3500000f, 0x35000010, CaseKind::Handler, "V1", "GetRVScratchVolPoolListHandler", 4, "", "repGetRVScratchVolumePoolListResponse"},
    {0x35000011, 0x35000012, CaseKind::Handler, "V1", "AddRVScratchVolPoolHandler", 4, "repAddRVScratchVolumePoolReq", "repAddRVScratchVolumePoolResponse"},
    {0x35000013, 0x35000014, CaseKind::PlainHandler, "V1", "RemoveScratchPoolHandler", 4, "", ""},
    {0x35000015, 0x35000016, CaseKind::InlineTran, "", "AddRVScratchVol", 4, "", "repAddRVScratchVolumeResponse"},
    {0x35000017, 0x35000018, CaseKind::InlineTran, "", "RemoveRVScratchVol", 4, "", "repRemoveRVScratchVolumeResponse"},
    {0x35000019, 0x3500001a, CaseKind::Handler, "V1", "ReleaseRVScratchVolHandler", 4, "repReleaseRVScratchVolumeReq", "repReleaseRVScratchVolumeResponse"},
    {0x3500001b, 0x3500001c, CaseKind::Handler, "V1", "QueryRVScratchVolPoolHandler", 4, "repQueryRVScratchVolPoolReq", "repQueryRVScratchVolPoolResponse"},
    {0x3500001d, 0x3500001e, CaseKind::Handler, "V1", "UpdateRVScratchVolPoolHandler", 4, "repUpdateRVScratchVolPoolReq", "repUpdateRVScratchVolPoolResp"},
    {0x3500001f, 0x35000020, CaseKind::Handler, "V1", "AddReplicationPolicyHandler", 6, "repAddReplicationPolicyReq", "repAddReplicationPolicyResp"},
    {0x35000021, 0x35000022, CaseKind::Handler, "V1", "QueryReplicationPolicyHandler", 6, "repQueryReplicationPolicyByIdReq", "repQueryReplicationPolicyByIdResp"},
    {0x35000023, 0x35000024, CaseKind::InlineTran, "", "RemoveReplicationPolicy", 6, "", "repRemoveReplicationPolicyResp"},
    {0x35000025, 0x35000026, CaseKind::Handler, "V1", "UpdateReplicationPolicyHandler", 6, "repUpdateReplicationPolicyReq", "repUpdateReplicationPolicyResp"},
    {0x35000027, 0x35000028, CaseKind::Handler, "V1", "GetReplicationPolicyListHandler", 6, "", "repGetReplicationPolicyListResp"},
    {0x35000029, 0x3500002a, CaseKind::Handler, "V1", "AddSnapEngineInfoHandler", 6, "repAddSnapEngineInfoReq", "repAddSnapEngineInfoResp"},
    {0x3500002b, 0x3500002c, CaseKind::Handler, "V1", "QuerySnapEngineInfoHandler", 6, "repQuerySnapEngineInfoByIdReq", "repQuerySnapEngineInfoByIdResp"},
    {0x3500002d, 0x3500002e, CaseKind::InlineTran, "", "RemoveSnapEngineInfo", 6, "", "repRemoveSnapEngineInfoResp"},
    {0x3500002f, 0x35000030, CaseKind::Handler, "V1", "UpdateSnapEngineInfoHandler", 6, "repUpdateSnapEngineInfoReq", "repUpdateSnapEngineInfoResp"},
    {0x35000031, 0x35000032, CaseKind::Handler, "V1", "GetSnapEngineInfoListHandler", 6, "", "repGetSnapEngineInfoListResp"},
    {0x35000033, 0x35000034, CaseKind::Handler, "V1", "AddVolSnapParamsHandler", 6, "repAddVolSnapParamsReq", "repAddVolSnapParamsResp"},
    {0x35000035, 0x35000036, CaseKind::Handler, "V1", "QueryVolSnapParamsHandler", 6, "repQueryVolSnapParamsBySNRVolReq", "repQueryVolSnapParamsBySNRVolResp"},
    {0x35000037, 0x35000038, CaseKind::InlineTran, "", "RemoveVolSnapParam", 6, "", "repRemoveVolSnapParamsResp"},
    {0x35000039, 0x3500003a, CaseKind::Handler, "V1", "UpdateVolSnapParamHandler", 6, "repUpdateVolSnapParamsReq", "repUpdateVolSnapParamsResp"},
    {0x3500003b, 0x3500003c, CaseKind::Handler, "V1", "GetVolSnapParamsListHandler", 6, "", "repGetVolSnapParamsListResp"},
    {0x3500003d, 0x3500003e, CaseKind::Handler, "V1", "GetLatestRepVolByPrimaryIdHandler", 5, "repGetLatestSnapForSNRVolReq", "repGetLatestSnapForSNRVolResp"},
    {0x3500003f, 0x35000040, CaseKind::Inline, "", "GetApplicationDirsBySubclientIdAndTime", 5, "", ""},
    {0x35000043, 0x35000044, CaseKind::Inline, "", "GetApplicationDirsByClientIdAndTime", 5, "", ""},
    {0x35000045, 0x35000046, CaseKind::Inline, "", "CreateApplicationDirsRecords", 5, "", ""},
    {0x35000047, 0x35000048, CaseKind::Handler, "V1", "AddReplicationVolumeHandler", 5, "repAddReplicationVolumeReq", "repAddReplicationVolumeResp"},
    {0x35000049, 0x35000050, CaseKind::Handler, "V1", "QueryReplicationVolumeHandler", 5, "repQueryReplicationVolumeByIdReq", "repQueryReplicationVolumeByIdResp"},
    {0x35000051, 0x35000052, CaseKind::InlineTran, "", "RemoveReplicationVolume", 5, "", "repRemoveReplicationVolumeResp"},
    {0x35000053, 0x35000054, CaseKind::Handler, "V1", "UpdateReplicationVolumeHandler", 5, "repUpdateReplicationVolumeReq", "repUpdateReplicationVolumeResp"},
    {0x35000055, 0x35000056, CaseKind::Handler, "V1", "GetReplicationVolumeListHandler", 5, "", "repGetReplicationVolumeListResp"},
    {0x35000057, 0x35000058, CaseKind::Handler, "V1", "QuerySNRVolumeHandler", 3, "repQuerySNRVolByIdReq", "repQuerySNRVolByIdResp"},
    {0x35000059, 0x3500005a, CaseKind::Handler, "V1", "QuerySNRVolDevHandler", 3, "repQuerySNRVolDevsBySNRVolIdReq", "repQuerySNRVolDevsBySNRVolIdResp"},
    {0x3500005b, 0x3500005c, CaseKind::Inline, "", "QuerySNRVolMountPoint", 3, "", "repQuerySNRVolMntPointsBySNRVolDevIdResp"},
    {0x3500005d, 0x3500005e, CaseKind::InlineTran, "", "CleanupByClientId", 8, "", "repCleanupByclientIdResp"},
    {0x3500005f, 0x35000060, CaseKind::Handler, "V1", "CreatePermanentReplicaHandler", 5, "repCreatePermanentReplicaReq", "repCreatePermanentReplicaResp"},
    {0x35000061, 0x35000062, CaseKind::Inline, "V1", "QueryPermanentReplica", 5, "", "repQueryPermanentReplicaResp"},
    {0x35000063, 0x35000064, CaseKind::InlineTran, "", "DeletePermanentReplica", 5, "", "repDeletePermanentReplicaResp"},
    {0x35000065, 0x35000066, CaseKind::Inline, "", "GetAvailSNRVolByPoolId", 4, "", "repGetAvailVolumeFromPoolResp"},
    {0x35000067, 0x35000068, CaseKind::Handler, "V1", "ReserveSNRVolumesHandler", 3, "repReserveSNRVolReq", "repReserveSNRVolResp"},
    {0x35000069, 0x3500006a, CaseKind::Handler, "V1", "QuerySNRDeviceHandler", 3, "repQuerySNRDeviceByIdReq", "repQuerySNRDeviceByIdResp"},
    {0x3500006b, 0x3500006c, CaseKind::Inline, "", "QuerySNRMountPoint", 3, "", "repQuerySNRMountPointByIdResp"},
    {0x3500006d, 0x3500006e, CaseKind::Inline, "", "QuerySNRMountPoint", 3, "", "repQuerySNRMountPointByPathResp"},
    {0x3500006f, 0x35000070, CaseKind::Handler, "V1", "QuerySNRVolume2Handler", 3, "repQuerySNRVolume2ByIdReq", "repQuerySNRVolume2ByIdResp"},
    {0x35000071, 0x35000072, CaseKind::Handler, "V1", "AddSNRVolumeHandler", 3, "repAddSNRVolumeReq", "repAddSNRVolumeResp"},
    {0x35000073, 0x35000074, CaseKind::Inline, "", "QueryAppDirByReplicaVol", 5, "", "repQueryAppDirsByReplicaVolResp"},
    {0x35000075, 0x35000076, CaseKind::InlineTran, "", "UpdateSNRVolMountPoint", 3, "", "repUpdateSNRVolumeMountPointResp"},
    {0x35000077, 0x35000078, CaseKind::Handler, "V1", "QueryRVScratchVolBySNRVolIdHandler", 4, "repQueryRVScratchVolBySNRVolIdReq", "repQueryRVScratchVolBySNRVolIdResp"},
    {0x35000079, 0x3500007a, CaseKind::Inline, "", "QuerySNRMountPointBySNRVolId", 3, "", "repQuerySNRMountPointBySNRVolIdResp"},
    {0x3500007b, 0x3500007c, CaseKind::InlineTran, "", "ReserveReplicationVolumes", 5, "", "repReserveReplicaVolResp"},
    {0x3500007d, 0x3500007e, CaseKind::InlineTran, "", "UnreserveSNRVolumes", 3, "", "repUnreserveSNRVolResp"},
    {0x3500007f, 0x35000080, CaseKind::InlineTran, "", "UnreserveReplicationVolumes", 5, "", "repUnreserveReplicaVolResp"},
    {0x35000081, 0x35000082, CaseKind::Inline, "", "PruneReplicationVolumes", 5, "", "repPruneReplicaVolumeResp"},
    {0x35000083, 0x35000084, CaseKind::InlineTran, "", "UpdateAppDirModifyTimeByRepVol", 5, "", "repUpdateAppDirModifyTimeByRepVolResp"},
    {0x35000085, 0x35000086, CaseKind::Handler, "42", "AddReplicationVolumeHandler", 5, "repAddReplicationVolume42Req", "repAddReplicationVolume42Resp"},
    {0x35000087, 0x35000088, CaseKind::Handler, "V1", "QueryReplicationVolumeByJobIdHandler", 5, "repQueryReplicaVolumeByJobIdReq", "repQueryReplicaVolumeByJobIdResp"},
    {0x35000089, 0x3500008a, CaseKind::Handler, "42", "QueryReplicationVolumeHandler", 5, "repQueryReplicationVol42ByIdReq", "repQueryReplicationVol42ByIdResp"},
    {0x3500008b, 0x3500008c, CaseKind::Handler, "42", "CreatePermanentReplicaHandler", 5, "repCreatePermanentReplica42Req", "repCreatePermanentReplica42Resp"},
    {0x3500008d, 0x3500008e, CaseKind::Inline, "42", "QueryPermanentReplica", 5, "", "repQueryPermanentReplica42Resp"},
    {0x3500008f, 0x35000090, CaseKind::InlineTran, "", "RemoveSnapEngineInfoByName", 6, "", "repRemoveSnapEngineInfoByNameResp"},
    {0x35000091, 0x35000092, CaseKind::Handler, "42", "GetReplicationVolumeListHandler", 5, "", "repGetReplicationVolumeList42Resp"},
    {0x35000093, 0x35000094, CaseKind::Handler, "42", "UpdateReplicationVolumeHandler", 5, "repUpdateReplicationVolume42Req", "repUpdateReplicationVolume42Resp"},
    {0x35000095, 0x35000096, CaseKind::Handler, "42", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientId42Req", "repQuerySNRDeviceByClientId42Response"},
    {0x35000097, 0x35000098, CaseKind::Handler, "42", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolId42Req", "repQueryRVScratchVolumeByScratchPoolId42Response"},
    {0x35000099, 0x3500009a, CaseKind::Handler, "42", "QuerySNRVolumeHandler", 3, "repQuerySNRVolById42Req", "repQuerySNRVolById42Resp"},
    {0x3500009b, 0x3500009c, CaseKind::Handler, "42", "QuerySNRVolume2Handler", 3, "repQuerySNRVolume2ById42Req", "repQuerySNRVolume2ById42Resp"},
    {0x3500009f, 0x350000a0, CaseKind::Handler, "V1", "GetSNRVolumesHandler", 3, "", "repGetSNRVolumesResp"},
    {0x350000a1, 0x350000a2, CaseKind::Handler, "42", "AddSnapEngineInfoHandler", 6, "repAddSnapEngineInfo42Req", "repAddSnapEngineInfo42Resp"},
    {0x350000a3, 0x350000a4, CaseKind::Handler, "42", "QuerySnapEngineInfoHandler", 6, "repQuerySnapEngineInfo42ByIdReq", "repQuerySnapEngineInfo42ByIdResp"},
    {0x350000a5, 0x350000a6, CaseKind::Handler, "42", "UpdateSnapEngineInfoHandler", 6, "repUpdateSnapEngineInfo42Req", "repUpdateSnapEngineInfo42Resp"},
    {0x350000a7, 0x350000a8, CaseKind::Handler, "42", "GetSnapEngineInfoListHandler", 6, "", "repGetSnapEngineInfo42ListResp"},
    {0x350000a9, 0x350000aa, CaseKind::Handler, "V1", "GetSNRInfoByClientAndVolHandler", 3, "repGetSNRInfoByClientAndVolReq", "repGetSNRInfoByClientAndVolResp"},
    {0x350000ab, 0x350000ac, CaseKind::Handler, "42", "AddDeviceHandler", 3, "repAddSNRDevice42Req", "repAddSNRDevice42Response"},
    {0x350000ad, 0x350000ae, CaseKind::Handler, "42", "UpdateSNRVolumeHandler", 3, "repUpdateSNRVolume42Req", "repUpdateSNRVolume42Response"},
    {0x350000b1, 0x350000b2, CaseKind::Handler, "42", "GetLatestRepVolByPrimaryIdHandler", 5, "repGetLatestSnapForSNRVol42Req", "repGetLatestSnapForSNRVol42Resp"},
    {0x350000b3, 0x350000b4, CaseKind::Handler, "42", "AddSNRVolumeHandler", 3, "repAddSNRVolume42Req", "repAddSNRVolume42Resp"},
    {0x350000b5, 0x350000b6, CaseKind::Handler, "V1", "QueryReplicationPolicyByPoolIdHandler", 6, "repQueryReplicaPolicyByPoolIdReq", "repQueryReplicaPolicyByPoolIdResp"},
    {0x350000b7, 0x350000b8, CaseKind::Inline, "", "GetClientIdByPoolId", 4, "", "repGetClientIdByPoolIdResp"},
    {0x350000b9, 0x350000ba, CaseKind::Handler, "V1", "UpdateSNRDeviceHandler", 3, "repUpdateSNRDeviceNameReq", "repUpdateSNRDeviceNameResp"},
    {0x350000bb, 0x350000bc, CaseKind::InlineTran, "", "AllocateSNRVolumes", 3, "", "repAllocateSNRVolResp"},
    {0x350000bd, 0x350000be, CaseKind::InlineTran, "", "DeallocateSNRVolumes", 3, "", "repDeallocateSNRVolResp"},
    {0x350000bf, 0x350000c0, CaseKind::Handler, "V2", "GetRVScratchVolPoolListHandler", 4, "", "repGetRVScratchVolumePoolV2ListResponse"},
    {0x350000c1, 0x350000c2, CaseKind::Handler, "V2", "AddRVScratchVolPoolHandler", 4, "repAddRVScratchVolumePoolV2Req", "repAddRVScratchVolumePoolV2Response"},
    {0x350000c3, 0x350000c4, CaseKind::Handler, "V2", "QueryRVScratchVolPoolHandler", 4, "repQueryRVScratchVolPoolV2Req", "repQueryRVScratchVolPoolV2Response"},
    {0x350000c5, 0x350000c6, CaseKind::Handler, "V2", "UpdateRVScratchVolPoolHandler", 4, "repUpdateRVScratchVolPoolV2Req", "repUpdateRVScratchVolPoolV2Resp"},
    {0x350000c7, 0x350000c8, CaseKind::Handler, "V2", "AddReplicationPolicyHandler", 6, "repAddReplicationPolicyV2Req", "repAddReplicationPolicyV2Resp"},
    {0x350000c9, 0x350000ca, CaseKind::Handler, "V2", "QueryReplicationPolicyHandler", 6, "repQueryReplicationPolicyV2ByIdReq", "repQueryReplicationPolicyV2ByIdResp"},
    {0x350000cb, 0x350000cc, CaseKind::Handler, "V2", "UpdateReplicationPolicyHandler", 6, "repUpdateReplicationPolicyV2Req", "repUpdateReplicationPolicyV2Resp"},
    {0x350000cd, 0x350000ce, CaseKind::Handler, "V2", "GetReplicationPolicyListHandler", 6, "", "repGetReplicationPolicyV2ListResp"},
    {0x350000cf, 0x350000d0, CaseKind::Handler, "V2", "QueryReplicationPolicyByPoolIdHandler", 6, "repQueryReplicaPolicyV2ByPoolIdReq", "repQueryReplicaPolicyV2ByPoolIdResp"},
    {0x350000d1, 0x350000d2, CaseKind::Handler, "V2", "AddVolSnapParamsHandler", 6, "repAddVolSnapParamsV2Req", "repAddVolSnapParamsV2Resp"},
    {0x350000d3, 0x350000d4, CaseKind::Handler, "V2", "QueryVolSnapParamsHandler", 6, "repQueryVolSnapParamsV2BySNRVolReq", "repQueryVolSnapParamsV2BySNRVolResp"},
    {0x350000d5, 0x350000d6, CaseKind::Handler, "V2", "UpdateVolSnapParamHandler", 6, "repUpdateVolSnapParamsV2Req", "repUpdateVolSnapParamsV2Resp"},
    {0x350000d7, 0x350000d8, CaseKind::Handler, "V2", "GetVolSnapParamsListHandler", 6, "", "repGetVolSnapParamsV2ListResp"},
    {0x350000d9, 0x350000da, CaseKind::InlineTran, "", "CopyAppDirs", 5, "", "repCopyAppDirResp"},
    {0x350000db, 0x350000dc, CaseKind::Handler, "V3", "AddReplicationVolumeHandler", 5, "repAddReplicationVolumeV3Req", "repAddReplicationVolumeV3Resp"},
    {0x350000dd, 0x350000de, CaseKind::Handler, "V2", "QueryReplicationVolumeByJobIdHandler", 5, "repQueryReplicaVolumeV2ByJobIdReq", "repQueryReplicaVolumeV2ByJobIdResp"},
    {0x350000df, 0x350000e0, CaseKind::Handler, "V3", "QueryReplicationVolumeHandler", 5, "repQueryReplicationVolV3ByIdReq", "repQueryReplicationVolV3ByIdResp"},
    {0x350000e1, 0x350000e2, CaseKind::Inline, "V3", "QueryPermanentReplica", 5, "", "repQueryPermanentReplicaV3Resp"},
    {0x350000e3, 0x350000e4, CaseKind::Handler, "V3", "GetReplicationVolumeListHandler", 5, "", "repGetReplicationVolumeListV3Resp"},
    {0x350000e5, 0x350000e6, CaseKind::Handler, "V3", "UpdateReplicationVolumeHandler", 5, "repUpdateReplicationVolumeV3Req", "repUpdateReplicationVolumeV3Resp"},
    {0x350000e7, 0x350000e8, CaseKind::Handler, "V3", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientIdV3Req", "repQuerySNRDeviceByClientIdV3Response"},
    {0x350000e9, 0x350000ea, CaseKind::Handler, "V3", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolIdV3Req", "repQueryRVScratchVolumeByScratchPoolIdV3Response"},
    {0x350000eb, 0x350000ec, CaseKind::Handler, "V3", "QuerySNRVolumeHandler", 3, "repQuerySNRVolByIdV3Req", "repQuerySNRVolByIdV3Resp"},
    {0x350000ed, 0x350000ee, CaseKind::Handler, "V3", "QuerySNRVolume2Handler", 3, "repQuerySNRVolume2ByIdV3Req", "repQuerySNRVolume2ByIdV3Resp"},
    {0x350000ef, 0x350000f0, CaseKind::Handler, "V3", "AddDeviceHandler", 3, "repAddSNRDeviceV3Req", "repAddSNRDeviceV3Response"},
    {0x350000f1, 0x350000f2, CaseKind::Handler, "V3", "UpdateSNRVolumeHandler", 3, "repUpdateSNRVolumeV3Req", "repUpdateSNRVolumeV3Response"},
    {0x350000f3, 0x350000f4, CaseKind::Handler, "V3", "GetLatestRepVolByPrimaryIdHandler", 5, "repGetLatestSnapForSNRVolV3Req", "repGetLatestSnapForSNRVolV3Resp"},
    {0x350000f5, 0x350000f6, CaseKind::Handler, "V3", "AddSNRVolumeHandler", 3, "repAddSNRVolumeV3Req", "repAddSNRVolumeV3Resp"},
    {0x350000f7, 0x350000f8, CaseKind::Handler, "V2", "GetSNRVolumesHandler", 3, "", "repGetSNRVolumesV2Resp"},
    {0x350000f9, 0x350000fa, CaseKind::Handler, "V2", "GetSNRInfoByClientAndVolHandler", 3, "repGetSNRInfoByClientAndVolV2Req", "repGetSNRInfoByClientAndVolV2Resp"},
    {0x350000fb, 0x350000fc, CaseKind::Handler, "V2", "QuerySNRVolDevHandler", 3, "repQuerySNRVolDevsBySNRVolIdV2Req", "repQuerySNRVolDevsBySNRVolIdV2Resp"},
    {0x350000fd, 0x350000fe, CaseKind::Handler, "V2", "QuerySNRDeviceHandler", 3, "repQuerySNRDeviceByIdV2Req", "repQuerySNRDeviceByIdV2Resp"},
    {0x350000ff, 0x35000100, CaseKind::Handler, "V1", "ConfigureDeviceHandler", 3, "repConfigureDeviceReq", "repConfigureDeviceResp"},
    {0x35000101, 0x35000102, CaseKind::InlineTran, "", "UnconfigureDevice", 3, "", "repUnconfigureDeviceResp"},
    {0x35000103, 0x35000104, CaseKind::InlineTran, "", "AddYBAppliance", 9, "", "repAddYBApplianceResp"},
    {0x35000105, 0x35000106, CaseKind::InlineTran, "", "DeleteYBAppliance", 9, "", "repDeleteYBApplianceResp"},
    {0x35000107, 0x35000108, CaseKind::Inline, "", "GetYBApplianceList", 9, "", "repGetYBApplianceListResp"},
    {0x35000109, 0x3500010a, CaseKind::Inline, "", "QueryYBAppliance", 9, "", "repQueryYBApplianceResp"},
    {0x3500010b, 0x3500010c, CaseKind::InlineTran, "", "AddTzGlobalHistoryName", 3, "", "repAddGlobalHistoryNameResp"},
    {0x3500010d, 0x3500010e, CaseKind::InlineTran, "", "UpdateTzGlobalHistoryName", 3, "", "repUpdateTzGlobalHistoryNameResp"},
    {0x3500010f, 0x35000110, CaseKind::InlineTran, "", "DeleteTzGlobalHistoryName", 3, "", "repDeleteTzGlobalHistoryNameResp"},
    {0x35000111, 0x35000112, CaseKind::Inline, "", "QueryTzGlobalHistoryName", 3, "", "repQueryTzGlobalHistoryNameResp"},
    {0x35000113, 0x35000114, CaseKind::Inline, "", "QueryTzGlobalHistoryNameByVolId", 3, "", "repQueryTzGlobalHistoryNameByVolIdResp"},
    {0x35000115, 0x35000116, CaseKind::InlineTran, "", "PruneMorvaneVolume", 3, "", "repPruneMorvaneVolumesResp"},
    {0x35000117, 0x35000118, CaseKind::Handler, "V3", "CreatePermanentReplicaHandler", 5, "repCreatePermanentReplicaV3Req", "repCreatePermanentReplicaV3Resp"},
    {0x35000119, 0x35000120, CaseKind::InlineTran, "", "AddVolumeToYBJobHistory", 8, "", "repAddVolumeToYBJobHistoryResp"},
    {0x35000121, 0x35000122, CaseKind::Inline, "", "QueryYBJobHistoryByJobId", 8, "", "repQueryYBJobHistoryByJobIdResp"},
    {0x35000123, 0x35000124, CaseKind::Inline, "", "QueryYBJobHistoryById", 8, "", "repQueryYBJobHistoryByIdResp"},
    {0x35000125, 0x35000126, CaseKind::Inline, "", "QueryYBJobHistoryByVolId", 8, "", "repQueryYBJobHistoryByVolumeIdResp"},
    {0x35000127, 0x35000128, CaseKind::Inline, "", "GetYBJobHistoryList", 8, "", "repGetYBJobVolumeHistoryListResp"},
    {0x35000129, 0x35000130, CaseKind::InlineTran, "", "DeleteYBJobHistoryByJobId", 8, "", "repDeleteYBJobHistoryByJobIdResp"},
    {0x35000131, 0x35000132, CaseKind::InlineTran, "", "UpdateCostToVolsInPool", 4, "", "repUpdateCostToVolsInPoolResp"},
    {0x35000133, 0x35000134, CaseKind::Handler, "V3", "AddSnapEngineInfoHandler", 6, "repAddSnapEngineInfoV3Req", "repAddSnapEngineInfoV3Resp"},
    {0x35000135, 0x35000136, CaseKind::Handler, "V3", "QuerySnapEngineInfoHandler", 6, "repQuerySnapEngineInfoV3ByIdReq", "repQuerySnapEngineInfoV3ByIdResp"},
    {0x35000137, 0x35000138, CaseKind::Handler, "V3", "UpdateSnapEngineInfoHandler", 6, "repUpdateSnapEngineInfoV3Req", "repUpdateSnapEngineInfoV3Resp"},
    {0x35000139, 0x35000140, CaseKind::Handler, "V3", "GetSnapEngineInfoListHandler", 6, "", "repGetSnapEngineInfoV3ListResp"},
    {0x35000141, 0x35000142, CaseKind::Handler, "V1", "QueryReplicationVolumeByUniqueSnapIdHandler", 5, "repQueryYBVolByUniqueSnapshotIdReq", "repQueryYBVolByUniqueSnapshotIdResp"},
    {0x35000143, 0x35000144, CaseKind::InlineTran, "", "UploadYBFile", 9, "", "repUploadYBFileResp"},
    {0x35000145, 0x35000146, CaseKind::Inline, "", "DownloadYBFile", 9, "", "repDownloadYBFileByIdResp"},
    {0x35000147, 0x35000148, CaseKind::Inline, "", "QueryYBFile", 9, "", "repQueryYBFileByVolIdResp"},
    {0x35000149, 0x3500014a, CaseKind::Inline, "", "QueryYBFile", 9, "", "repQueryYBFileByIdResp"},
    {0x3500014b, 0x3500014c, CaseKind::Inline, "", "QueryYBFile", 9, "", "repQueryYBFileByNameResp"},
    {0x3500014d, 0x3500014e, CaseKind::Inline, "", "GetYBFileList", 9, "", "repGetYBFileListResp"},
    {0x3500014f, 0x35000150, CaseKind::InlineTran, "", "DeleteYBFile", 9, "", "repDeleteYBFileByIdResp"},
    {0x35000151, 0x35000152, CaseKind::InlineTran, "", "DeleteYBFile", 9, "", "repDeleteYBFileByVolIdResp"},
    {0x35000153, 0x35000154, CaseKind::InlineTran, "", "UpdateYBFile", 9, "", "repUpdateYBFileResp"},
    {0x35000155, 0x35000156, CaseKind::Handler, "V4", "AddDeviceHandler", 3, "repAddSNRDeviceV4Req", "repAddSNRDeviceV4Response"},
    {0x35000157, 0x35000158, CaseKind::Handler, "V4", "UpdateSNRVolumeHandler", 3, "repUpdateSNRVolumeV4Req", "repUpdateSNRVolumeV4Response"},
    {0x35000159, 0x3500015a, CaseKind::Handler, "V4", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientIdV4Req", "repQuerySNRDeviceByClientIdV4Response"},
    {0x3500015b, 0x3500015c, CaseKind::Handler, "V4", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolIdV4Req", "repQueryRVScratchVolumeByScratchPoolIdV4Response"},
    {0x3500015d, 0x3500015e, CaseKind::Handler, "V4", "GetLatestRepVolByPrimaryIdHandler", 5, "repGetLatestSnapForSNRVolV4Req", "repGetLatestSnapForSNRVolV4Resp"},
    {0x3500015f, 0x35000160, CaseKind::Handler, "V4", "QuerySNRVolumeHandler", 3, "repQuerySNRVolByIdV4Req", "repQuerySNRVolByIdV4Resp"},
    {0x35000161, 0x35000162, CaseKind::Handler, "V4", "CreatePermanentReplicaHandler", 5, "repCreatePermanentReplicaV4Req", "repCreatePermanentReplicaV4Resp"},
    {0x35000163, 0x35000164, CaseKind::Handler, "V4", "QuerySNRVolume2Handler", 3, "repQuerySNRVolume2ByIdV4Req", "repQuerySNRVolume2ByIdV4Resp"},
    {0x35000165, 0x35000166, CaseKind::Handler, "V4", "AddSNRVolumeHandler", 3, "repAddSNRVolumeV4Req", "repAddSNRVolumeV4Resp"},
    {0x35000167, 0x35000168, CaseKind::Handler, "V3", "GetSNRVolumesHandler", 3, "", "repGetSNRVolumesV3Resp"},
    {0x35000169, 0x3500016a, CaseKind::Handler, "V3", "GetSNRInfoByClientAndVolHandler", 3, "repGetSNRInfoByClientAndVolV3Req", "repGetSNRInfoByClientAndVolV3Resp"},
    {0x3500016b, 0x3500016c, CaseKind::Handler, "V3", "GetRVScratchVolPoolListHandler", 4, "", "repGetRVScratchVolumePoolV3ListResponse"},
    {0x3500016d, 0x3500016e, CaseKind::Handler, "V3", "QueryRVScratchVolPoolHandler", 4, "repQueryRVScratchVolPoolV3Req", "repQueryRVScratchVolPoolV3Response"},
    {0x3500016f, 0x35000170, CaseKind::Handler, "V3", "UpdateRVScratchVolPoolHandler", 4, "repUpdateRVScratchVolPoolV3Req", "repUpdateRVScratchVolPoolV3Resp"},
    {0x35000171, 0x35000172, CaseKind::Handler, "V3", "AddRVScratchVolPoolHandler", 4, "repAddRVScratchVolumePoolV3Req", "repAddRVScratchVolumePoolV3Response"},
    {0x35000173, 0x35000174, CaseKind::Handler, "V3", "AddReplicationPolicyHandler", 6, "repAddReplicationPolicyV3Req", "repAddReplicationPolicyV3Resp"},
    {0x35000175, 0x35000176, CaseKind::Handler, "V3", "QueryReplicationPolicyHandler", 6, "repQueryReplicationPolicyV3ByIdReq", "repQueryReplicationPolicyV3ByIdResp"},
    {0x35000177, 0x35000178, CaseKind::Handler, "V3", "UpdateReplicationPolicyHandler", 6, "repUpdateReplicationPolicyV3Req", "repUpdateReplicationPolicyV2Resp"},
    {0x35000179, 0x35000180, CaseKind::Handler, "V3", "GetReplicationPolicyListHandler", 6, "", "repGetReplicationPolicyV3ListResp"},
    {0x35000181, 0x35000182, CaseKind::Handler, "V3", "QueryReplicationPolicyByPoolIdHandler", 6, "repQueryReplicaPolicyV3ByPoolIdReq", "repQueryReplicaPolicyV3ByPoolIdResp"},
    {0x3500018b, 0x3500018c, CaseKind::Handler, "V4", "AddReplicationVolumeHandler", 5, "repAddReplicationVolumeV4Req", "repAddReplicationVolumeV4Resp"},
    {0x3500018d, 0x3500018e, CaseKind::Handler, "V3", "QueryReplicationVolumeByJobIdHandler", 5, "repQueryReplicaVolumeV3ByJobIdReq", "repQueryReplicaVolumeV3ByJobIdResp"},
    {0x3500018f, 0x35000190, CaseKind::Handler, "V4", "QueryReplicationVolumeHandler", 5, "repQueryReplicationVolV4ByIdReq", "repQueryReplicationVolV4ByIdResp"},
    {0x35000193, 0x35000194, CaseKind::Handler, "V4", "GetReplicationVolumeListHandler", 5, "", "repGetReplicationVolumeListV4Resp"},
    {0x35000195, 0x35000196, CaseKind::Handler, "V4", "UpdateReplicationVolumeHandler", 5, "repUpdateReplicationVolumeV4Req", "repUpdateReplicationVolumeV4Resp"},
    {0x35000197, 0x35000198, CaseKind::Handler, "V2", "QueryReplicationVolumeByUniqueSnapIdHandler", 5, "repQueryYBVolByUniqueSnapshotIdV2Req", "repQueryYBVolByUniqueSnapshotIdV2Resp"},
    {0x35000199, 0x3500019a, CaseKind::InlineTran, "", "AddApplication", 9, "", "repAddYBUserApplDefResp"},
    {0x3500019b, 0x3500019c, CaseKind::InlineTran, "", "UpdateApplication", 9, "", "repUpdateYBUserApplDefResp"},
    {0x3500019d, 0x3500019e, CaseKind::InlineTran, "", "DeleteApplication", 9, "", "repDeleteYBUserApplDefResp"},
    {0x3500019f, 0x350001a0, CaseKind::Inline, "", "QueryApplication", 9, "", "repQueryYBUserApplDefByIdResp"},
    {0x350001a1, 0x350001a2, CaseKind::Inline, "", "GetApplicationList", 9, "", "repGetYBUserApplDefResp"},
    {0x350001a3, 0x350001a4, CaseKind::Handler, "V2", "ReleaseRVScratchVolHandler", 4, "repReleaseRVScratchVolumeV2Req", "repReleaseRVScratchVolumeV2Response"},
    {0x350001a5, 0x350001a6, CaseKind::Inline, "", "QueryRVScratchVol", 4, "", "repQueryScratchVolumeByIdResp"},
    {0x350001a7, 0x350001a8, CaseKind::Handler, "V3", "QuerySNRVolDevHandler", 3, "repQuerySNRVolDevsBySNRVolIdV3Req", "repQuerySNRVolDevsBySNRVolIdV3Resp"},
    {0x350001a9, 0x350001aa, CaseKind::Handler, "V3", "QuerySNRDeviceHandler", 3, "repQuerySNRDeviceByIdV3Req", "repQuerySNRDeviceByIdV3Resp"},
    {0x350001ab, 0x350001ac, CaseKind::Handler, "V2", "ConfigureDeviceHandler", 3, "repConfigureDeviceV2Req", "repConfigureDeviceV2Resp"},
    {0x350001ad, 0x350001ae, CaseKind::Handler, "V3", "UpdateSNRDeviceHandler", 3, "repUpdateSNRDeviceNameV3Req", "repUpdateSNRDeviceNameV3Resp"},
    {0x350001af, 0x350001b0, CaseKind::Handler, "V2", "QueryRVScratchVolBySNRVolIdHandler", 4, "repQueryRVScratchVolBySNRVolIdV2Req", "repQueryRVScratchVolBySNRVolIdV2Resp"},
    {0x350001b1, 0x350001b2, CaseKind::Handler, "V2", "ReserveSNRVolumesHandler", 3, "repReserveSNRVolV2Req", "repReserveSNRVolV2Resp"},
    {0x350001b3, 0x350001b4, CaseKind::Handler, "V5", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientIdV5Req", "repQuerySNRDeviceByClientIdV5Response"},
    {0x350001b5, 0x350001b6, CaseKind::Handler, "V5", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolIdV5Req", "repQueryRVScratchVolumeByScratchPoolIdV5Response"},
    {0x350001b7, 0x350001b8, CaseKind::Handler, "V5", "AddReplicationVolumeHandler", 5, "repAddReplicationVolumeV5Req", "repAddReplicationVolumeV5Resp"},
    {0x350001b9, 0x350001ba, CaseKind::Handler, "V5", "QueryReplicationVolumeHandler", 5, "repQueryReplicationVolV5ByIdReq", "repQueryReplicationVolV5ByIdResp"},
    {0x350001bb, 0x350001bc, CaseKind::Handler, "V5", "UpdateReplicationVolumeHandler", 5, "repUpdateReplicationVolumeV5Req", "repUpdateReplicationVolumeV5Resp"},
    {0x350001bd, 0x350001be, CaseKind::Handler, "V5", "GetReplicationVolumeListHandler", 5, "", "repGetReplicationVolumeListV5Resp"},
    {0x350001bf, 0x350001c0, CaseKind::Handler, "V5", "QuerySNRVolumeHandler", 3, "repQuerySNRVolByIdV5Req", "repQuerySNRVolByIdV5Resp"},
    {0x350001c3, 0x350001c4, CaseKind::Handler, "V5", "QuerySNRVolume2Handler", 3, "repQuerySNRVolume2ByIdV5Req", "repQuerySNRVolume2ByIdV5Resp"},
    {0x350001c5, 0x350001c6, CaseKind::Handler, "V4", "QueryReplicationVolumeByJobIdHandler", 5, "repQueryReplicaVolumeV4ByJobIdReq", "repQueryReplicaVolumeV4ByJobIdResp"},
    {0x350001c7, 0x350001c8, CaseKind::Handler, "V3", "QueryReplicationVolumeByUniqueSnapIdHandler", 5, "repQueryYBVolByUniqueSnapshotIdV3Req", "repQueryYBVolByUniqueSnapshotIdV3Resp"},
    {0x350001c9, 0x350001ca, CaseKind::Handler, "V1", "BrowseByClientHandler", 9, "repBrowseByClientIdReq", "repBrowseByClientIdResp"},
    {0x350001cb, 0x350001cc, CaseKind::Inline, "", "GetSubclientVolumesList", 9, "", "repGetSubclientVolumesListResp"},
    {0x350001cd, 0x350001ce, CaseKind::Handler, "V1", "BrowseByPolicyHandler", 9, "repBrowseByPolicyIdReq", "repBrowseByPolicyIdResp"},
    {0x350001cf, 0x350001d0, CaseKind::Inline, "", "GetVEHosts", 9, "", "repGetVEHostsResp"},
    {0x350001d1, 0x350001d2, CaseKind::Inline, "", "GetSCListByYBPolicy", 6, "", "repGetSCListByPolicyResp"},
    {0x350001d3, 0x350001d4, CaseKind::Inline, "", "QueryYBVolumes", 5, "", "repGetYBVolumesBySubclientIdResp"},
    {0x350001d5, 0x350001d6, CaseKind::InlineTran, "", "AddFLRConsistencyPoint", 7, "", "repAddFLRConsistencyPointResp"},
    {0x350001d7, 0x350001d8, CaseKind::Inline, "", "QueryFLRConsistencyPointsByFLRSetId", 7, "", "repQueryFLRCPointsByFLRSetIdResp"},
    {0x350001d9, 0x350001da, CaseKind::Inline, "", "GetCopyMgrs", 9, "", "repGetCopyMgrCtrlsResp"},
    {0x350001db, 0x350001dc, CaseKind::Handler, "V1", "CreateConsistencyPointHandler", 7, "repCreateCPReq", "repCreateCPResp"},
    {0x350001dd, 0x350001de, CaseKind::Handler, "V1", "QueryFLRSnapshotsByCPIdHandler", 7, "repQueryFLRSnapshotsByCPIdReq", "repQueryFLRSnapshotsByCPIdResp"},
    {0x350001df, 0x350001e0, CaseKind::InlineTran, "", "AddFLRSnapMountPoint", 7, "", "repAddFLRSnaphsotMountPointResp"},
    {0x350001e1, 0x350001e2, CaseKind::InlineTran, "", "DeleteFLRSnapMountPoint", 7, "", "repDeleteFLRSnapshotMountPointResp"},
    {0x350001e3, 0x350001e4, CaseKind::InlineTran, "", "AddFLRSnapNetworkShare", 7, "", "repAddFLRSnapNetworkShareResp"},
    {0x350001e5, 0x350001e6, CaseKind::InlineTran, "", "DeleteFLRSnapNetworkShare", 7, "", "repDelFLRSnapNetworkShareResp"},
    {0x350001e7, 0x350001e8, CaseKind::Handler, "V1", "QueryFLRCPByJobIdHandler", 7, "repQueryFLRCPByJobIdReq", "repQueryFLRCPByJobIdResp"},
    {0x350001e9, 0x350001ea, CaseKind::Inline, "V1", "QueryRepSetLastestCP", 7, "", "repQueryRepSetLastCPResp"},
    {0x350001eb, 0x350001ec, CaseKind::InlineTran, "", "DeleteAllCPsByRepSetId", 7, "", "repDelAllCPsByRepSetIdResp"},
    {0x350001ef, 0x350001f0, CaseKind::InlineTran, "", "DelCP", 7, "", "repDelCPResp"},
    {0x350001f1, 0x350001f2, CaseKind::InlineTran, "", "PruneRepSet", 7, "", "repPruneRepSetResp"},
    {0x350001f3, 0x350001f4, CaseKind::Inline, "", "FindRepSetByVolume", 7, "", "repFindRepSetByVolumeResp"},
    {0x350001f5, 0x350001f6, CaseKind::Handler, "V1", "GetEKeyHandler", 9, "repGetEKeyReq", "repGetEKeyResp"},
    {0x350001f7, 0x350001f8, CaseKind::Inline, "", "QueryCPsByClientIdAndAppType", 7, "", "repQueryFLRCPsByClientIdAndAppTypeResp"},
    {0x350001fb, 0x350001fc, CaseKind::PlainHandler, "V1", "QueryMountedSnapsHandler", 8, "", ""},
    {0x350001fd, 0x350001dc, CaseKind::InlineTran, "V1", "CreateConsistentDBRecord", 7, "", "repCreateCPResp"},
    {0x350001fe, 0x350001ff, CaseKind::Handler, "V2", "CreateConsistencyPointHandler", 7, "repCreateCPReqV2", "repCreateCPRespV2"},
    {0x35000200, 0x35000201, CaseKind::Handler, "V2", "QueryFLRSnapshotsByCPIdHandler", 7, "repQueryFLRSnapshotsByCPIdReqV2", "repQueryFLRSnapshotsByCPIdRespV2"},
    {0x35000202, 0x35000203, CaseKind::Handler, "V2", "QueryFLRCPByJobIdHandler", 7, "repQueryFLRCPByJobIdReqV2", "repQueryFLRCPByJobIdRespV2"},
    {0x35000204, 0x35000205, CaseKind::Inline, "V2", "QueryRepSetLastestCP", 7, "", "repQueryRepSetLastCPRespV2"},
    {0x35000206, 0x35000207, CaseKind::Handler, "V5", "AddDeviceHandler", 3, "repAddSNRDeviceV5Req", "repAddSNRDeviceV5Response"},
    {0x35000208, 0x35000209, CaseKind::Handler, "V6", "QueryVolInfoHandler", 3, "repQuerySNRDeviceByClientIdV6Req", "repQuerySNRDeviceByClientIdV6Response"},
    {0x3500020a, 0x3500020b, CaseKind::Handler, "V6", "QueryScratchVolInfoHandler", 4, "repQueryRVScratchVolumeByScratchPoolIdV6Req", "repQueryRVScratchVolumeByScratchPoolIdV6Response"},
    {0x3500020c, 0x3500020d, CaseKind::Handler, "V4", "QuerySNRVolDevHandler", 3, "repQuerySNRVolDevsBySNRVolIdV4Req", "repQuerySNRVolDevsBySNRVolIdV4Resp"},
    {0x3500020e, 0x3500020f, CaseKind::Handler, "V4", "QuerySNRDeviceHandler", 3, "repQuerySNRDeviceByIdV4Req", "repQuerySNRDeviceByIdV4Resp"},
    {0x35000210, 0x35000211, CaseKind::Handler, "V4", "GetSNRVolumesHandler", 3, "", "repGetSNRVolumesV4Resp"},
    {0x35000212, 0x35000213, CaseKind::Handler, "V4", "GetSNRInfoByClientAndVolHandler", 3, "repGetSNRInfoByClientAndVolV4Req", "repGetSNRInfoByClientAndVolV4Resp"},
    {0x35000214, 0x35000215, CaseKind::Handler, "V4", "UpdateSNRDeviceHandler", 3, "repUpdateSNRDeviceNameV4Req", "repUpdateSNRDeviceNameV4Resp"},
    {0x35000216, 0x35000217, CaseKind::Handler, "V3", "ConfigureDeviceHandler", 3, "repConfigureDeviceV3Req", "repConfigureDeviceV3Resp"},
    {0x35000218, 0x35000219, CaseKind::Handler, "V2", "BrowseByClientHandler", 9, "repBrowseByClientIdV2Req", "repBrowseByClientIdV2Resp"},
    {0x35000220, 0x35000221, CaseKind::Handler, "V2", "BrowseByPolicyHandler", 9, "repBrowseByPolicyIdV2Req", "repBrowseByPolicyIdV2Resp"},
    {0x35000222, 0x35000223, CaseKind::Handler, "V2", "GetEKeyHandler", 9, "repGetEKeyReqV2", "repGetEKeyRespV2"},
    {0x35000228, 0x35000229, CaseKind::PlainHandler, "V1", "QueryRPByDstClientIdAndVolNameHandler", 7, "", ""},
    {0x3500022a, 0x3500022b, CaseKind::PlainHandler, "", "QueryFanInRPDetailsHandler", 7, "", ""},
    {0x3500022c, 0x3500022d, CaseKind::PlainHandler, "", "QueryFLRSnapBySnapIdHandler", 7, "", ""},
    {0x3500022e, 0x3500022f, CaseKind::PlainHandler, "70", "RemoveScratchPoolHandler", 4, "", ""},
    {0x35000230, 0x35000231, CaseKind::PlainHandler, "70", "QueryMountedSnapsHandler", 8, "", ""},
    {0x35000232, 0x35000233, CaseKind::PlainHandler, "", "PruneFanInRPsHandler", 7, "", ""},
    {0x35000234, 0x35000235, CaseKind::PlainHandler, "", "IsDevVSSSnapHandler", 8, "", ""},
    {0x35000236, 0x35000237, CaseKind::PlainHandler, "", "getJobListForYBSAPOracleHandler", 8, "", ""},
    {0x35000238, 0x35000239, CaseKind::PlainHandler, "", "getJobDetailsForYBSAPOracleHandler", 8, "", ""},
    {0x3500023a, 0x3500023b, CaseKind::Handler, "80", "AddVolumeToYBJobHistoryHandler", 8, "repAddVolumeToYBJobHistory80Req", "repAddVolumeToYBJobHistory80Resp"},
    {0x3500023c, 0x3500023d, CaseKind::Handler, "80", "QueryYBJobHistoryByJobIdHandler", 8, "repQueryYBJobHistoryByJobId80Req", "repQueryYBJobHistoryByJobId80Resp"},
    {0x3500023f, 0x35000240, CaseKind::Handler, "80", "QueryYBJobHistoryByIdHandler", 8, "repQueryYBJobHistoryById80Req", "repQueryYBJobHistoryById80Resp"},
    {0x35000241, 0x35000242, CaseKind::Handler, "80", "QueryYBJobHistoryByVolIdHandler", 8, "repQueryYBJobHistoryByVolumeId80Req", "repQueryYBJobHistoryByVolumeId80Resp"},
    {0x35000243, 0x35000244, CaseKind::Handler, "80", "GetYBJobHistoryListHandler", 8, "", "repGetYBJobVolumeHistoryList80Resp"},
    {0x35000245, 0x350001dc, CaseKind::InlineTran, "V2", "CreateConsistentDBRecord", 7, "", "repCreateCPResp"},
    {0x35000246, 0x35000247, CaseKind::Handler, "V1", "UpdateFLRSnapshotHandler", 7, "repUpdateFLRSnapshotReq", "repUpdateFLRSnapshotResp"},
    {0x35000248, 0x35000249, CaseKind::PlainHandler, "V2", "QueryRPByDstClientIdAndVolNameHandler", 7, "", ""},
    {0x3500024a, 0x3500024b, CaseKind::PlainHandler, "", "QueryCPByIdHandler", 7, "", ""},
    {0x3500024c, 0x3500024d, CaseKind::Handler, "V3", "CreateConsistencyPointHandler", 7, "repCreateCPReqV3", "repCreateCPRespV2"},
    {0x35000252, 0x35000253, CaseKind::Handler, "V2", "QueryFLRCPByJobIdHandler", 7, "repQueryFLRCPByJobIdReqV2", "repQueryFLRCPByJobIdRespV3"},
    {0x35000254, 0x35000255, CaseKind::Inline, "V3", "QueryRepSetLastestCP", 7, "", "repQueryRepSetLastCPRespV3"},
    {0x35000256, 0x35000257, CaseKind::PlainHandler, "", "QueryRPsByDstClientId", 7, "", ""},
};

constexpr std::size_t kEntryCount = sizeof(kEntries) / sizeof(kEntries[0]);
static_assert(kEntryCount == 267, "267 served request codes");

struct SlotIndex {
    short entry[kDispatchSlots];
    bool valid;
};

// Maps each slot to its entry (-1: empty); invalid when an entry lies outside
// the range or two entries claim one slot.
constexpr SlotIndex BuildSlotIndex() {
    SlotIndex index{};
    for (std::size_t slot = 0; slot < kDispatchSlots; ++slot) {
        index.entry[slot] = -1;
    }
    index.valid = true;
    for (std::size_t n = 0; n < kEntryCount; ++n) {
        const unsigned long slot = kEntries[n].requestCode - kFirstRequestCode;
        if (slot >= kDispatchSlots || index.entry[slot] != -1) {
            index.valid = false;
            continue;
        }
        index.entry[slot] = static_cast<short>(n);
    }
    return index;
}

constexpr SlotIndex kSlotIndex = BuildSlotIndex();
static_assert(kSlotIndex.valid, "every entry has its own slot inside the range");

}  // namespace

const DispatchEntry* FindDispatchEntry(unsigned long code) {
    // Unsigned arithmetic: codes below the first one wrap to large slots.
    const unsigned long slot = code - kFirstRequestCode;
    if (slot >= kDispatchSlots) {
        return nullptr;
    }
    const short entry = kSlotIndex.entry[slot];
    return entry < 0 ? nullptr : &kEntries[entry];
}

unsigned long ReplyCodeFor(unsigned long requestCode) {
    const DispatchEntry* entry = FindDispatchEntry(requestCode);
    return entry != nullptr ? entry->replyCode : requestCode + 1;
}
