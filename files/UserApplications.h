// User application definitions: per client a named application with a short
// tag and the scripts that suspend and resume it around a snapshot. The
// record, the argument and result records of add, update, delete, query and
// list, the wire record, the request and reply structures of their cases and
// the conversions between the three forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/AppViewReplies.h"
#include "host/db/FileTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// Update mask bits: the columns an update writes (a mask of 0 writes them all).
constexpr int32_t YB_USER_APP_NAME = 0x2;
constexpr int32_t YB_USER_APP_TAG = 0x4;
constexpr int32_t YB_USER_APP_SUSPEND_SCRIPT = 0x8;
constexpr int32_t YB_USER_APP_RESUME_SCRIPT = 0x10;

struct YBUserAppDefsRecord_t {
    int32_t id = -1;
    int32_t ClientId = -1;
    std::string ApplicationName;
    std::string AppTag;
    std::string SuspendScript;
    std::string ResumeScript;
    int32_t UpdateMask = 0;  // read by the update only, never stored
};

// The error codes of the results are set on failure only.
struct AddYBUserAppDefsArgs_t {
    YBUserAppDefsRecord_t application;
};
struct AddYBUserAppDefsRet_t {
    int32_t id = 0;
    std::string errMsg;
    int32_t errCode = 0;
};

struct UpdateYBUserAppDefsArgs_t {
    YBUserAppDefsRecord_t application;
};
struct UpdateYBUserAppDefsRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct DeleteYBUserAppDefsArgs_t {
    int32_t id = -1;
};
struct DeleteYBUserAppDefsRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct QueryYBUserAppDefsArgs_t {
    int32_t id = -1;
};
struct QueryYBUserAppDefsRet_t {
    YBUserAppDefsRecord_t application;
    std::string errMsg;
    int32_t errCode = 0;
};

// Every definition in id order; empty after a failure.
struct GetYBUserApplicationListListRet_t {
    std::vector<YBUserAppDefsRecord_t> applications;
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Wire record, requests and replies ---------------------------------------

// A definition on the wire: each text null when empty.
struct repYBUserApplDefRec {
    static constexpr bool kHoldsPointers = true;
    int32_t id;
    int32_t ClientId;
    char* ApplicationName;
    char* AppTag;
    char* SuspendScript;
    char* ResumeScript;
    uint32_t UpdateMask;
};

// Delete and query: the definition id.
struct repYBUserApplDefByIdReq {
    int32_t id;
};

// The texts of these replies point into the result records.
struct repAddYBUserApplDefResp : repFilesNewIdResp {};
struct repUpdateYBUserApplDefResp : repFilesStatusResp {};
struct repDeleteYBUserApplDefResp : repFilesStatusResp {};
struct repQueryYBUserApplDefByIdResp {
    repYBUserApplDefRec application;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
struct repGetYBUserApplDefResp : repFilesListResp<repYBUserApplDefRec> {};

// ---- Conversions ---------------------------------------------------------------

// Wire to record: a null text reads as empty; the update mask is taken.
void YBSet(YBUserAppDefsRecord_t& dst, const repYBUserApplDefRec& src);
// Record to wire: each text points into the record, null when empty.
void YBSet(repYBUserApplDefRec& dst, const YBUserAppDefsRecord_t& src);
// Row to record.
void YBSet(YBUserAppDefsRecord_t& dst, const YBUserApplicationDef_t& src);
// Record to row: the row is cleared, then id, client id and the texts are
// copied; a text longer than its column stops the conversion with -18 and
// its message in the destination ("Application Name is too long",
// "Application tag is too long", "Suspend script is too long", "Resume
// script it too long", checked in that order). The update mask is not stored.
bool YBSet(YBDBDst_t<YBUserApplicationDef_t>& dst, const YBUserAppDefsRecord_t& src);

extern template bool CopyVectorToMsg(repYBUserApplDefRec**, const std::vector<YBUserAppDefsRecord_t>&);
