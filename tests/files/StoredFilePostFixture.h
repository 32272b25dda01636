// A fresh catalogue and a temporary directory of its own per test, and one
// ReplicationMgr on a recording network, for the tests of the stored product
// files served through post. Each reply is read into an Answer as it is sent
// (its texts point into the case's records, which are gone afterwards).
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/StoredFileMessages.h"
#include "host/ZXPlatformInfo.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"

inline std::string TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

// One file of a list reply.
struct WireFile {
    uint32_t id = 0;
    int32_t volumeId = 0;
    bool hasName = false;
    std::string name;
    bool hasContent = false;

    static WireFile of(const repYBFileRec& f)
    {
        return WireFile{f.id, f.VolumeId, f.Name != nullptr, TextOrEmpty(f.Name), f.Content != nullptr};
    }
};

struct FileAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    bool hasMsg = false;
    std::string msg;
    // Upload and download.
    uint32_t fileId = 0;
    bool hasTmp = false;
    std::string tmp;
    // Download and the query by id.
    int32_t volumeId = 0;
    bool hasName = false;
    std::string name;
    bool hasContent = false;
    std::string content;
    uint64_t nextOffset = 0;
    // Lists.
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<WireFile> files;
};

inline std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool FileExists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

class StoredFilePostTest : public SNRPostTest<FileAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        m_tmp = m_dir + "/staging";
        ASSERT_EQ(mkdir(m_tmp.c_str(), 0700), 0);
        ZXPlatformInfo::setValue("Platform", "TempDirectory", m_tmp);
    }

    void TearDown() override
    {
        AllocReplyArray = &malloc;
        for (const std::string& dir : {m_tmp, m_dir})
            for (const std::string& name : namesIn(dir))
                if (name != "catalogue.db" && name.rfind("catalogue.db-", 0) != 0 && name != "staging")
                    unlink((dir + "/" + name).c_str());
        rmdir(m_tmp.c_str());
        SNRPostTest::TearDown();
    }

    static std::set<std::string> namesIn(const std::string& dir)
    {
        std::set<std::string> names;
        DIR* d = opendir(dir.c_str());
        if (d == nullptr) return names;
        while (dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.insert(e->d_name);
        closedir(d);
        return names;
    }
    // The files in the temporary directory.
    std::set<std::string> staged() const { return namesIn(m_tmp); }

    // The reply of the request being posted, read in its layout.
    FileAnswer decode(const void* data, unsigned long) override
    {
        FileAnswer a;
        switch (m_posting + 1) {
        case 0x35000144: {
            const auto* r = static_cast<const repUploadYBFileResp*>(data);
            a.fileId = r->fileId;
            readStatus(a, *r);
            a.hasTmp = r->TmpFileName != nullptr;
            a.tmp = TextOrEmpty(r->TmpFileName);
            break;
        }
        case 0x35000146: {
            const auto* r = static_cast<const repDownloadYBFileByIdResp*>(data);
            readFile(a, r->file);
            readStatus(a, *r);
            a.nextOffset = r->nextOffset;
            a.hasTmp = r->TmpFileName != nullptr;
            a.tmp = TextOrEmpty(r->TmpFileName);
            break;
        }
        case 0x3500014a: {
            const auto* r = static_cast<const repQueryYBFileByIdResp*>(data);
            readFile(a, r->file);
            readStatus(a, *r);
            break;
        }
        case 0x35000148:
        case 0x3500014c:
        case 0x3500014e: {
            const auto* r = static_cast<const repYBFileListResp*>(data);
            readStatus(a, *r);
            a.count = r->count;
            a.arrayNull = r->files == nullptr;
            for (uint32_t i = 0; r->files != nullptr && i < r->count; ++i)
                a.files.push_back(WireFile::of(r->files[i]));
            break;
        }
        default:
            readStatus(a, *static_cast<const repYBFileStatusResp*>(data));
        }
        return a;
    }

    template <typename Reply>
    static void readStatus(FileAnswer& a, const Reply& r)
    {
        a.status = r.status;
        a.errCode = r.errCode;
        a.hasMsg = r.errMsg != nullptr;
        a.msg = TextOrEmpty(r.errMsg);
    }

    static void readFile(FileAnswer& a, const repYBFileRec& f)
    {
        a.fileId = f.id;
        a.volumeId = f.VolumeId;
        a.hasName = f.Name != nullptr;
        a.name = TextOrEmpty(f.Name);
        a.hasContent = f.Content != nullptr;
        a.content = TextOrEmpty(f.Content);
    }

    // Posts one request and returns its only reply, which must answer with
    // the reply code and the size of its reply.
    FileAnswer post(unsigned long code, void* request, size_t replySize)
    {
        m_posting = code;
        return SNRPostTest::post(code, request, replySize);
    }

    static char* Text(const std::string& s) { return const_cast<char*>(s.c_str()); }
    static char* TextOrNull(const std::string* s) { return s != nullptr ? Text(*s) : nullptr; }

    // 0x35000143 with the given fields; a null pointer stands for a field left out.
    FileAnswer upload(int32_t volumeId, const std::string* name, const std::string* content, const std::string* tmp)
    {
        repUploadYBFileReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.file.VolumeId = volumeId;
        req.file.Name = TextOrNull(name);
        req.file.Content = TextOrNull(content);
        req.TmpFileName = TextOrNull(tmp);
        return post(0x35000143, &req, sizeof(repUploadYBFileResp));
    }
    FileAnswer uploadWhole(int32_t volumeId, const std::string& name, const std::string& content)
    {
        return upload(volumeId, &name, &content, nullptr);
    }
    FileAnswer uploadChunk(int32_t volumeId, const std::string& content, const std::string* tmp)
    {
        return upload(volumeId, nullptr, &content, tmp);
    }
    FileAnswer uploadFinal(int32_t volumeId, const std::string& name, const std::string& tmp)
    {
        return upload(volumeId, &name, nullptr, &tmp);
    }

    // Sends the content in chunks of the given size and then the final
    // request; the reply of the final request.
    FileAnswer uploadChunked(int32_t volumeId, const std::string& name, const std::string& content, size_t chunk)
    {
        std::string tmp;
        for (size_t at = 0; at < content.size(); at += chunk) {
            FileAnswer a = uploadChunk(volumeId, content.substr(at, chunk), at == 0 ? nullptr : &tmp);
            EXPECT_EQ(a.status, 1u) << a.msg;
            EXPECT_TRUE(a.hasTmp);
            EXPECT_FALSE(a.hasMsg);
            if (at > 0) {
                EXPECT_EQ(a.tmp, tmp);
            }
            tmp = a.tmp;
        }
        return uploadFinal(volumeId, name, tmp);
    }

    FileAnswer download(uint32_t fileId, uint64_t offset = 0, const std::string* tmp = nullptr)
    {
        repDownloadYBFileByIdReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.fileId = fileId;
        req.offset = offset;
        req.TmpFileName = TextOrNull(tmp);
        return post(0x35000145, &req, sizeof(repDownloadYBFileByIdResp));
    }

    // The whole file through the download protocol, one chunk per request;
    // the number of replies in `replies`, the first reply in `firstReply`.
    std::string downloadAll(uint32_t fileId, int* replies = nullptr, FileAnswer* firstReply = nullptr)
    {
        FileAnswer a = download(fileId);
        EXPECT_EQ(a.status, 1u) << a.msg;
        if (firstReply != nullptr) *firstReply = a;
        std::string content = a.content;
        int n = 1;
        std::string tmp = a.tmp;
        uint64_t offset = 0;
        bool more = a.hasTmp;
        while (more && n < 100) {
            a = download(0, offset, &tmp);
            ++n;
            EXPECT_EQ(a.status, 1u) << a.msg;
            if (a.status != 1) break;
            EXPECT_EQ(a.fileId, 0u);
            EXPECT_FALSE(a.hasName);
            content += a.content;
            more = a.hasTmp;
            if (more) {
                EXPECT_EQ(a.tmp, tmp);
                EXPECT_EQ(a.nextOffset, offset + a.content.size());
            } else {
                EXPECT_EQ(a.nextOffset, 0u);
            }
            offset = a.nextOffset;
        }
        if (replies != nullptr) *replies = n;
        return content;
    }

    FileAnswer byId(unsigned long code, int32_t id, size_t replySize)
    {
        repYBFileIdReq req{id};
        return post(code, &req, replySize);
    }

    std::string m_tmp;
    unsigned long m_posting = 0;
};
