// The wire layouts of the requests, replies and records of product files,
// appliances, application views, browse views and keys: sizes and field
// offsets, as the host reads and writes them by position; checked when this
// file compiles, so a structure that moves a field stops the build.
#include "files/AppViewReplies.h"
#include "files/Appliances.h"
#include "files/BrowseViews.h"
#include "files/ComponentLists.h"
#include "files/EncryptionKeys.h"
#include "files/StoredFileMessages.h"
#include "files/UserApplications.h"

#include "service/WireLayout.h"

#define YB_BROWSE_REPLY_LAYOUT(T)             \
    WIRE_SIZE_IS(T, 112);                     \
    WIRE_FIELD_AT(T, errCode, 4);             \
    WIRE_FIELD_AT(T, errMsg, 8);              \
    WIRE_FIELD_AT(T, SNRVolumeCount, 16);     \
    WIRE_FIELD_AT(T, SNRVolumes, 24);         \
    WIRE_FIELD_AT(T, DeviceCount, 32);        \
    WIRE_FIELD_AT(T, Devices, 40);            \
    WIRE_FIELD_AT(T, MountPointCount, 48);    \
    WIRE_FIELD_AT(T, MountPoints, 56);        \
    WIRE_FIELD_AT(T, ScratchVolumeCount, 64); \
    WIRE_FIELD_AT(T, ScratchVolumes, 72);     \
    WIRE_FIELD_AT(T, YBVolumeCount, 80);      \
    WIRE_FIELD_AT(T, YBVolumes, 88);          \
    WIRE_FIELD_AT(T, AppCount, 96);           \
    WIRE_FIELD_AT(T, Apps, 104)

WIRE_SIZE_IS(repFilesStatusResp, 16);
WIRE_FIELD_AT(repFilesStatusResp, errCode, 4);
WIRE_FIELD_AT(repFilesStatusResp, errMsg, 8);
WIRE_SIZE_IS(repFilesNewIdResp, 24);
WIRE_FIELD_AT(repFilesNewIdResp, status, 4);
WIRE_FIELD_AT(repFilesNewIdResp, errCode, 8);
WIRE_FIELD_AT(repFilesNewIdResp, errMsg, 16);
WIRE_SIZE_IS(repFilesListResp<int>, 32);
WIRE_FIELD_AT(repFilesListResp<int>, array, 8);
WIRE_FIELD_AT(repFilesListResp<int>, status, 16);
WIRE_FIELD_AT(repFilesListResp<int>, errCode, 20);
WIRE_FIELD_AT(repFilesListResp<int>, errMsg, 24);

WIRE_SIZE_IS(repYBApplianceRec, 16);
WIRE_FIELD_AT(repYBApplianceRec, name, 8);
WIRE_SIZE_IS(repAddYBApplianceResp, 24);
WIRE_SIZE_IS(repDeleteYBApplianceResp, 16);
WIRE_SIZE_IS(repGetYBApplianceListResp, 32);
WIRE_FIELD_AT(repGetYBApplianceListResp, errMsg, 8);
WIRE_FIELD_AT(repGetYBApplianceListResp, count, 16);
WIRE_FIELD_AT(repGetYBApplianceListResp, appliances, 24);
WIRE_SIZE_IS(repQueryYBApplianceResp, 32);
WIRE_FIELD_AT(repQueryYBApplianceResp, appliance, 16);

WIRE_SIZE_IS(repBrowseByClientIdReq, 4);
WIRE_SIZE_IS(repBrowseByPolicyIdReq, 4);
YB_BROWSE_REPLY_LAYOUT(repBrowseRespOf<repSNRVolumeDeviceNameV3>);
YB_BROWSE_REPLY_LAYOUT(repBrowseRespOf<repSNRVolumeDeviceNameV4>);

WIRE_SIZE_IS(repVEHostRec, 24);
WIRE_FIELD_AT(repVEHostRec, NetworkHostName, 8);
WIRE_FIELD_AT(repVEHostRec, Flag, 16);
WIRE_SIZE_IS(repYBCopyMgrCtrlRec, 64);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, CMName, 8);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, CMType, 16);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, MAId, 20);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, ClientId, 24);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, NetHostName, 32);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, OSId, 40);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, OSName, 48);
WIRE_FIELD_AT(repYBCopyMgrCtrlRec, Reserved, 56);

WIRE_SIZE_IS(repGetEKeyReq, 16);
WIRE_FIELD_AT(repGetEKeyReq, clientName, 8);
WIRE_SIZE_IS(repGetEKeyReqV2, 24);
WIRE_FIELD_AT(repGetEKeyReqV2, clientId, 8);
WIRE_FIELD_AT(repGetEKeyReqV2, clientName, 16);
WIRE_SIZE_IS(repGetEKeyResp, 32);
WIRE_FIELD_AT(repGetEKeyResp, errCode, 4);
WIRE_FIELD_AT(repGetEKeyResp, errMsg, 8);
WIRE_FIELD_AT(repGetEKeyResp, keyText, 16);
WIRE_FIELD_AT(repGetEKeyResp, encrypted, 24);
WIRE_SIZE_IS(repGetEKeyRespV2, 40);
WIRE_FIELD_AT(repGetEKeyRespV2, errCode, 4);
WIRE_FIELD_AT(repGetEKeyRespV2, errMsg, 8);
WIRE_FIELD_AT(repGetEKeyRespV2, keyText, 16);
WIRE_FIELD_AT(repGetEKeyRespV2, encrypted, 24);
WIRE_FIELD_AT(repGetEKeyRespV2, keySize, 28);
WIRE_FIELD_AT(repGetEKeyRespV2, cipherType, 32);

WIRE_SIZE_IS(repYBFileRec, 48);
WIRE_FIELD_AT(repYBFileRec, VolumeId, 4);
WIRE_FIELD_AT(repYBFileRec, Name, 8);
WIRE_FIELD_AT(repYBFileRec, Content, 16);
WIRE_FIELD_AT(repYBFileRec, Field24, 24);
WIRE_FIELD_AT(repYBFileRec, Reserved, 32);
WIRE_SIZE_IS(repUploadYBFileReq, 56);
WIRE_FIELD_AT(repUploadYBFileReq, TmpFileName, 48);
WIRE_SIZE_IS(repUploadYBFileResp, 32);
WIRE_FIELD_AT(repUploadYBFileResp, status, 4);
WIRE_FIELD_AT(repUploadYBFileResp, errCode, 8);
WIRE_FIELD_AT(repUploadYBFileResp, errMsg, 16);
WIRE_FIELD_AT(repUploadYBFileResp, TmpFileName, 24);
WIRE_SIZE_IS(repDownloadYBFileByIdReq, 24);
WIRE_FIELD_AT(repDownloadYBFileByIdReq, offset, 8);
WIRE_FIELD_AT(repDownloadYBFileByIdReq, TmpFileName, 16);
WIRE_SIZE_IS(repDownloadYBFileByIdResp, 80);
WIRE_FIELD_AT(repDownloadYBFileByIdResp, status, 48);
WIRE_FIELD_AT(repDownloadYBFileByIdResp, errCode, 52);
WIRE_FIELD_AT(repDownloadYBFileByIdResp, errMsg, 56);
WIRE_FIELD_AT(repDownloadYBFileByIdResp, nextOffset, 64);
WIRE_FIELD_AT(repDownloadYBFileByIdResp, TmpFileName, 72);
WIRE_SIZE_IS(repYBFileIdReq, 4);
WIRE_SIZE_IS(repQueryYBFileByNameReq, 8);
WIRE_SIZE_IS(repYBFileListResp, 32);
WIRE_FIELD_AT(repYBFileListResp, files, 8);
WIRE_FIELD_AT(repYBFileListResp, status, 16);
WIRE_FIELD_AT(repYBFileListResp, errCode, 20);
WIRE_FIELD_AT(repYBFileListResp, errMsg, 24);
WIRE_SIZE_IS(repQueryYBFileByIdResp, 64);
WIRE_FIELD_AT(repQueryYBFileByIdResp, status, 48);
WIRE_FIELD_AT(repQueryYBFileByIdResp, errCode, 52);
WIRE_FIELD_AT(repQueryYBFileByIdResp, errMsg, 56);
WIRE_SIZE_IS(repYBFileStatusResp, 16);
WIRE_FIELD_AT(repYBFileStatusResp, errCode, 4);
WIRE_FIELD_AT(repYBFileStatusResp, errMsg, 8);
WIRE_SIZE_IS(repUpdateYBFileReq, 56);
WIRE_FIELD_AT(repUpdateYBFileReq, updateMap, 48);

WIRE_SIZE_IS(repYBUserApplDefRec, 48);
WIRE_FIELD_AT(repYBUserApplDefRec, ClientId, 4);
WIRE_FIELD_AT(repYBUserApplDefRec, ApplicationName, 8);
WIRE_FIELD_AT(repYBUserApplDefRec, AppTag, 16);
WIRE_FIELD_AT(repYBUserApplDefRec, SuspendScript, 24);
WIRE_FIELD_AT(repYBUserApplDefRec, ResumeScript, 32);
WIRE_FIELD_AT(repYBUserApplDefRec, UpdateMask, 40);
WIRE_SIZE_IS(repAddYBUserApplDefResp, 24);
WIRE_SIZE_IS(repUpdateYBUserApplDefResp, 16);
WIRE_SIZE_IS(repQueryYBUserApplDefByIdResp, 64);
WIRE_FIELD_AT(repQueryYBUserApplDefByIdResp, status, 48);
WIRE_FIELD_AT(repQueryYBUserApplDefByIdResp, errCode, 52);
WIRE_FIELD_AT(repQueryYBUserApplDefByIdResp, errMsg, 56);
WIRE_SIZE_IS(repGetYBUserApplDefResp, 32);
