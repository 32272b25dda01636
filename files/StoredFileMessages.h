// Request and reply structures of the stored product files (codes 0x35000143
// to 0x35000154). Host byte order; a text is a pointer to a NUL-terminated
// string; every reply is all zeros before it is built.
#pragma once

#include <cstddef>
#include <cstdint>

// One file on the wire. The fields from +24 on are left zero.
struct repYBFileRec {
    uint32_t id;
    int32_t VolumeId;
    char* Name;
    char* Content;
    uint32_t Field24;
    uint32_t unused28;
    char Reserved[12];
    uint32_t unused44;
};

// 0x35000143: one file in a single request (name and content), a chunk (no
// name; the temporary file name of the chunks before it, null for the
// first), or the final request of a chunked upload (name and temporary file
// name, no content).
struct repUploadYBFileReq {
    static constexpr bool kHoldsPointers = true;
    repYBFileRec file;
    char* TmpFileName;
};
struct repUploadYBFileResp {
    uint32_t fileId;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    char* TmpFileName;  // a chunk's temporary file, for the next request
};

// 0x35000145: the first request names no temporary file; the following ones
// the one the reply before named, with the offset in it.
struct repDownloadYBFileByIdReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t fileId;
    uint64_t offset;
    char* TmpFileName;
};
struct repDownloadYBFileByIdResp {
    repYBFileRec file;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint64_t nextOffset;
    char* TmpFileName;
};

// 0x35000147, 0x35000149, 0x3500014f, 0x35000151: one id.
struct repYBFileIdReq {
    int32_t id;
};
// 0x3500014b.
struct repQueryYBFileByNameReq {
    static constexpr bool kHoldsPointers = true;
    char* Name;
};

// 0x35000147, 0x3500014b and 0x3500014d: the files with id, volume id and name.
struct repYBFileListResp {
    uint32_t count;
    repYBFileRec* files;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
using repQueryYBFileByVolIdResp = repYBFileListResp;
using repQueryYBFileByNameResp = repYBFileListResp;
using repGetYBFileListResp = repYBFileListResp;

struct repQueryYBFileByIdResp {
    repYBFileRec file;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// 0x3500014f, 0x35000151, 0x35000153.
struct repYBFileStatusResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
using repDeleteYBFileByIdResp = repYBFileStatusResp;
using repDeleteYBFileByVolIdResp = repYBFileStatusResp;
using repUpdateYBFileResp = repYBFileStatusResp;

// 0x35000153: id, volume id and name of the file record are read.
struct repUpdateYBFileReq {
    static constexpr bool kHoldsPointers = true;
    repYBFileRec file;
    uint64_t updateMap;
};

#define YB_FILE_FIELD_AT(Type, field, offset) \
    static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")

static_assert(sizeof(repYBFileRec) == 48, "repYBFileRec size");
YB_FILE_FIELD_AT(repYBFileRec, VolumeId, 4);
YB_FILE_FIELD_AT(repYBFileRec, Name, 8);
YB_FILE_FIELD_AT(repYBFileRec, Content, 16);
YB_FILE_FIELD_AT(repYBFileRec, Field24, 24);
YB_FILE_FIELD_AT(repYBFileRec, Reserved, 32);
static_assert(sizeof(repUploadYBFileReq) == 56, "repUploadYBFileReq size");
YB_FILE_FIELD_AT(repUploadYBFileReq, TmpFileName, 48);
static_assert(sizeof(repUploadYBFileResp) == 32, "repUploadYBFileResp size");
YB_FILE_FIELD_AT(repUploadYBFileResp, status, 4);
YB_FILE_FIELD_AT(repUploadYBFileResp, errCode, 8);
YB_FILE_FIELD_AT(repUploadYBFileResp, errMsg, 16);
YB_FILE_FIELD_AT(repUploadYBFileResp, TmpFileName, 24);
static_assert(sizeof(repDownloadYBFileByIdReq) == 24, "repDownloadYBFileByIdReq size");
YB_FILE_FIELD_AT(repDownloadYBFileByIdReq, offset, 8);
YB_FILE_FIELD_AT(repDownloadYBFileByIdReq, TmpFileName, 16);
static_assert(sizeof(repDownloadYBFileByIdResp) == 80, "repDownloadYBFileByIdResp size");
YB_FILE_FIELD_AT(repDownloadYBFileByIdResp, status, 48);
YB_FILE_FIELD_AT(repDownloadYBFileByIdResp, errCode, 52);
YB_FILE_FIELD_AT(repDownloadYBFileByIdResp, errMsg, 56);
YB_FILE_FIELD_AT(repDownloadYBFileByIdResp, nextOffset, 64);
YB_FILE_FIELD_AT(repDownloadYBFileByIdResp, TmpFileName, 72);
static_assert(sizeof(repYBFileIdReq) == 4, "repYBFileIdReq size");
static_assert(sizeof(repQueryYBFileByNameReq) == 8, "repQueryYBFileByNameReq size");
static_assert(sizeof(repYBFileListResp) == 32, "repYBFileListResp size");
YB_FILE_FIELD_AT(repYBFileListResp, files, 8);
YB_FILE_FIELD_AT(repYBFileListResp, status, 16);
YB_FILE_FIELD_AT(repYBFileListResp, errCode, 20);
YB_FILE_FIELD_AT(repYBFileListResp, errMsg, 24);
static_assert(sizeof(repQueryYBFileByIdResp) == 64, "repQueryYBFileByIdResp size");
YB_FILE_FIELD_AT(repQueryYBFileByIdResp, status, 48);
YB_FILE_FIELD_AT(repQueryYBFileByIdResp, errCode, 52);
YB_FILE_FIELD_AT(repQueryYBFileByIdResp, errMsg, 56);
static_assert(sizeof(repYBFileStatusResp) == 16, "repYBFileStatusResp size");
YB_FILE_FIELD_AT(repYBFileStatusResp, errCode, 4);
YB_FILE_FIELD_AT(repYBFileStatusResp, errMsg, 8);
static_assert(sizeof(repUpdateYBFileReq) == 56, "repUpdateYBFileReq size");
YB_FILE_FIELD_AT(repUpdateYBFileReq, updateMap, 48);

#undef YB_FILE_FIELD_AT
