// Records of the product files stored in the catalogue (table YBFile, one
// row per file of a volume): the file record and the argument and result
// records of the upload, download, queries, update and deletes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/FileTables.h"

// Longest file name the Name column holds.
constexpr size_t kMaxYBFileNameLength = sizeof(YBFile_t::Name) - 1;

// Bytes of file content that travel in one reply, and in one temporary file
// step of a download.
constexpr size_t kYBFileChunkSize = 0x40000;

// One stored file. The content is not owned by the record.
struct YBFileRecord_t {
    int32_t id = -1;
    int32_t volumeId = -1;
    std::string name;
    int32_t flags = 0;
    const char* content = nullptr;
};

struct repYBFileRec;

// The file as a list reply sends it: id, volume id and the name, pointing
// into the record (an empty name too, never null); no content.
void YBSet(repYBFileRec& dst, const YBFileRecord_t& src);

// The error codes of the results are set on failure only.
struct UploadYBFileArgs_t {
    YBFileRecord_t file;  // volume id, name and content are read
};
struct UploadYBFileRet_t {
    int32_t fileId = 0;
    int32_t errCode = 0;
    std::string errMsg;
};

struct DownloadYBFileByIdArgs_t {
    int32_t fileId = -1;
};
// On success the file's content is a copy made with malloc that the caller
// releases with free.
struct DownloadYBFileByIdRet_t {
    YBFileRecord_t file;
    int32_t errCode = 0;
    std::string errMsg;
};

struct QueryYBFileByVolIdArgs_t {
    int32_t volumeId = -1;
};
struct QueryYBFileByIdArgs_t {
    int32_t fileId = -1;
};
struct QueryYBFileByNameArgs_t {
    std::string name;
};
struct QueryYBFileByVolIdRet_t {
    std::vector<YBFileRecord_t> files;
    int32_t errCode = 0;
    std::string errMsg;
};
struct QueryYBFileByNameRet_t {
    std::vector<YBFileRecord_t> files;
    int32_t errCode = 0;
    std::string errMsg;
};
struct QueryYBFileByIdRet_t {
    YBFileRecord_t file;
    int32_t errCode = 0;
    std::string errMsg;
};
struct GetYBFileListRet_t {
    std::vector<YBFileRecord_t> files;
    int32_t errCode = 0;  // -4 when the list could not be read
    std::string errMsg;
};

// The update map selects what is written; 0 writes both.
struct UpdateYBFileArgs_t {
    static const uint64_t NameSet = 1;
    static const uint64_t VolumeIdSet = 2;

    YBFileRecord_t file;  // id, volume id and name are read
    uint64_t updateMap = 0;

    bool IsNameSet() const { return (updateMap & NameSet) != 0; }
    bool IsVolumeIdSet() const { return (updateMap & VolumeIdSet) != 0; }
};
struct UpdateYBFileRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct DeleteYBFileByIdArgs_t {
    int32_t fileId = -1;
};
struct DeleteYBFileByIdRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// Every file of one volume.
struct DeleteYBFileByVolIdArgs_t {
    explicit DeleteYBFileByVolIdArgs_t(int32_t id = -1) : volumeId(id) {}
    int32_t volumeId;
};
struct DeleteYBFileByVolIdRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// Makes a content safe to send to the database server, which reads a
// backslash right before CR LF as a line continuation: each backslash-CR-LF
// becomes backslash, backslash, CR, LF, CR, LF, which the server reads back
// as the three characters. Nothing else is changed.
void avoidBackSlashCRLFProblemWithSQLServer(std::string* content);
