// Product files stored in the catalogue: upload (the insert), download (the
// read with content), the queries and the list of file descriptions, rename
// or move, and the deletes by id and by volume, with the inline request cases
// of the queries, the list, the update and the deletes. The staged transfers
// of 0x35000143 and 0x35000145 are in files/FileTransfer.cpp.
#include "files/StoredFiles.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/StoredFileCases.h"
#include "files/StoredFileMessages.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/FileTables.h"
#include "host/db/SqlText.h"
#include "rows/Db/Cursor/YBGetYBFileList.h"
#include "rows/Db/Cursor/YBQueryYBFileById.h"
#include "rows/Db/Cursor/YBQueryYBFileByName.h"
#include "rows/Db/Cursor/YBQueryYBFileByVolId.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "service/Utils.h"

using steps::Fail;

namespace {

// A longer name would be cut by the column and stored as another name.
const char NameTooLongText[] = "YB File name is too long";

std::string NameIs(const std::string& name) { return "Name = '" + SqlEscape(name) + "'"; }

std::string ColumnText(const char* column, size_t size) { return std::string(column, strnlen(column, size)); }

// A file description of a cursor row.
template <typename Row>
YBFileRecord_t FileOfRow(const Row& row)
{
    YBFileRecord_t file;
    file.id = row.id;
    file.volumeId = row.VolumeId;
    file.name = ColumnText(row.Name, sizeof row.Name);
    file.flags = row.Flags;
    return file;
}

// Reads every row of an opened cursor into the list: 0 when all were read
// (the list may be empty), else the database code with the list emptied.
template <typename Cursor>
int ReadFiles(Cursor& cursor, std::vector<YBFileRecord_t>& files)
{
    files.clear();
    std::vector<typename Cursor::Row> rows;
    const int rc = ZXDBReadList(cursor, rows);
    if (rc != 0) return rc;
    for (const auto& row : rows) files.push_back(FileOfRow(row));
    return 0;
}

// Points a row at content the caller owns for as long as the holder lives.
class LentContent {
public:
    LentContent(YBFile_t& row, const char* content) : m_row(row) { m_row.Content = const_cast<char*>(content); }
    ~LentContent() { m_row.Content = nullptr; }
    LentContent(const LentContent&) = delete;
    LentContent& operator=(const LentContent&) = delete;

private:
    YBFile_t& m_row;
};

}  // namespace

void avoidBackSlashCRLFProblemWithSQLServer(std::string* content)
{
    static const std::string found = "\\\r\n";
    static const std::string replacement = "\\\\\r\n\r\n";
    size_t pos = content->find(found);
    if (pos == std::string::npos) return;
    // One pass: what a replacement brings is not searched again.
    std::string rewritten;
    rewritten.reserve(content->size() + content->size() / 2);
    size_t from = 0;
    for (; pos != std::string::npos; pos = content->find(found, from)) {
        rewritten.append(*content, from, pos - from).append(replacement);
        from = pos + found.size();
    }
    rewritten.append(*content, from, std::string::npos);
    content->swap(rewritten);
}

bool ReplicationMgr::UploadYBFile(const UploadYBFileArgs_t& args, UploadYBFileRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UploadYBFile()";
    const YBFileRecord_t& file = args.file;
    const std::string volume = std::to_string(file.volumeId);
    ret.errMsg = "";
    ret.fileId = 0;

    if (file.content == nullptr || file.name.empty() || file.volumeId < 0)
        return Fail(*this, ret, kErrMissingInput, "Some information to receive the YB File is missing",
                    "\n\tYB File Name = " + (file.name.empty() ? std::string("N/A") : EvDebug::escaped(file.name)) +
                        "\n\tContent     = " + (file.content != nullptr ? "OK" : "NULL") +
                        "\n\tVolume ID   = " + volume,
                    ProgNameInserts, Fn, __LINE__);
    if (file.name.size() > kMaxYBFileNameLength)
        return Fail(*this, ret, kErrTooLong, NameTooLongText,
                    "\n\tVolume ID = " + volume + "\n\tLength    = " + std::to_string(file.name.size()),
                    ProgNameInserts, Fn, __LINE__);

    CYBFileDB db;
    const std::string where = "VolumeId = " + volume + " AND " + NameIs(file.name);
    unsigned int count = 0;
    if (!db.getNRows(where.c_str(), count, tran))
        return Fail(
            *this, ret, kErrDatabase, "File information from the database cannot be accessed",
            "\n\tsWhere = " + EvDebug::escaped(where) + "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
            ProgNameInserts, Fn, __LINE__);
    if (count > 0)
        return Fail(*this, ret, kErrAlreadyExists, "The file in this volume is already in the database",
                    "\n\tsWhere = " + EvDebug::escaped(where) + "\n\tCount  = " + std::to_string(count),
                    ProgNameInserts, Fn, __LINE__);

    YBFile_t row;
    std::memcpy(row.Name, file.name.data(), file.name.size());  // fits: length checked above
    row.VolumeId = file.volumeId;
    row.Flags = 0;
    // The content goes to the insert where it is, unless it must be rewritten.
    std::string rewritten;
    const char* content = file.content;
    if (std::strstr(content, "\\\r\n") != nullptr) {
        rewritten = content;
        avoidBackSlashCRLFProblemWithSQLServer(&rewritten);
        content = rewritten.c_str();
    }
    bool inserted;
    {
        LentContent lent(row, content);
        inserted = db.insert(row, tran);
    }
    if (!inserted)
        return Fail(*this, ret, kErrDatabase, "YB File cannot be added to the database",
                    "\n\tVolume ID   = " + volume + "\n\tYB File Name = " + EvDebug::escaped(file.name) +
                        "\n\tDB Err Code = " + std::to_string(db.getErrorCode()),
                    ProgNameInserts, Fn, __LINE__);

    ret.fileId = row.id;
    return true;
}

bool ReplicationMgr::DownloadYBFile(const DownloadYBFileByIdArgs_t& args, DownloadYBFileByIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DownloadYBFile()";
    const int32_t id = args.fileId;

    if (id < 0)
        return Fail(*this, ret, kErrInvalidId, "Id is invalid", "\n\tID = " + std::to_string(id), ProgNameQueries, Fn,
                    __LINE__);

    // The content is read straight into the caller's copy.
    CYBFileDB db;
    YBFile_t row;
    char* read = nullptr;
    size_t length = 0;
    const auto room = [](size_t bytes) { return static_cast<char*>(AllocReplyArray(bytes)); };
    const bool found = db.getInfo(id, row, room, read, length, tran);
    std::unique_ptr<char, void (*)(void*)> copy(read, &free);
    const int code = db.getErrorCode();
    if (!found && code != DB_NO_MEMORY)
        return Fail(*this, ret, code == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    code == DB_NO_MORE_ROWS ? "YB File not found" : "Could not check YB File information from DB",
                    "\n\tCYBFileDB::getInfo() failed\n\tID = " + std::to_string(id) +
                        "\n\tDB Err Code = " + std::to_string(code),
                    ProgNameQueries, Fn, __LINE__);
    if (found && read == nullptr)
        return Fail(*this, ret, kErrEmpty, "The YB File is empty", "\n\tID = " + std::to_string(id), ProgNameQueries,
                    Fn, __LINE__);

    ret.file.id = row.id;
    ret.file.volumeId = row.VolumeId;
    ret.file.name = ColumnText(row.Name, sizeof row.Name);
    if (!found)
        return Fail(*this, ret, kErrNoMemory, "Not enough memory to copy YB File",
                    "\n\tID = " + std::to_string(id) + "\n\tName = " + EvDebug::escaped(ret.file.name) +
                        "\n\tMemory required = " + std::to_string(length + 1) + " bytes",
                    ProgNameQueries, Fn, __LINE__);
    ret.file.content = static_cast<char*>(copy.release());

    m_LogMsg << "\tFile " << EvDebug::escaped(ret.file.name) << " from volume id " << ret.file.volumeId
             << " has been downloaded";
    WriteLogMsg(ProgNameQueries, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryYBFile(const QueryYBFileByVolIdArgs_t& args, QueryYBFileByVolIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryYBFile()";
    const int32_t volumeId = args.volumeId;

    ret.files.clear();
    if (volumeId < 1)
        return Fail(*this, ret, kErrInvalidId, "YB Files could not be queried with invalid volume ID",
                    "\n\tVolume ID = " + std::to_string(volumeId), ProgNameQueries, Fn, __LINE__);

    YBQueryYBFileByVolId cursor(tran);
    cursor.setValues(volumeId);
    const int rc = ReadFiles(cursor, ret.files);
    if (rc != 0)
        return Fail(*this, ret, kErrDatabase, "Could not get YB File information from the database",
                    "\n\tgetNextRow(YBQueryYBFileByVolId) failed\n\tVolume ID = " + std::to_string(volumeId) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryYBFile(const QueryYBFileByNameArgs_t& args, QueryYBFileByNameRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryYBFile()";

    ret.files.clear();
    if (args.name.empty())
        return Fail(*this, ret, kErrMissingInput, "YB Files could not be queried with an empty name", "",
                    ProgNameQueries, Fn, __LINE__);

    YBQueryYBFileByName cursor(tran);
    cursor.setValues(args.name.c_str());
    const int rc = ReadFiles(cursor, ret.files);
    if (rc != 0)
        return Fail(*this, ret, kErrDatabase, "Could not get YB File information from the database",
                    "\n\tgetNextRow(YBQueryYBFileByName) failed\n\tName = " + EvDebug::escaped(args.name) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameQueries, Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::QueryYBFile(const QueryYBFileByIdArgs_t& args, QueryYBFileByIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::QueryYBFile()";
    const int32_t id = args.fileId;

    if (id < 0)
        return Fail(*this, ret, kErrInvalidId, "YB Files could not be queried with an invalid id",
                    "\n\tID = " + std::to_string(id), ProgNameQueries, Fn, __LINE__);

    YBQueryYBFileById cursor(tran);
    cursor.setValues(id);
    const int rc = ZXDBReadOne(cursor);
    if (rc == DB_ROW_OK) {
        ret.file = FileOfRow(*cursor.getDataPtr());
        ret.errMsg = "";
        return true;
    }
    return Fail(
        *this, ret, rc == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
        rc == DB_NO_MORE_ROWS ? "YB File Not Found" : "Database Failure while trying to access the YB File Information",
        "\n\tgetOneRow(YBQueryYBFileById) failed\n\tID = " + std::to_string(id) +
            "\n\tDB Err Code = " + std::to_string(rc),
        ProgNameQueries, Fn, __LINE__);
}

bool ReplicationMgr::GetYBFileList(GetYBFileListRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::GetYBFileList()";

    YBGetYBFileList cursor(tran);
    cursor.setValues();
    const int rc = ReadFiles(cursor, ret.files);
    if (rc != 0)
        return Fail(*this, ret, kErrDatabase, "Cannot get the list of YB files from the database",
                    "\n\tgetNextRow(YBGetYBFileList) failed\n\tDB Err Code = " + std::to_string(rc), ProgNameGetLists,
                    Fn, __LINE__);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::UpdateYBFile(const UpdateYBFileArgs_t& args, UpdateYBFileRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::UpdateYBFile()";
    const YBFileRecord_t& file = args.file;
    const std::string volume = std::to_string(file.volumeId);

    if (file.id < 1)
        return Fail(*this, ret, kErrInvalidId, "Cannot update YB File information with invalid id",
                    "\n\tID = " + std::to_string(file.id), ProgNameUpdates, Fn, __LINE__);

    std::string set;
    bool namesFile;
    if (args.updateMap != 0) {
        if ((args.IsNameSet() && file.name.empty()) || (args.IsVolumeIdSet() && file.volumeId < 0))
            return Fail(*this, ret, kErrMissingInput,
                        "YB File information cannot be update with an empty file name or an invalid volume id",
                        "\n\tID = " + std::to_string(file.id) + "\n\tVolume ID = " + volume, ProgNameUpdates, Fn,
                        __LINE__);
        if (args.IsNameSet()) set = NameIs(file.name);
        if (args.IsVolumeIdSet()) set += (set.empty() ? "" : ", ") + std::string("VolumeID = ") + volume;
        namesFile = args.IsNameSet();
    } else {
        if (file.volumeId < 0 || file.name.empty())
            return Fail(*this, ret, kErrMissingInput, "YB File information cannot be update with invalid values",
                        "\n\tID = " + std::to_string(file.id) + "\n\tVolume ID = " + volume, ProgNameUpdates, Fn,
                        __LINE__);
        set = "VolumeId = " + volume + ", " + NameIs(file.name);
        namesFile = true;
    }
    if (set.empty())
        return Fail(*this, ret, kErrMissingInput, "No information was received to update a YB File",
                    "\n\tID = " + std::to_string(file.id) + "\n\tUpdate map = " + std::to_string(args.updateMap),
                    ProgNameUpdates, Fn, __LINE__);
    if (namesFile && file.name.size() > kMaxYBFileNameLength)
        return Fail(*this, ret, kErrTooLong, NameTooLongText,
                    "\n\tID = " + std::to_string(file.id) + "\n\tLength = " + std::to_string(file.name.size()),
                    ProgNameUpdates, Fn, __LINE__);

    CYBFileDB db;
    if (!db.Update(file.id, set.c_str(), tran)) {
        const int code = db.getErrorCode();
        return Fail(*this, ret, code == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    code == DB_NO_MORE_ROWS ? "YB File record not found"
                                            : "Could not update YB File information in the database",
                    "\n\tCYBFileDB::Update() failed\n\tID = " + std::to_string(file.id) +
                        "\n\tsUpdate = " + EvDebug::escaped(set) + "\n\tTran = 0x" + steps::TranHandle(tran) +
                        "\n\tDB Err Code = " + std::to_string(code),
                    ProgNameUpdates, Fn, __LINE__);
    }

    m_LogMsg << "\tYB File ID " << file.id << " was updated successfully...";
    WriteLogMsg(ProgNameUpdates, Fn, __LINE__, MSG);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::DeleteYBFile(const DeleteYBFileByIdArgs_t& args, DeleteYBFileByIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteYBFile()";
    const int32_t id = args.fileId;

    if (id < 1)
        return Fail(*this, ret, kErrInvalidId, "YB File cannot be removed from the database with an invalid id",
                    "\n\tID = " + std::to_string(id), ProgNameDeletes, Fn, __LINE__);

    CYBFileDB db;
    if (!db.remove(id, tran)) {
        const int code = db.getErrorCode();
        return Fail(*this, ret, code == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    code == DB_NO_MORE_ROWS ? "Volume has no YB Files" : "Database error trying to delete a YB File",
                    "\n\tCYBFileDB::remove() failed\n\tID = " + std::to_string(id) + "\n\tTran = 0x" +
                        steps::TranHandle(tran) + "\n\tDB Err Code = " + std::to_string(code),
                    ProgNameDeletes, Fn, __LINE__);
    }

    m_LogMsg << "YB File associated with Id " << id << " was remove successfully";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
    ret.errMsg = "";
    return true;
}

bool ReplicationMgr::DeleteYBFile(const DeleteYBFileByVolIdArgs_t& args, DeleteYBFileByVolIdRet_t& ret, DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::DeleteYBFile()";
    const int32_t volumeId = args.volumeId;

    if (volumeId < 1)
        return Fail(*this, ret, kErrInvalidId, "YB File cannot be removed from the database with an invalid volume id",
                    "\n\tVolume ID = " + std::to_string(volumeId), ProgNameDeletes, Fn, __LINE__);

    CYBFileDB db;
    const std::string where = "VolumeId = " + std::to_string(volumeId);
    if (!db.remove(where.c_str(), tran)) {
        const int code = db.getErrorCode();
        if (code == DB_NO_MORE_ROWS && !m_bReportMissingFiles) {
            // The caller counts a volume without files as nothing to delete.
            ret.errCode = kErrNotFound;
            ret.errMsg = "";
            return false;
        }
        return Fail(*this, ret, code == DB_NO_MORE_ROWS ? kErrNotFound : kErrDatabase,
                    code == DB_NO_MORE_ROWS ? "Volume has no YB Files" : "Database error trying to delete a YB File",
                    "\n\toYBFileTbl.remove() failed\n\tsWhere = " + where + "\n\tTran = 0x" + steps::TranHandle(tran) +
                        "\n\tDB Err Code = " + std::to_string(code),
                    ProgNameDeletes, Fn, __LINE__);
    }

    m_LogMsg << "YB Files associated with Volume Id " << volumeId << " were remove successfully";
    WriteLogMsg(ProgNameDeletes, Fn, __LINE__, ERR);
    ret.errMsg = "";
    return true;
}

// ---- Conversion -------------------------------------------------------------

void YBSet(repYBFileRec& dst, const YBFileRecord_t& src)
{
    dst.id = static_cast<uint32_t>(src.id);
    dst.VolumeId = src.volumeId;
    dst.Name = const_cast<char*>(src.name.c_str());
}

// ---- Inline request cases ---------------------------------------------------

namespace {

const char NoListMemoryText[] = "Not enough memory to retrieve list of YB Files";
const char NoFileListMemoryText[] = "Not enough memory available to get list of YB Files";

// A list case: the files of the operation's result into the reply's array,
// freed after the send. When the array cannot be allocated, the reply
// carries the text and -5, and an ERR entry the text and the details.
template <typename Ret, typename Operation, typename Details>
void ServeFileList(ReplicationMgr& mgr, unsigned long code, const Ret& ret, Operation&& operation,
                   const char* noMemoryText, Details&& details)
{
    AutoFreeMem_t array;
    AnswerInlineCase<repYBFileListResp>(
        mgr, code, ret, cases::Message::PointIntoResult, operation,
        [&](repYBFileListResp& r) {
            if (steps::CopyListToReply(array, r.files, r.count, ret.files)) return true;
            mgr.log() << "\tEvent: " << noMemoryText << details();
            mgr.WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);
            return false;
        },
        noMemoryText);
}

void ServeQueryYBFileByVolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBFileByVolIdArgs_t args;
    QueryYBFileByVolIdRet_t ret;
    args.volumeId = cases::RequestOf<repYBFileIdReq>(buf).id;
    ServeFileList(
        mgr, code, ret, [&]() { return mgr.QueryYBFile(args, ret, nullptr); }, NoListMemoryText,
        [&]() {
            return "\n\tNumber of YB Files = " + std::to_string(ret.files.size()) +
                   "\n\tVolume id = " + std::to_string(args.volumeId);
        });
}

void ServeQueryYBFileByName(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBFileByNameArgs_t args;
    QueryYBFileByNameRet_t ret;
    const char* name = cases::RequestOf<repQueryYBFileByNameReq>(buf).Name;
    args.name = name != nullptr ? name : "";
    ServeFileList(
        mgr, code, ret, [&]() { return mgr.QueryYBFile(args, ret, nullptr); }, NoListMemoryText,
        [&]() {
            return "\n\tNumber of YB Files = " + std::to_string(ret.files.size()) +
                   "\n\tName = " + EvDebug::escaped(args.name);
        });
}

void ServeGetYBFileList(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    GetYBFileListRet_t ret;
    ServeFileList(
        mgr, code, ret, [&]() { return mgr.GetYBFileList(ret, nullptr); }, NoFileListMemoryText,
        [&]() { return "\n\tBuffer Size = " + std::to_string(sizeof(repYBFileRec) * ret.files.size()); });
}

void ServeQueryYBFileById(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    QueryYBFileByIdArgs_t args;
    QueryYBFileByIdRet_t ret;
    args.fileId = cases::RequestOf<repYBFileIdReq>(buf).id;
    AnswerInlineCase<repQueryYBFileByIdResp>(
        mgr, code, ret, cases::Message::PointIntoResult, [&]() { return mgr.QueryYBFile(args, ret, nullptr); },
        [&](repQueryYBFileByIdResp& r) {
            r.file.id = static_cast<uint32_t>(ret.file.id);
            r.file.VolumeId = ret.file.volumeId;
            r.file.Name = ret.file.name.empty() ? nullptr : const_cast<char*>(ret.file.name.c_str());
        });
}

void ServeDeleteYBFileById(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteYBFileByIdArgs_t args;
    DeleteYBFileByIdRet_t ret;
    args.fileId = cases::RequestOf<repYBFileIdReq>(buf).id;
    AnswerOperationInTran<repYBFileStatusResp>(mgr, code, args, ret, &ReplicationMgr::DeleteYBFile);
}

void ServeDeleteYBFileByVolId(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    DeleteYBFileByVolIdArgs_t args(cases::RequestOf<repYBFileIdReq>(buf).id);
    DeleteYBFileByVolIdRet_t ret;
    AnswerOperationInTran<repYBFileStatusResp>(mgr, code, args, ret, &ReplicationMgr::DeleteYBFile);
}

void ServeUpdateYBFile(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repUpdateYBFileReq& req = cases::RequestOf<repUpdateYBFileReq>(buf);
    UpdateYBFileArgs_t args;
    UpdateYBFileRet_t ret;
    args.file.id = static_cast<int32_t>(req.file.id);
    args.file.volumeId = req.file.VolumeId;
    args.file.name = req.file.Name != nullptr ? req.file.Name : "";
    args.updateMap = req.updateMap;
    AnswerOperationInTran<repYBFileStatusResp>(mgr, code, args, ret, &ReplicationMgr::UpdateYBFile);
}

}  // namespace

const ServedCase QueryYBFileByVolIdCase =
    cases::Serve<repYBFileIdReq, repQueryYBFileByVolIdResp>(&ServeQueryYBFileByVolId);
const ServedCase QueryYBFileByIdCase = cases::Serve<repYBFileIdReq, repQueryYBFileByIdResp>(&ServeQueryYBFileById);
const ServedCase QueryYBFileByNameCase =
    cases::Serve<repQueryYBFileByNameReq, repQueryYBFileByNameResp>(&ServeQueryYBFileByName);
const ServedCase GetYBFileListCase = cases::Serve<cases::NoRequest, repGetYBFileListResp>(&ServeGetYBFileList);
const ServedCase DeleteYBFileByIdCase =
    cases::Serve<repYBFileIdReq, repDeleteYBFileByIdResp>(&ServeDeleteYBFileById);
const ServedCase DeleteYBFileByVolIdCase =
    cases::Serve<repYBFileIdReq, repDeleteYBFileByVolIdResp>(&ServeDeleteYBFileByVolId);
const ServedCase UpdateYBFileCase = cases::Serve<repUpdateYBFileReq, repUpdateYBFileResp>(&ServeUpdateYBFile);
