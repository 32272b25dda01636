// The staged transfers of stored product files: the upload case 0x35000143
// (one request, or chunks appended to a temporary file and a final request
// that stores it) and the download case 0x35000145 (the first chunk from the
// database, the rest from a temporary file, one chunk per request).
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "files/StoredFileCases.h"
#include "files/StoredFileMessages.h"
#include "files/StoredFiles.h"
#include "files/TransferFiles.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"

using steps::Fail;
using transfer_files::Direction;
using transfer_files::UniqueFd;

namespace {

const char Fn[] = "ReplicationMgr::post()";

const char ForeignFileText[] = "Temporary YB File cannot be manipulated";

// Transfer steps write their failures into this record; the case copies
// them into its reply.
struct StepResult {
    int32_t errCode = 0;
    std::string errMsg;
};

// A temporary file name from a request that this system did not make, or
// not for this direction: nothing is opened, written or removed.
bool RefuseForeignName(ReplicationMgr& mgr, StepResult& ret, const std::string& name, long line)
{
    return Fail(mgr, ret, kErrNotAccessible, ForeignFileText,
                "\n\tTemporary file name = " + EvDebug::escaped(name) + "\n\tNot a temporary file of this system",
                cases::ProgName, Fn, line);
}

// Removes a transfer file that is no longer needed; a failure is logged.
void RemoveTransferFile(ReplicationMgr& mgr, const std::string& name, long line)
{
    if (transfer_files::Remove(name)) return;
    mgr.log() << "\tEvent: Temporary YB File cannot be removed\n\tTemporary file name = " << EvDebug::escaped(name);
    mgr.WriteLogMsg(cases::ProgName, Fn, line, ReplicationMgr::ERR);
}

// Before a transfer starts: removes the transfer files that no request has
// changed for the configured age (transfer_files::MaxAgeSeconds), each logged.
void RemoveAbandonedTransferFiles(ReplicationMgr& mgr)
{
    transfer_files::RemoveAbandoned(transfer_files::MaxAgeSeconds(), [&](const std::string& name, time_t age, bool ok) {
        mgr.log() << "\tEvent: " << (ok ? "Abandoned temporary YB File removed" : "Temporary YB File cannot be removed")
                  << "\n\tTemporary file name = " << EvDebug::escaped(name) << "\n\tUnchanged for " << age << " s";
        mgr.WriteLogMsg(cases::ProgName, Fn, __LINE__, ok ? ReplicationMgr::MSG : ReplicationMgr::ERR);
    });
}

// The size of a file that exists and is not empty; false otherwise.
bool NonEmptySize(const std::string& name, size_t& size)
{
    struct stat st;
    if (stat(name.c_str(), &st) != 0 || st.st_size <= 0) return false;
    size = static_cast<size_t>(st.st_size);
    return true;
}

// The completion entry and the reply of a case that ends outside the
// patterns (a step failed before the transaction, or none is needed).
template <typename Reply>
void AnswerCase(ReplicationMgr& mgr, unsigned long code, Reply& reply, const StepResult& failure, bool ok)
{
    const auto f = cases::StatusOf<Reply>();
    if (ok) {
        reply.status = 1;
        reply.errMsg = nullptr;
    } else {
        cases::SetFailure(reply, f, failure.errMsg.c_str(), failure.errCode, cases::Message::PointIntoResult);
    }
    const cases::CaseLog lit = cases::HandlerLog(code, ReplyCodeFor(code));
    mgr.log() << lit.completed << (reply.status == 1 ? "successfully" : "unsuccessfully") << lit.sending;
    mgr.WriteLogMsg(cases::ProgName, Fn, __LINE__, ReplicationMgr::INFO);
    cases::SendReply(mgr, ReplyCodeFor(code), reply);
}

// ---- Upload -----------------------------------------------------------------

// Writes one chunk at the end of the upload's temporary file; the first
// chunk (no temporary file named) creates a new one. True with its name.
bool AppendChunk(ReplicationMgr& mgr, const repUploadYBFileReq& req, StepResult& ret, std::string& tmpName)
{
    const int32_t volumeId = req.file.VolumeId;
    const char* content = req.file.Content;
    const std::string volume = std::to_string(volumeId);
    if (volumeId < 0 || content == nullptr)
        return Fail(mgr, ret, volumeId < 0 ? kErrInvalidId : kErrMissingInput,
                    "File cannot be uploaded with invalid Volume ID or empty content",
                    "\n\tInput: \n\tVolume ID   = " + volume + "\n\tContent     = " + (content ? "OK" : "Empty"),
                    cases::ProgName, Fn, __LINE__);

    const bool named = req.TmpFileName != nullptr;
    UniqueFd fd;
    int flags;
    if (named) {
        tmpName = req.TmpFileName;
        if (!transfer_files::IsTransferName(tmpName, Direction::Upload))
            return RefuseForeignName(mgr, ret, tmpName, __LINE__);
        flags = transfer_files::AppendFlags;
        fd.reset(transfer_files::Open(tmpName, flags));
    } else {
        RemoveAbandonedTransferFiles(mgr);
        flags = transfer_files::CreateFlags;
        fd.reset(transfer_files::Create(Direction::Upload, volumeId, tmpName));
    }
    mgr.log() << "\t" << (named ? "Opening " : "Creating ") << "temporary file " << EvDebug::escaped(tmpName)
              << " to store information related with volume " << volumeId;
    mgr.WriteLogMsg(cases::ProgName, Fn, __LINE__, ReplicationMgr::INFO);
    if (!fd)
        return Fail(mgr, ret, kErrNotAccessible, "Temporary file to store YB file cannot be opened",
                    "\n\tFile Name = " + EvDebug::escaped(tmpName) + "\n\tVolume ID = " + volume +
                        "\n\tFlags = " + std::to_string(flags),
                    cases::ProgName, Fn, __LINE__);

    if (!transfer_files::WriteAll(fd.get(), content, std::strlen(content))) {
        fd.reset();
        RemoveTransferFile(mgr, tmpName, __LINE__);
        return Fail(mgr, ret, kErrNotAccessible, "YB File cannot be upload. Temporary file update op. failed",
                    "\n\tFile Name  = " + EvDebug::escaped(tmpName) + "\n\tVolume ID  = " + volume, cases::ProgName, Fn,
                    __LINE__);
    }
    return true;
}

// Reads the whole temporary file of a chunked upload into a new buffer,
// which becomes the content of the arguments. The file stays.
bool ReadStagedFile(ReplicationMgr& mgr, const repUploadYBFileReq& req, UploadYBFileArgs_t& args, StepResult& ret,
                    AutoFreeMem_t& buffer, std::string& tmpName)
{
    const std::string fileName = EvDebug::escaped(args.file.name);
    const std::string volume = std::to_string(args.file.volumeId);
    if (req.TmpFileName == nullptr)
        return Fail(mgr, ret, kErrMissingInput, "Temporary file name missing. YB File cannot be uploaded",
                    "\n\tYB File Name = " + fileName, cases::ProgName, Fn, __LINE__);
    tmpName = req.TmpFileName;
    if (!transfer_files::IsTransferName(tmpName, Direction::Upload)) return RefuseForeignName(mgr, ret, tmpName, __LINE__);
    const std::string shownName = EvDebug::escaped(tmpName);

    size_t size = 0;
    if (!NonEmptySize(tmpName, size))
        return Fail(mgr, ret, kErrNotFound, "File Not Found or empty",
                    "\n\tTmp File Name = " + shownName + "\n\tYB File Name  = " + fileName, cases::ProgName, Fn,
                    __LINE__);
    char* data = static_cast<char*>(AllocReplyArray(size + 1));
    if (data == nullptr)
        return Fail(mgr, ret, kErrNoMemory, "Not enough memory to upload YB file into the database",
                    "\n\tTmp File Name  = " + shownName + "\n\tBuffer Size    = " + std::to_string(size),
                    cases::ProgName, Fn, __LINE__);
    buffer = data;
    std::memset(data, 0, size + 1);

    UniqueFd fd(transfer_files::Open(tmpName, transfer_files::ReadFlags));
    if (!fd)
        return Fail(mgr, ret, kErrNotAccessible, "Temporary YB File cannot be accessed",
                    "\n\tTmp File Name   = " + shownName + "\n\tVolume ID       = " + volume, cases::ProgName, Fn,
                    __LINE__);
    if (!transfer_files::ReadAll(fd.get(), data, size))
        return Fail(mgr, ret, kErrNotAccessible, "Temporary YB File cannot be read",
                    "\n\tTemporary File Name    = " + shownName + "\n\tVolume ID              = " + volume,
                    cases::ProgName, Fn, __LINE__);
    args.file.content = data;
    return true;
}

void ServeUploadYBFile(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repUploadYBFileReq& req = cases::RequestOf<repUploadYBFileReq>(buf);
    repUploadYBFileResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    StepResult step;
    std::string tmpName;  // named in the reply until the send

    if (req.file.Name == nullptr) {
        const bool ok = AppendChunk(mgr, req, step, tmpName);
        if (ok) reply.TmpFileName = const_cast<char*>(tmpName.c_str());
        AnswerCase(mgr, code, reply, step, ok);
        return;
    }

    UploadYBFileArgs_t args;
    UploadYBFileRet_t ret;
    args.file.volumeId = req.file.VolumeId;
    args.file.name = req.file.Name;
    AutoFreeMem_t staged;  // the temporary file's content, freed after the send
    if (req.file.Content != nullptr) {
        args.file.content = req.file.Content;
    } else if (!ReadStagedFile(mgr, req, args, step, staged, tmpName)) {
        AnswerCase(mgr, code, reply, step, false);
        return;
    }

    RunInlineTranCase(
        mgr, ReplyCodeFor(code), reply, cases::StatusOf<repUploadYBFileResp>(), ret,
        cases::HandlerLog(code, ReplyCodeFor(code)), cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return mgr.UploadYBFile(args, ret, tran); },
        [&](repUploadYBFileResp& r) { r.fileId = static_cast<uint32_t>(ret.fileId); });
    // The temporary file goes once its content is committed; after a failed
    // store it stays, and the client's retry of this request completes it.
    if (reply.status == 1 && !tmpName.empty()) RemoveTransferFile(mgr, tmpName, __LINE__);
}

// ---- Download ---------------------------------------------------------------

// The first request: the file from the database. A content longer than one
// chunk is cut after the first chunk, and the rest goes into a new
// temporary file named in the reply.
bool FirstDownloadStep(ReplicationMgr& mgr, const repDownloadYBFileByIdReq& req, repDownloadYBFileByIdResp& reply,
                       StepResult& step, AutoFreeMem_t& content, std::string& fileName, std::string& tmpName)
{
    if (DBtran::openCatalogue() != 0) {
        step.errCode = kErrNoTransaction;
        step.errMsg = DBTranErrorMsg;
        return false;
    }
    DownloadYBFileByIdArgs_t args;
    args.fileId = static_cast<int32_t>(req.fileId);
    DownloadYBFileByIdRet_t ret;
    const bool found = mgr.DownloadYBFile(args, ret, nullptr);
    content = const_cast<char*>(ret.file.content);
    if (!found) {
        step.errCode = ret.errCode;
        step.errMsg = ret.errMsg;
        return false;
    }

    char* text = static_cast<char*>(content.get());
    const size_t length = std::strlen(text);
    if (length > kYBFileChunkSize) {
        const std::string id = std::to_string(ret.file.id);
        RemoveAbandonedTransferFiles(mgr);
        UniqueFd fd(transfer_files::Create(Direction::Download, ret.file.volumeId, tmpName));
        if (!fd)
            return Fail(mgr, step, kErrNotAccessible, "Temporary YB File cannot be created",
                        "\n\tofstream() failed\n\tTemporary file name = " + tmpName + "\n\tID = " + id, cases::ProgName,
                        Fn, __LINE__);
        mgr.log() << "\tDatabase file size = " << length;
        mgr.WriteLogMsg(cases::ProgName, Fn, __LINE__, ReplicationMgr::INFO);
        if (!transfer_files::WriteAll(fd.get(), text + kYBFileChunkSize, length - kYBFileChunkSize)) {
            fd.reset();
            RemoveTransferFile(mgr, tmpName, __LINE__);
            return Fail(mgr, step, kErrNotAccessible, "Temporary YB File cannot be created",
                        "\n\tTemporary file name = " + tmpName + "\n\tID = " + id, cases::ProgName, Fn, __LINE__);
        }
        text[kYBFileChunkSize] = '\0';
        reply.TmpFileName = const_cast<char*>(tmpName.c_str());
    }
    fileName = ret.file.name;
    reply.file.id = static_cast<uint32_t>(ret.file.id);
    reply.file.VolumeId = ret.file.volumeId;
    reply.file.Name = fileName.empty() ? nullptr : const_cast<char*>(fileName.c_str());
    reply.file.Content = text;
    reply.nextOffset = 0;
    return true;
}

// A following request: the chunk of the temporary file at the offset. The
// last chunk removes the file.
bool NextDownloadStep(ReplicationMgr& mgr, const repDownloadYBFileByIdReq& req, repDownloadYBFileByIdResp& reply,
                      StepResult& step, AutoFreeMem_t& content, std::string& tmpName)
{
    tmpName = req.TmpFileName;
    if (!transfer_files::IsTransferName(tmpName, Direction::Download))
        return RefuseForeignName(mgr, step, tmpName, __LINE__);
    const std::string shownName = EvDebug::escaped(tmpName);
    const uint64_t offset = req.offset;

    size_t size = 0;
    if (!NonEmptySize(tmpName, size))
        return Fail(mgr, step, kErrNotAccessible, "Temporary YB File cannot be accessed",
                    "\n\tstat(" + shownName + ") failed", cases::ProgName, Fn, __LINE__);
    if (offset > size)
        return Fail(mgr, step, kErrNotAccessible, ForeignFileText,
                    "\n\tOffset = " + std::to_string(offset) + "\n\tFile size = " + std::to_string(size),
                    cases::ProgName, Fn, __LINE__);
    const size_t chunk = offset + kYBFileChunkSize < size ? kYBFileChunkSize : size - offset;

    char* data = static_cast<char*>(AllocReplyArray(chunk + 1));
    if (data == nullptr)
        return Fail(mgr, step, kErrNoMemory, "No memory to transfer YB File",
                    "\n\tTemp File Name" + shownName + "\n\tBuffer size " + std::to_string(chunk), cases::ProgName, Fn,
                    __LINE__);
    content = data;
    std::memset(data, 0, chunk + 1);

    UniqueFd fd(transfer_files::Open(tmpName, transfer_files::ReadFlags));
    if (!fd)
        return Fail(mgr, step, kErrNotAccessible, "Temporary YB File cannot be opened",
                    "\n\tTemp file name " + shownName, cases::ProgName, Fn, __LINE__);
    if (lseek(fd.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        return Fail(mgr, step, kErrNotAccessible, ForeignFileText,
                    "\n\tifstream::seekg() failed\n\tOffset = " + std::to_string(offset), cases::ProgName, Fn,
                    __LINE__);
    if (!transfer_files::ReadAll(fd.get(), data, chunk))
        return Fail(mgr, step, kErrNotAccessible, "Temporary YB File cannot be read",
                    "\n\tifstream::read() failed\n\tOffset = " + std::to_string(offset) +
                        "\n\tBytesToRead = " + std::to_string(chunk),
                    cases::ProgName, Fn, __LINE__);

    reply.file.Content = data;
    if (offset + chunk < size) {
        reply.nextOffset = offset + chunk;
        reply.TmpFileName = const_cast<char*>(tmpName.c_str());
    } else {
        fd.reset();
        RemoveTransferFile(mgr, tmpName, __LINE__);
    }
    return true;
}

void ServeDownloadYBFile(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    const repDownloadYBFileByIdReq& req = cases::RequestOf<repDownloadYBFileByIdReq>(buf);
    repDownloadYBFileByIdResp reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    StepResult step;
    // What the reply points to, kept until the send.
    AutoFreeMem_t content;
    std::string fileName;
    std::string tmpName;

    const bool ok = req.TmpFileName == nullptr ? FirstDownloadStep(mgr, req, reply, step, content, fileName, tmpName)
                                               : NextDownloadStep(mgr, req, reply, step, content, tmpName);
    AnswerCase(mgr, code, reply, step, ok);
}

}  // namespace

const ServedCase UploadYBFileCase = cases::Serve<repUploadYBFileReq, repUploadYBFileResp>(&ServeUploadYBFile);
const ServedCase DownloadYBFileCase =
    cases::Serve<repDownloadYBFileByIdReq, repDownloadYBFileByIdResp>(&ServeDownloadYBFile);
