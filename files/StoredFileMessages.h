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
