// Product-file transfers through post, as a client runs them: a file
// uploaded in one request (0x35000143 with name and content), uploaded in
// chunks of 256 KiB and a final request, and downloaded chunk by chunk
// (0x35000145). Each transfer runs in a child process of its own on a new
// catalogue, which reports the transfer's time and how far the process's
// peak resident memory rose above what it held when the transfer began
// (the client's request buffer already counted for a one-request upload).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "bench/BenchHost.h"
#include "files/StoredFileMessages.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"

namespace {

const size_t kChunk = 0x40000;
const size_t kMB = 1 << 20;

// Byte i of the file: a pattern whose period divides the chunk size, so that
// every chunk of it equals the first.
char FileByte(size_t i) { return static_cast<char>('a' + i % 16); }

std::string FilePart(size_t length)
{
    std::string part(length, '\0');
    for (size_t i = 0; i < length; ++i) part[i] = FileByte(i);
    return part;
}

// A field of /proc/self/status in KiB.
long StatusKB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, n, field) == 0) return std::atol(line.c_str() + n);
    return -1;
}

// Starts the peak resident memory again from what is resident now.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

struct Measure {
    double seconds = 0;
    long peakKB = 0;
    char error[160] = {};
};

// A client of one ReplicationMgr: posts transfer requests and checks each
// reply as it is sent, keeping what the next request needs.
class Client {
public:
    Client()
    {
        m_network.setSendObserver([this](unsigned long code, const void* data, unsigned long) { received(code, data); });
    }

    // Uploads in one request; the new file's id, 0 on failure.
    uint32_t uploadWhole(const std::string& name, const char* content)
    {
        repUploadYBFileReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.file.VolumeId = 5;
        req.file.Name = const_cast<char*>(name.c_str());
        req.file.Content = const_cast<char*>(content);
        return post(0x35000143, &req) ? m_fileId : 0;
    }

    // Uploads the file of the given size in chunks; the new file's id, 0 on failure.
    uint32_t uploadChunked(const std::string& name, size_t bytes)
    {
        std::string chunk = FilePart(kChunk);
        std::string tmp;
        for (size_t at = 0; at < bytes; at += kChunk) {
            const size_t length = std::min(kChunk, bytes - at);
            chunk.resize(length);
            repUploadYBFileReq req;
            std::memset(static_cast<void*>(&req), 0, sizeof req);
            req.file.VolumeId = 5;
            req.file.Content = &chunk[0];
            req.TmpFileName = at == 0 ? nullptr : &tmp[0];
            if (!post(0x35000143, &req) || m_tmp.empty()) return 0;
            tmp = m_tmp;
        }
        repUploadYBFileReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.file.VolumeId = 5;
        req.file.Name = const_cast<char*>(name.c_str());
        req.TmpFileName = &tmp[0];
        return post(0x35000143, &req) ? m_fileId : 0;
    }

    // Downloads the file chunk by chunk, each checked; its size, or 0.
    size_t download(uint32_t fileId)
    {
        repDownloadYBFileByIdReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.fileId = fileId;
        m_received = 0;
        if (!post(0x35000145, &req)) return 0;
        while (!m_tmp.empty()) {
            std::string tmp = m_tmp;
            req.fileId = 0;
            req.offset = m_nextOffset;
            req.TmpFileName = &tmp[0];
            if (!post(0x35000145, &req)) return 0;
        }
        return m_received;
    }

private:
    bool post(unsigned long code, void* request)
    {
        m_replied = false;
        zxsDatabuf buf;
        buf.m_pData = request;
        return m_mgr.post(code, 0, &buf) == 1 && m_replied;
    }

    void received(unsigned long code, const void* data)
    {
        if (code == 0x35000144) {
            const auto* r = static_cast<const repUploadYBFileResp*>(data);
            m_replied = r->status == 1;
            m_fileId = r->fileId;
            m_tmp = r->TmpFileName != nullptr ? r->TmpFileName : "";
        } else if (code == 0x35000146) {
            const auto* r = static_cast<const repDownloadYBFileByIdResp*>(data);
            const size_t length = r->file.Content != nullptr ? std::strlen(r->file.Content) : 0;
            // Every chunk starts at a multiple of the chunk size.
            static const std::string expected = FilePart(kChunk);
            m_replied = r->status == 1 && length <= kChunk && std::memcmp(r->file.Content, expected.data(), length) == 0;
            m_received += length;
            m_nextOffset = r->nextOffset;
            m_tmp = r->TmpFileName != nullptr ? r->TmpFileName : "";
        }
    }

    CZxNetwork m_network;
    ZxSessionSend m_session{&m_network};
    ReplicationMgr m_mgr{&m_session};
    bool m_replied = false;
    uint32_t m_fileId = 0;
    std::string m_tmp;
    uint64_t m_nextOffset = 0;
    size_t m_received = 0;
};

enum Transfer { UploadWhole, UploadChunked, Download };

// Runs in the child: the transfer of a file of the given size on a new
// catalogue in dir, after a small transfer of each kind has warmed the path.
Measure Run(Transfer transfer, size_t bytes, const std::string& dir)
{
    Measure m;
    auto fail = [&m](const char* what) {
        std::snprintf(m.error, sizeof m.error, "%s", what);
        return m;
    };
    // Every large block is mapped for itself and returned when freed, so that
    // memory freed before the transfer is not resident for it to reuse.
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    mallopt(M_TRIM_THRESHOLD, 128 << 10);
    bench::quietLog();
    ZXPlatformInfo::setValue("Platform", "TempDirectory", dir + "/staging");
    DBtran::useCatalogue(dir + "/catalogue.db");
    Client client;
    const std::string small = FilePart(kChunk + 10);
    const uint32_t warm = client.uploadWhole("warm.txt", small.c_str());
    if (warm == 0 || client.download(warm) != small.size() || client.uploadChunked("warm2.txt", kChunk + 10) == 0)
        return fail("the warm-up transfers failed");

    uint32_t stored = 0;
    if (transfer == Download) {
        const std::string content = FilePart(bytes);
        stored = client.uploadWhole("file.bin", content.c_str());
        if (stored == 0) return fail("the upload before the download failed");
    }
    std::string content;
    if (transfer == UploadWhole) content = FilePart(bytes);

    if (!ResetPeak()) return fail("the peak memory cannot be reset (/proc/self/clear_refs)");
    const long before = StatusKB("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    bool ok;
    if (transfer == UploadWhole)
        ok = client.uploadWhole("file.bin", content.c_str()) != 0;
    else if (transfer == UploadChunked)
        ok = client.uploadChunked("file.bin", bytes) != 0;
    else
        ok = client.download(stored) == bytes;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakKB = StatusKB("VmHWM:") - before;
    if (!ok) return fail("the transfer failed");
    return m;
}

// One transfer in a child process: false (with the error set) when it failed.
bool RunInChild(Transfer transfer, size_t bytes, Measure& m)
{
    std::string dir = "/tmp/replmgr_bench_files_XXXXXX";
    if (mkdtemp(&dir[0]) == nullptr || mkdir((dir + "/staging").c_str(), 0700) != 0) {
        std::snprintf(m.error, sizeof m.error, "no directory");
        return false;
    }
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Measure result = Run(transfer, bytes, dir);
        ssize_t written = write(fds[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(fds[1]);
    m = Measure();
    const bool read = child > 0 && ::read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(fds[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    if (!read) std::snprintf(m.error, sizeof m.error, "the child process ended without its measure");
    return read && m.error[0] == '\0';
}

// Reported: the time of the transfer (manual time), "peak_MB", the rise of
// the peak resident memory, and "peak_per_file", that rise over the size of
// the file (each the largest of the iterations).
void TransferBenchmark(benchmark::State& state, Transfer transfer)
{
    const size_t bytes = static_cast<size_t>(state.range(0)) * kMB;
    long peakKB = 0;
    for (auto _ : state) {
        Measure m;
        if (!RunInChild(transfer, bytes, m)) {
            state.SkipWithError(m.error);
            return;
        }
        state.SetIterationTime(m.seconds);
        peakKB = std::max(peakKB, m.peakKB);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKB) / 1024.0;
    state.counters["peak_per_file"] = static_cast<double>(peakKB) * 1024.0 / static_cast<double>(bytes);
}

void BM_UploadWhole(benchmark::State& state) { TransferBenchmark(state, UploadWhole); }
void BM_UploadChunked(benchmark::State& state) { TransferBenchmark(state, UploadChunked); }
void BM_Download(benchmark::State& state) { TransferBenchmark(state, Download); }

}  // namespace

BENCHMARK(BM_UploadWhole)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UploadChunked)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Download)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
