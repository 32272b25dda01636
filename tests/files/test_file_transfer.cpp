// The staged transfers of stored product files through post: uploads in one
// request and in chunks, downloads in chunks, the content rewrite on its way
// to the catalogue, the temporary files and every refusal of them.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "files/StoredFilePostFixture.h"
#include "files/StoredFiles.h"
#include "files/TransferFiles.h"
#include "host/ZXPlatformInfo.h"
#include "host/db/DBtable.h"
#include "host/db/ServerText.h"

namespace {

const size_t kChunk = 0x40000;

// Text of the given length with every byte value but NUL, and throughout it
// backslash-CR-LF runs, lone backslashes, CRs, LFs and CRLF pairs. A
// backslash-CR-LF stands across the first chunk boundary.
std::string TrickyText(size_t length)
{
    static const std::vector<std::string> pieces = {"\\\r\n", "\\", "\r", "\n", "\r\n", "\\\\\r\n", "\\\n", "\\\r",
                                                    "\\\r\n\\\r\n", "\r\n\\"};
    std::string text;
    unsigned value = 1;
    for (size_t i = 0; text.size() < length; ++i) {
        text += pieces[i % pieces.size()];
        for (int k = 0; k < 5; ++k, value = value % 255 + 1) text += static_cast<char>(value);
    }
    text.resize(length);
    if (length > kChunk + 2) text.replace(kChunk - 1, 3, "\\\r\n");
    return text;
}

size_t BackslashCRLFs(const std::string& text)
{
    size_t n = 0;
    for (size_t at = text.find("\\\r\n"); at != std::string::npos; at = text.find("\\\r\n", at + 3)) ++n;
    return n;
}

// The seconds in a temporary file name.
std::string SecondsOf(const std::string& tmp)
{
    size_t at = tmp.find('@');
    return at == std::string::npos ? "" : tmp.substr(at + 1, tmp.find('.', at) - at - 1);
}

void* NoMemory(size_t) { return nullptr; }

// Name digits that repeat "00000000000000aa" as often as asked, then go on
// with "00000000000000bb".
int g_repeats = 0;
std::string RepeatedDigits() { return g_repeats-- > 0 ? "00000000000000aa" : "00000000000000bb"; }

// Sets when the entry at path (a link itself, not what it leads to) was last
// changed to the given seconds ago.
void SetAge(const std::string& path, time_t seconds)
{
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = time(nullptr) - seconds;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

struct stat LinkStat(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

// Files may grow only to the given size while it lives; writing past it fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    sighandler_t m_handler;
};

}  // namespace

class FileTransferTest : public StoredFilePostTest {
protected:
    void TearDown() override
    {
        transfer_files::NameDigits = &transfer_files::RandomNameDigits;
        ZXPlatformInfo::clearValue("~ReplicationMgr", "TransferFileMaxAgeSeconds");
        StoredFilePostTest::TearDown();
    }

    long long storedFiles() { return scalar("SELECT COUNT(*) FROM YBFile"); }
};

TEST_F(FileTransferTest, FilesOfOneByteOneChunkAndThreeAndAHalfChunksComeBackByteForByte)
{
    struct Case {
        const char* name;
        std::string content;
        bool chunked;
        int replies;  // of the download
    };
    const std::vector<Case> cases = {
        {"one.txt", "\\", false, 1},
        {"chunk.txt", TrickyText(kChunk), true, 1},
        {"big.txt", TrickyText(kChunk * 7 / 2), true, 4},
        {"big-whole.txt", TrickyText(kChunk * 7 / 2), false, 4},
        {"one-more.txt", TrickyText(kChunk + 1), true, 2},
    };
    int32_t volume = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DBServerText::clearSent();
        FileAnswer stored = c.chunked ? uploadChunked(volume, c.name, c.content, kChunk)
                                      : uploadWhole(volume, c.name, c.content);
        ASSERT_EQ(stored.status, 1u) << stored.msg;
        EXPECT_FALSE(stored.hasMsg);
        EXPECT_FALSE(stored.hasTmp);
        EXPECT_GT(stored.fileId, 0u);
        EXPECT_TRUE(staged().empty());

        // The insert got the content with each backslash-CR-LF doubled;
        // the catalogue holds it as it was.
        ASSERT_EQ(DBServerText::sent().size(), 1u);
        EXPECT_EQ(DBServerText::sent()[0].size(), c.content.size() + 3 * BackslashCRLFs(c.content));
        EXPECT_EQ(scalar("SELECT length(CAST(Content AS BLOB)) FROM YBFile WHERE id = " +
                         std::to_string(stored.fileId)),
                  static_cast<long long>(c.content.size()));

        FileAnswer first;
        int replies = 0;
        EXPECT_TRUE(downloadAll(stored.fileId, &replies, &first) == c.content);
        EXPECT_EQ(replies, c.replies);
        EXPECT_EQ(first.fileId, stored.fileId);
        EXPECT_EQ(first.volumeId, volume);
        EXPECT_EQ(first.name, c.name);
        EXPECT_EQ(first.content.size(), std::min(c.content.size(), kChunk));
        EXPECT_EQ(first.nextOffset, 0u);
        EXPECT_EQ(first.hasTmp, c.replies > 1);
        EXPECT_TRUE(staged().empty()) << "a completed download leaves its temporary file";
        ++volume;
    }
}

TEST_F(FileTransferTest, TheInsertGetsEachBackslashCRLFDoubledAndTheDownloadTheContentAsSent)
{
    DBServerText::clearSent();
    FileAnswer stored = uploadWhole(5, "example.txt", "a\\\r\nb");
    ASSERT_EQ(stored.status, 1u);
    ASSERT_EQ(DBServerText::sent().size(), 1u);
    EXPECT_EQ(DBServerText::sent()[0], "a\\\\\r\n\r\nb");
    EXPECT_EQ(download(stored.fileId).content, "a\\\r\nb");

    const std::vector<std::pair<std::string, std::string>> rewrites = {
        {"a\\\r\nb", "a\\\\\r\n\r\nb"},
        {"\\\n", "\\\n"},
        {"\r\n", "\r\n"},
        {"\\\r", "\\\r"},
        {"\\\\\r\n", "\\\\\\\r\n\r\n"},
        {"\\\r\n\\\r\n", "\\\\\r\n\r\n\\\\\r\n\r\n"},
        {"\\\r\n\r\n", "\\\\\r\n\r\n\r\n"},
        {"", ""},
    };
    for (const auto& [sent, rewritten] : rewrites) {
        std::string text = sent;
        avoidBackSlashCRLFProblemWithSQLServer(&text);
        EXPECT_EQ(text, rewritten);
        EXPECT_EQ(DBServerText::read(text), sent);
    }
}

TEST_F(FileTransferTest, TwoUploadsStartedInTheSameSecondGetTheirOwnFiles)
{
    FileAnswer a, b;
    for (int attempt = 0; attempt < 5; ++attempt) {
        for (const std::string& name : staged()) unlink((m_tmp + "/" + name).c_str());
        a = uploadChunk(5, "first ", nullptr);
        b = uploadChunk(5, "second ", nullptr);
        if (SecondsOf(a.tmp) == SecondsOf(b.tmp)) break;
    }
    ASSERT_EQ(a.status, 1u);
    ASSERT_EQ(b.status, 1u);
    ASSERT_EQ(SecondsOf(a.tmp), SecondsOf(b.tmp));
    EXPECT_NE(a.tmp, b.tmp);
    EXPECT_EQ(a.tmp.rfind(m_tmp + "/YBFile_Volume5[U@", 0), 0u) << a.tmp;
    EXPECT_EQ(FileBytes(a.tmp), "first ");
    EXPECT_EQ(FileBytes(b.tmp), "second ");
    EXPECT_EQ(LogEntriesWith("\tCreating temporary file " + a.tmp + " to store information related with volume 5").size(),
              1u);

    EXPECT_EQ(uploadChunk(5, "part", &a.tmp).status, 1u);
    EXPECT_EQ(LogEntriesWith("\tOpening temporary file " + a.tmp + " to store information related with volume 5").size(),
              1u);
    FileAnswer storedA = uploadFinal(5, "a.txt", a.tmp);
    FileAnswer storedB = uploadFinal(5, "b.txt", b.tmp);
    ASSERT_EQ(storedA.status, 1u);
    ASSERT_EQ(storedB.status, 1u);
    EXPECT_EQ(download(storedA.fileId).content, "first part");
    EXPECT_EQ(download(storedB.fileId).content, "second ");

    // Two downloads of one long file at once have their own files too.
    FileAnswer big = uploadWhole(6, "big.txt", TrickyText(kChunk * 2));
    FileAnswer d1 = download(big.fileId);
    FileAnswer d2 = download(big.fileId);
    ASSERT_TRUE(d1.hasTmp && d2.hasTmp);
    EXPECT_NE(d1.tmp, d2.tmp);
    EXPECT_EQ(d1.tmp.rfind(m_tmp + "/YBFile_Volume6[D@", 0), 0u) << d1.tmp;
    EXPECT_EQ(staged().size(), 2u);
}

TEST_F(FileTransferTest, ANewTemporaryFileIsNeverOneThatExists)
{
    FileAnswer stored = uploadWhole(6, "big.txt", TrickyText(kChunk + 1));
    ASSERT_EQ(stored.status, 1u);
    // Files under the names the next transfers would get within the next
    // half minute: one a link to a file beside the temporary directory.
    const std::string beside = m_dir + "/beside.txt";
    WriteFileBytes(beside, "keep me");
    std::vector<std::string> planted;
    const long long now = time(nullptr);
    for (const char* start : {"/YBFile_Volume5[U@", "/YBFile_Volume6[D@"})
        for (long long second = now; second < now + 30; ++second)
            planted.push_back(m_tmp + start + std::to_string(second) + ".00000000000000aa].YB");
    ASSERT_EQ(symlink(beside.c_str(), planted[0].c_str()), 0);
    for (size_t i = 1; i < planted.size(); ++i) WriteFileBytes(planted[i], "earlier transfer");
    transfer_files::NameDigits = &RepeatedDigits;

    g_repeats = 1;
    FileAnswer a = uploadChunk(5, "new", nullptr);
    ASSERT_EQ(a.status, 1u) << a.msg;
    EXPECT_EQ(a.tmp.substr(a.tmp.size() - 20), "00000000000000bb].YB");
    EXPECT_EQ(FileBytes(a.tmp), "new");

    // A name that is always taken: no file is made.
    g_repeats = 1000;
    a = uploadChunk(5, "new", nullptr);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary file to store YB file cannot be opened");
    a = download(stored.fileId);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be created");

    EXPECT_EQ(FileBytes(beside), "keep me");
    for (size_t i = 1; i < planted.size(); ++i) EXPECT_EQ(FileBytes(planted[i]), "earlier transfer");
    EXPECT_EQ(staged().size(), planted.size() + 1);
}

TEST_F(FileTransferTest, ForeignTemporaryNamesAreRefusedAndTouchNoFile)
{
    // Beside the temporary directory: files in the exact form of this
    // system's names. Inside it: a file of another form and links in the
    // form of this system's names that lead outside.
    const std::string besideU = m_dir + "/YBFile_Volume5[U@1700000000.0123456789abcdef].YB";
    const std::string besideD = m_dir + "/YBFile_Volume5[D@1700000000.0123456789abcdef].YB";
    const std::string otherForm = m_tmp + "/YBFile_Volume5[U@1700000000].YB";
    const std::string linkU = m_tmp + "/YBFile_Volume5[U@1700000000.00000000000000aa].YB";
    const std::string linkD = m_tmp + "/YBFile_Volume5[D@1700000000.00000000000000aa].YB";
    WriteFileBytes(besideU, "keep me");
    WriteFileBytes(besideD, std::string(100, 'd'));
    WriteFileBytes(otherForm, "other");
    ASSERT_EQ(symlink(besideU.c_str(), linkU.c_str()), 0);
    ASSERT_EQ(symlink(besideD.c_str(), linkD.c_str()), 0);
    // A download's own file, not to be taken by an upload.
    FileAnswer big = uploadWhole(6, "big.txt", TrickyText(kChunk + 10));
    FileAnswer started = download(big.fileId);
    ASSERT_TRUE(started.hasTmp);
    const std::string download6 = started.tmp;
    const std::string download6Bytes = FileBytes(download6);
    const std::set<std::string> before = staged();

    const std::string leaf = besideU.substr(m_dir.size() + 1);
    const std::vector<std::string> foreignUploads = {
        besideU,
        m_tmp + "/../" + leaf,
        m_tmp + "//" + leaf,
        otherForm,
        "",
        leaf,
        m_tmp + "/YBFile_Volume5[U@1700000000.0123456789ABCDEF].YB",
        m_tmp + "/YBFile_Volume5[U@1700000000.0123456789abcdef].YB.old",
        m_tmp + "/YBFile_Volume5[U@1700000000.0123456789abcde].YB",
        download6,
    };
    const std::string foreignText = "Temporary YB File cannot be manipulated";
    for (const std::string& tmp : foreignUploads) {
        SCOPED_TRACE(tmp);
        FileAnswer chunk = uploadChunk(5, "appended", &tmp);
        EXPECT_EQ(chunk.status, 0u);
        EXPECT_EQ(chunk.errCode, -10);
        EXPECT_EQ(chunk.msg, foreignText);
        EXPECT_FALSE(chunk.hasTmp);
        FileAnswer final = uploadFinal(5, "stolen.txt", tmp);
        EXPECT_EQ(final.status, 0u);
        EXPECT_EQ(final.errCode, -10);
        EXPECT_EQ(final.msg, foreignText);
    }
    const std::vector<std::string> foreignDownloads = {besideD, m_tmp + "/../" + besideD.substr(m_dir.size() + 1),
                                                       besideU, "", linkU};
    for (const std::string& tmp : foreignDownloads) {
        SCOPED_TRACE(tmp);
        FileAnswer chunk = download(0, 0, &tmp);
        EXPECT_EQ(chunk.status, 0u);
        EXPECT_EQ(chunk.errCode, -10);
        EXPECT_EQ(chunk.msg, foreignText);
        EXPECT_FALSE(chunk.hasContent);
        // The offset of the last byte: a taken file would be removed.
        chunk = download(0, 99, &tmp);
        EXPECT_EQ(chunk.msg, foreignText);
    }

    // Links in the right form are not followed.
    FileAnswer viaLink = uploadChunk(5, "appended", &linkU);
    EXPECT_EQ(viaLink.errCode, -10);
    EXPECT_EQ(viaLink.msg, "Temporary file to store YB file cannot be opened");
    viaLink = uploadFinal(5, "stolen.txt", linkU);
    EXPECT_EQ(viaLink.errCode, -10);
    EXPECT_EQ(viaLink.msg, "Temporary YB File cannot be accessed");
    viaLink = download(0, 0, &linkD);
    EXPECT_EQ(viaLink.errCode, -10);
    EXPECT_EQ(viaLink.msg, "Temporary YB File cannot be opened");

    EXPECT_EQ(FileBytes(besideU), "keep me");
    EXPECT_EQ(FileBytes(besideD), std::string(100, 'd'));
    EXPECT_EQ(FileBytes(otherForm), "other");
    EXPECT_TRUE(FileBytes(download6) == download6Bytes);
    EXPECT_EQ(staged(), before);
    EXPECT_EQ(storedFiles(), 1);
    EXPECT_FALSE(LogEntriesWith("\tEvent: Temporary YB File cannot be manipulated\n\tTemporary file name = " + besideU)
                     .empty());
}

TEST_F(FileTransferTest, AnOffsetPastTheEndIsRefusedAndTheDownloadGoesOn)
{
    const std::string content = TrickyText(kChunk * 7 / 2);
    FileAnswer stored = uploadWhole(5, "big.txt", content);
    FileAnswer first = download(stored.fileId);
    ASSERT_TRUE(first.hasTmp);
    const std::string tmp = first.tmp;
    const size_t rest = content.size() - kChunk;
    ASSERT_EQ(FileBytes(tmp).size(), rest);

    for (uint64_t offset : {uint64_t(rest + 1), uint64_t(rest + kChunk), ~uint64_t(0)}) {
        FileAnswer past = download(0, offset, &tmp);
        EXPECT_EQ(past.status, 0u);
        EXPECT_EQ(past.errCode, -10);
        EXPECT_EQ(past.msg, "Temporary YB File cannot be manipulated");
        EXPECT_FALSE(past.hasContent);
        EXPECT_EQ(past.nextOffset, 0u);
    }
    EXPECT_EQ(FileBytes(tmp).size(), rest);

    std::string got = first.content;
    uint64_t offset = 0;
    for (int i = 0; i < 3; ++i) {
        FileAnswer next = download(0, offset, &tmp);
        ASSERT_EQ(next.status, 1u) << next.msg;
        got += next.content;
        offset = next.nextOffset;
    }
    EXPECT_EQ(offset, 0u);
    EXPECT_TRUE(got == content);
    EXPECT_TRUE(staged().empty());

    // Once the last chunk is read, the file is gone.
    FileAnswer gone = download(0, 0, &tmp);
    EXPECT_EQ(gone.errCode, -10);
    EXPECT_EQ(gone.msg, "Temporary YB File cannot be accessed");
}

TEST_F(FileTransferTest, AFailedStoreKeepsTheTemporaryFileAndARetryCompletesIt)
{
    const std::string content = TrickyText(kChunk + 100);
    FileAnswer part1 = uploadChunk(5, content.substr(0, kChunk), nullptr);
    FileAnswer part2 = uploadChunk(5, content.substr(kChunk), &part1.tmp);
    ASSERT_EQ(part2.status, 1u);
    const std::string tmp = part1.tmp;

    struct Failure {
        const char* call;
        int32_t code;
        const char* text;
    };
    for (const Failure& f : {Failure{"insert", -4, "YB File cannot be added to the database"},
                             Failure{"writeLongText", -4, "YB File cannot be added to the database"},
                             Failure{"commitTran", -4, "Could not commit database transactions"},
                             Failure{"startTran", -7, "Could not initiated database transactions"},
                             Failure{"getNRows", -4, "File information from the database cannot be accessed"}}) {
        SCOPED_TRACE(f.call);
        HostDBFaults::failNext(f.call, 5);
        FileAnswer failed = uploadFinal(5, "kept.txt", tmp);
        EXPECT_EQ(failed.status, 0u);
        EXPECT_EQ(failed.errCode, f.code);
        EXPECT_EQ(failed.msg, f.text);
        EXPECT_EQ(failed.fileId, 0u);
        EXPECT_EQ(storedFiles(), 0);
        EXPECT_TRUE(FileBytes(tmp) == content) << "the staged file was not kept whole";
    }
    AllocReplyArray = &NoMemory;
    FileAnswer noMemory = uploadFinal(5, "kept.txt", tmp);
    AllocReplyArray = &malloc;
    EXPECT_EQ(noMemory.errCode, -5);
    EXPECT_EQ(noMemory.msg, "Not enough memory to upload YB file into the database");
    EXPECT_TRUE(FileExists(tmp));

    FileAnswer retried = uploadFinal(5, "kept.txt", tmp);
    ASSERT_EQ(retried.status, 1u) << retried.msg;
    EXPECT_FALSE(FileExists(tmp));
    EXPECT_TRUE(staged().empty());
    EXPECT_TRUE(downloadAll(retried.fileId) == content);

    // A file that is already stored keeps its staged copy as well.
    FileAnswer again = uploadChunk(5, "x", nullptr);
    FileAnswer duplicate = uploadFinal(5, "KEPT.txt", again.tmp);
    EXPECT_EQ(duplicate.errCode, -12);
    EXPECT_EQ(duplicate.msg, "The file in this volume is already in the database");
    EXPECT_TRUE(FileExists(again.tmp));
}

TEST_F(FileTransferTest, RefusedRequestsLeaveNoTemporaryFileBehind)
{
    const std::string content = "chunk";
    FileAnswer a = uploadChunk(-1, content, nullptr);
    EXPECT_EQ(a.errCode, -6);
    EXPECT_EQ(a.msg, "File cannot be uploaded with invalid Volume ID or empty content");
    a = upload(5, nullptr, nullptr, nullptr);
    EXPECT_EQ(a.errCode, -2);
    EXPECT_EQ(a.msg, "File cannot be uploaded with invalid Volume ID or empty content");
    const std::string name = "f.txt";
    a = upload(5, &name, nullptr, nullptr);
    EXPECT_EQ(a.errCode, -2);
    EXPECT_EQ(a.msg, "Temporary file name missing. YB File cannot be uploaded");

    // Names in the right form without a file, or with an empty one.
    const std::string absent = m_tmp + "/YBFile_Volume5[U@1700000000.0123456789abcdef].YB";
    a = uploadFinal(5, name, absent);
    EXPECT_EQ(a.errCode, -3);
    EXPECT_EQ(a.msg, "File Not Found or empty");
    EXPECT_FALSE(FileExists(absent));
    a = uploadChunk(5, content, &absent);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary file to store YB file cannot be opened");
    EXPECT_FALSE(FileExists(absent)) << "a vanished file was made again";
    WriteFileBytes(absent, "");
    a = uploadFinal(5, name, absent);
    EXPECT_EQ(a.errCode, -3);
    unlink(absent.c_str());
    const std::string absentDownload = m_tmp + "/YBFile_Volume5[D@1700000000.0123456789abcdef].YB";
    a = download(0, 0, &absentDownload);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be accessed");

    // A content of one request never touches a temporary file.
    FileAnswer staging = uploadChunk(5, "staged", nullptr);
    a = upload(5, &name, &content, &staging.tmp);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(FileBytes(staging.tmp), "staged");
    unlink(staging.tmp.c_str());
    EXPECT_TRUE(staged().empty());

    // Writes that fail: the chunk's file and the download's file go.
    {
        FileSizeLimit limit(16);
        a = uploadChunk(5, std::string(64, 'x'), nullptr);
    }
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "YB File cannot be upload. Temporary file update op. failed");
    EXPECT_TRUE(staged().empty());
    FileAnswer big = uploadWhole(6, "big.txt", TrickyText(kChunk + 64));
    ASSERT_EQ(big.status, 1u);
    {
        FileSizeLimit limit(16);
        a = download(big.fileId);
    }
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be created");
    EXPECT_FALSE(a.hasContent);
    EXPECT_TRUE(staged().empty());

    // No memory for a following chunk: the file stays for another try.
    FileAnswer first = download(big.fileId);
    AllocReplyArray = &NoMemory;
    a = download(0, 0, &first.tmp);
    AllocReplyArray = &malloc;
    EXPECT_EQ(a.errCode, -5);
    EXPECT_EQ(a.msg, "No memory to transfer YB File");
    EXPECT_EQ(download(0, 0, &first.tmp).content, TrickyText(kChunk + 64).substr(kChunk));
    EXPECT_TRUE(staged().empty());
}

TEST_F(FileTransferTest, TheDownloadAnswersEachRefusalOfTheStoredFile)
{
    exec("INSERT INTO YBFile (id, VolumeId, Name, Content, Flags) VALUES (7, 5, 'none.txt', NULL, 0),"
         " (8, 5, '', 'x', 0)");
    struct Refusal {
        int32_t id;
        int32_t code;
        const char* text;
    };
    for (const Refusal& r : {Refusal{-1, -6, "Id is invalid"}, Refusal{99, -3, "YB File not found"},
                             Refusal{7, -19, "The YB File is empty"}}) {
        FileAnswer a = download(static_cast<uint32_t>(r.id));
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, r.code);
        EXPECT_EQ(a.msg, r.text);
        EXPECT_EQ(a.fileId, 0u);
    }
    for (const char* call : {"getInfo", "readLongText"}) {
        HostDBFaults::failNext(call, 5);
        FileAnswer a = download(8);
        EXPECT_EQ(a.errCode, -4) << call;
        EXPECT_EQ(a.msg, "Could not check YB File information from DB") << call;
    }
    AllocReplyArray = &NoMemory;
    FileAnswer a = download(8);
    AllocReplyArray = &malloc;
    EXPECT_EQ(a.errCode, -5);
    EXPECT_EQ(a.msg, "Not enough memory to copy YB File");
    EXPECT_EQ(LogEntriesWith("\n\tMemory required = 2 bytes").size(), 1u);

    // A file without a name goes out with a null name.
    a = download(8);
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasName);
    EXPECT_EQ(a.content, "x");
    EXPECT_EQ(LogEntriesWith("\tFile  from volume id 5 has been downloaded").size(), 1u);
}

TEST_F(FileTransferTest, AHardLinkUnderATransferNameIsNeitherWrittenNorReadNorRemoved)
{
    const std::string victim = m_dir + "/victim.txt";
    WriteFileBytes(victim, "keep me");

    // An upload's own name, its file replaced by a second name of another file.
    FileAnswer started = uploadChunk(5, "part one ", nullptr);
    ASSERT_EQ(started.status, 1u);
    const std::string upload = started.tmp;
    ASSERT_EQ(unlink(upload.c_str()), 0);
    ASSERT_EQ(link(victim.c_str(), upload.c_str()), 0);
    FileAnswer a = uploadChunk(5, "appended", &upload);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary file to store YB file cannot be opened");
    a = uploadFinal(5, "stolen.txt", upload);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be accessed");
    EXPECT_EQ(storedFiles(), 0);

    // A name in the right form under which this system made nothing.
    const std::string planted = m_tmp + "/YBFile_Volume5[U@1700000000.0123456789abcdef].YB";
    ASSERT_EQ(link(victim.c_str(), planted.c_str()), 0);
    a = uploadChunk(5, "appended", &planted);
    EXPECT_EQ(a.msg, "Temporary file to store YB file cannot be opened");
    a = uploadFinal(5, "stolen.txt", planted);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be accessed");

    // The file this system made, while it has a second name.
    FileAnswer own = uploadChunk(5, "own ", nullptr);
    const std::string second = m_dir + "/second-name";
    ASSERT_EQ(link(own.tmp.c_str(), second.c_str()), 0);
    a = uploadChunk(5, "appended", &own.tmp);
    EXPECT_EQ(a.msg, "Temporary file to store YB file cannot be opened");
    ASSERT_EQ(unlink(second.c_str()), 0);
    EXPECT_EQ(uploadChunk(5, "part", &own.tmp).status, 1u);
    EXPECT_EQ(FileBytes(own.tmp), "own part");

    // A download's file replaced the same way: nothing is read or removed.
    FileAnswer big = uploadWhole(6, "big.txt", TrickyText(kChunk + 10));
    FileAnswer first = download(big.fileId);
    ASSERT_TRUE(first.hasTmp);
    ASSERT_EQ(unlink(first.tmp.c_str()), 0);
    ASSERT_EQ(link(victim.c_str(), first.tmp.c_str()), 0);
    a = download(0, 0, &first.tmp);
    EXPECT_EQ(a.errCode, -10);
    EXPECT_EQ(a.msg, "Temporary YB File cannot be opened");
    EXPECT_FALSE(a.hasContent);

    EXPECT_EQ(FileBytes(victim), "keep me");
    EXPECT_EQ(LinkStat(victim).st_nlink, 4u) << "a name of the linked file was removed";
    EXPECT_EQ(storedFiles(), 1);
}

// A maximum age that is no number of seconds counts as the day it
// defaults to: the transfer that starts next leaves the one under way its file.
TEST_F(FileTransferTest, AMaxAgeNotTakenLeavesTheTransferUnderWayItsFile)
{
    const std::string content = std::string(kChunk, 'a') + std::string(kChunk, 'b') + "end";
    FileAnswer first = uploadChunk(5, content.substr(0, kChunk), nullptr);
    ASSERT_EQ(first.status, 1u) << first.msg;
    ZXPlatformInfo::setValue("~ReplicationMgr", "TransferFileMaxAgeSeconds", "-1");

    FileAnswer other = uploadChunk(6, "other", nullptr);
    ASSERT_EQ(other.status, 1u) << other.msg;
    EXPECT_TRUE(FileExists(first.tmp));
    EXPECT_EQ(uploadChunk(5, content.substr(kChunk), &first.tmp).status, 1u);
    FileAnswer stored = uploadFinal(5, "under-way.txt", first.tmp);
    ASSERT_EQ(stored.status, 1u) << stored.msg;
    EXPECT_EQ(downloadAll(stored.fileId), content);
    EXPECT_EQ(
        LogEntriesWith("The setting TransferFileMaxAgeSeconds of section ~ReplicationMgr is \"-1\"").size(), 1u);
}

TEST_F(FileTransferTest, TransferFilesUnchangedLongerThanTheConfiguredAgeGoWhenATransferStarts)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "TransferFileMaxAgeSeconds", "3600");
    FileAnswer oldUpload = uploadChunk(5, "old", nullptr);
    FileAnswer recentUpload = uploadChunk(5, "recent", nullptr);
    FileAnswer big = uploadWhole(6, "big.txt", TrickyText(kChunk + 10));
    FileAnswer oldDownload = download(big.fileId);
    ASSERT_TRUE(oldUpload.hasTmp && recentUpload.hasTmp && oldDownload.hasTmp);
    // Left by an earlier run: a file and a link to a file beside the
    // directory; and an old file of another name.
    const std::string earlier = m_tmp + "/YBFile_Volume7[U@1700000000.0123456789abcdef].YB";
    const std::string earlierLink = m_tmp + "/YBFile_Volume7[D@1700000000.0123456789abcdef].YB";
    const std::string beside = m_dir + "/beside.txt";
    const std::string otherName = m_tmp + "/notes.txt";
    WriteFileBytes(earlier, "earlier");
    WriteFileBytes(beside, "keep me");
    WriteFileBytes(otherName, "other");
    ASSERT_EQ(symlink(beside.c_str(), earlierLink.c_str()), 0);
    for (const std::string& path : {oldUpload.tmp, oldDownload.tmp, earlier, earlierLink, otherName})
        SetAge(path, 3700);
    SetAge(recentUpload.tmp, 3500);
    SetAge(beside, 3700);

    // A chunk of a transfer under way removes nothing.
    ASSERT_EQ(uploadChunk(5, "more", &recentUpload.tmp).status, 1u);
    EXPECT_EQ(staged().size(), 6u);

    FileAnswer started = uploadChunk(5, "new", nullptr);
    ASSERT_EQ(started.status, 1u);
    const std::string leaf = recentUpload.tmp.substr(m_tmp.size() + 1);
    EXPECT_EQ(staged(), (std::set<std::string>{leaf, started.tmp.substr(m_tmp.size() + 1), "notes.txt"}));
    EXPECT_EQ(FileBytes(beside), "keep me");
    EXPECT_EQ(LogEntriesWith("\tEvent: Abandoned temporary YB File removed\n\tTemporary file name = " + earlier +
                             "\n\tUnchanged for ")
                  .size(),
              1u);
    FileAnswer gone = uploadChunk(5, "late", &oldUpload.tmp);
    EXPECT_EQ(gone.msg, "Temporary file to store YB file cannot be opened");
    EXPECT_FALSE(FileExists(oldUpload.tmp)) << "a removed file was made again";

    // A download that starts removes them too; without the key a day is the age.
    ZXPlatformInfo::clearValue("~ReplicationMgr", "TransferFileMaxAgeSeconds");
    SetAge(recentUpload.tmp, 86300);
    SetAge(started.tmp, 86500);
    ASSERT_TRUE(download(big.fileId).hasTmp);
    EXPECT_TRUE(FileExists(recentUpload.tmp));
    EXPECT_FALSE(FileExists(started.tmp));
    EXPECT_EQ(staged().size(), 3u);
}
