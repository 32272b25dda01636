// The reference check of the catalogue: seeded random sequences of the
// writing request codes of every subsystem, posted as a host posts them on a
// real catalogue, with ids drawn mostly from what is stored so that removals
// meet rows that others name. After each post no row may name a scratch
// volume, SNR volume, device, replication volume, mount point or row of a
// consistency point that the post removed (support/CatalogueReferences.h),
// and every pool's counters must equal a fresh count of its members.
//
// Each sequence runs on a fresh catalogue: the same seed posts the same
// requests again. A failure names the seed, the step, the code posted and
// the broken reference.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "host/HostConfig.h"
#include "host/ZxSync.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/ServedCases.h"
#include "support/CatalogueReferences.h"
#include "support/CatalogueRequests.h"
#include "support/ClientFakesScope.h"
#include "support/RequestDraw.h"
#include "support/StorageRequests.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

using namespace random_posts;

// Fixed seeds, run in ranges that are tests of their own so that they run
// side by side, and the posts of each sequence; fewer sequences under the
// sanitizers, whose builds run the library several times slower, in one
// range. Each range must reach every removal the check is after.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define REFERENCE_CHECK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define REFERENCE_CHECK_SANITIZED 1
#endif
#endif
#ifdef REFERENCE_CHECK_SANITIZED
const unsigned kSeeds = 8;
const unsigned kSeedsPerRange = 8;
#else
const unsigned kSeeds = 24;
const unsigned kSeedsPerRange = 6;
#endif
static_assert(kSeeds % kSeedsPerRange == 0, "the ranges share the seeds out evenly");
const unsigned kFirstSeed = 1;
const int kPostsPerSequence = 200;

struct WritingCode {
    unsigned long code;
    int weight;  // how often it is drawn, against the others
    void (*build)(Draw&);
};

// Every writing request code of every subsystem, drawn by weight: adds
// more often than removals, so that rows build up for the removals to meet.
const std::vector<WritingCode>& WritingCodes()
{
    static const std::vector<WritingCode> codes = {
        // SNR volumes and devices.
        {0x35000001, 4, &AddDevice<repAddSNRDeviceReq>},
        {0x350000ab, 3, &AddDevice<repAddSNRDevice42Req>},
        {0x350000ef, 4, &AddDevice<repAddSNRDeviceV3Req>},
        {0x35000155, 4, &AddDevice<repAddSNRDeviceV4Req>},
        {0x35000206, 4, &AddDevice<repAddSNRDeviceV5Req>},
        {0x35000071, 2, &AddSNRVolume<repAddSNRVolumeReq>},
        {0x350000b3, 1, &AddSNRVolume<repAddSNRVolume42Req>},
        {0x350000f5, 1, &AddSNRVolume<repAddSNRVolumeV3Req>},
        {0x35000165, 2, &AddSNRVolume<repAddSNRVolumeV4Req>},
        {0x35000005, 4, &UpdateSNRVolume<repUpdateSNRVolumeReq>},
        {0x350000ad, 2, &UpdateSNRVolume<repUpdateSNRVolume42Req>},
        {0x350000f1, 2, &UpdateSNRVolume<repUpdateSNRVolumeV3Req>},
        {0x35000157, 4, &UpdateSNRVolume<repUpdateSNRVolumeV4Req>},
        {0x35000003, 4, &DeleteDevice},
        {0x35000009, 2, &AddMountPoint},
        {0x35000075, 1, &UpdateMountPoint},
        {0x35000007, 1, &RemoveMountPoint},
        {0x3500010b, 3, &HistoryName},
        {0x3500010d, 1, &HistoryName},
        {0x3500010f, 1, &DeleteHistoryName},
        {0x35000115, 2, &PruneProtectedVolume},
        {0x350000b9, 2, &UpdateDevice<repUpdateSNRDeviceNameReq>},
        {0x350001ad, 2, &UpdateDevice<repUpdateSNRDeviceNameV3Req>},
        {0x35000214, 2, &UpdateDevice<repUpdateSNRDeviceNameV4Req>},
        {0x350000ff, 1, &ConfigureDevice<repConfigureDeviceReq>},
        {0x350001ab, 1, &ConfigureDevice<repConfigureDeviceV2Req>},
        {0x35000216, 1, &ConfigureDevice<repConfigureDeviceV3Req>},
        {0x35000101, 1, &UnconfigureDevice},
        {0x35000067, 3, &VolumeList<repReserveSNRVolReq>},
        {0x350001b1, 3, &VolumeList<repReserveSNRVolV2Req>},
        {0x3500007d, 3, &VolumeList<repUnreserveSNRVolReq>},
        {0x350000bb, 1, &VolumeList<repAllocateSNRVolReq>},
        {0x350000bd, 1, &VolumeList<repDeallocateSNRVolReq>},
        // Scratch pools.
        {0x35000011, 2, &AddPool<repAddRVScratchVolumePoolReq>},
        {0x350000c1, 1, &AddPool<repAddRVScratchVolumePoolV2Req>},
        {0x35000171, 1, &AddPool<repAddRVScratchVolumePoolV3Req>},
        {0x3500001d, 1, &UpdatePool<repUpdateRVScratchVolPoolReq, repRVScratchVolumePool>},
        {0x350000c5, 1, &UpdatePool<repUpdateRVScratchVolPoolV2Req, repRVScratchVolumePoolV2>},
        {0x3500016f, 1, &UpdatePool<repUpdateRVScratchVolPoolV3Req, repRVScratchVolumePoolV3>},
        {0x35000013, 1, &RemovePool<repRemoveRVScratchVolumePoolReq>},
        {0x3500022e, 1, &RemovePool<repRemoveRVScratchVolumePool70Req>},
        {0x35000015, 8, &AddMember},
        {0x35000017, 2, &RemoveMember},
        {0x35000019, 3, &ReleaseMember<repReleaseRVScratchVolumeReq>},
        {0x350001a3, 3, &ReleaseMember<repReleaseRVScratchVolumeV2Req>},
        {0x35000131, 1, &PoolCost},
        // Replication volumes, permanent replicas and application directories.
        {0x35000047, 3, &AddReplica<repAddReplicationVolumeReq, ReplicationVolumeRecord_t>},
        {0x35000085, 2, &AddReplica<repAddReplicationVolume42Req, ReplicationVolumeRecord42_t>},
        {0x350000db, 2, &AddReplica<repAddReplicationVolumeV3Req, ReplicationVolumeV3Record_t>},
        {0x3500018b, 2, &AddReplica<repAddReplicationVolumeV4Req, ReplicationVolumeV4Record_t>},
        {0x350001b7, 4, &AddReplica<repAddReplicationVolumeV5Req, ReplicationVolumeV5Record_t>},
        {0x35000053, 1, &UpdateReplica<repUpdateReplicationVolumeReq, ReplicationVolumeRecord_t>},
        {0x35000093, 1, &UpdateReplica<repUpdateReplicationVolume42Req, ReplicationVolumeRecord42_t>},
        {0x350000e5, 1, &UpdateReplica<repUpdateReplicationVolumeV3Req, ReplicationVolumeV3Record_t>},
        {0x35000195, 1, &UpdateReplica<repUpdateReplicationVolumeV4Req, ReplicationVolumeV4Record_t>},
        {0x350001bb, 1, &UpdateReplica<repUpdateReplicationVolumeV5Req, ReplicationVolumeV5Record_t>},
        {0x35000051, 2, &RemoveReplica},
        {0x3500005f, 2, &CreatePermanent<repCreatePermanentReplicaReq>},
        {0x3500008b, 1, &CreatePermanent<repCreatePermanentReplica42Req>},
        {0x35000117, 1, &CreatePermanent<repCreatePermanentReplicaV3Req>},
        {0x35000161, 2, &CreatePermanent<repCreatePermanentReplicaV4Req>},
        {0x35000063, 3, &DeletePermanent},
        {0x3500007b, 1, &ReplicaList},
        {0x3500007f, 1, &ReplicaList},
        {0x35000081, 2, &Prune},
        {0x35000045, 2, &AddAppDirs},
        {0x350000d9, 1, &CopyAppDirs},
        {0x35000083, 1, &AppDirTimes},
        // Policies, snap engines and snap parameters.
        {0x3500001f, 2, &AddPolicy<repAddReplicationPolicyReq, ReplicationPolicyRecord_t>},
        {0x350000c7, 1, &AddPolicy<repAddReplicationPolicyV2Req, ReplicationPolicyV2Record_t>},
        {0x35000173, 2, &AddPolicy<repAddReplicationPolicyV3Req, ReplicationPolicyV3Record_t>},
        {0x35000025, 1, &UpdatePolicy<repUpdateReplicationPolicyReq, ReplicationPolicyRecord_t>},
        {0x350000cb, 1, &UpdatePolicy<repUpdateReplicationPolicyV2Req, ReplicationPolicyV2Record_t>},
        {0x35000177, 1, &UpdatePolicy<repUpdateReplicationPolicyV3Req, ReplicationPolicyV3Record_t>},
        {0x35000023, 1, &RemovePolicy},
        {0x35000029, 1, &AddEngine<repAddSnapEngineInfoReq, SnapEngineInfoRecord_t>},
        {0x350000a1, 1, &AddEngine<repAddSnapEngineInfo42Req, SnapEngineInfo42Record_t>},
        {0x35000133, 1, &AddEngine<repAddSnapEngineInfoV3Req, SnapEngineInfoV3Record_t>},
        {0x3500002f, 1, &UpdateEngine<repUpdateSnapEngineInfoReq, SnapEngineInfoRecord_t>},
        {0x350000a5, 1, &UpdateEngine<repUpdateSnapEngineInfo42Req, SnapEngineInfo42Record_t>},
        {0x35000137, 1, &UpdateEngine<repUpdateSnapEngineInfoV3Req, SnapEngineInfoV3Record_t>},
        {0x3500002d, 1, &RemoveEngine},
        {0x3500008f, 1, &RemoveEngineByName},
        {0x35000033, 1, &SnapParams<repAddVolSnapParamsReq, VolSnapParamsRecord_t>},
        {0x350000d1, 1, &SnapParams<repAddVolSnapParamsV2Req, VolSnapParamsV2Record_t>},
        {0x35000039, 1, &SnapParams<repUpdateVolSnapParamsReq, VolSnapParamsRecord_t>},
        {0x350000d5, 1, &SnapParams<repUpdateVolSnapParamsV2Req, VolSnapParamsV2Record_t>},
        {0x35000037, 1, &RemoveSnapParams},
        // Consistency points.
        {0x350001db, 2, &CreateCP<repCreateCPReq, repFLRSnapRec>},
        {0x350001fe, 2, &CreateCP<repCreateCPReqV2, repFLRSnapRecV2>},
        {0x3500024c, 2, &CreateCP<repCreateCPReqV3, repFLRSnapRecV2>},
        {0x350001d5, 1, &AddCP},
        {0x350001df, 3, &AddSnapMount},
        {0x350001e1, 2, &DeleteSnapMount},
        {0x350001e3, 3, &AddShare},
        {0x350001e5, 2, &DeleteShare},
        {0x350001eb, 2, &DeleteSetCPs},
        {0x350001ef, 2, &DeleteCP},
        {0x350001f1, 3, &PruneSet},
        {0x35000232, 2, &PruneFanIn},
        {0x35000246, 1, &SnapshotPaths},
        {0x350001fd, 2, &RebuildCPs<repCreateCPReq2, repFLRSnapRec>},
        {0x35000245, 2, &RebuildCPs<repCreateCPReq2V2, repFLRSnapRecV2>},
        // Client cleanup and job volume history.
        {0x3500005d, 2, &CleanupClient},
        {0x35000119, 1, &AddHistory},
        {0x3500023a, 1, &AddHistory80},
        {0x35000129, 1, &DeleteHistory},
        // Appliances, stored files and user applications.
        {0x35000103, 1, &AddAppliance},
        {0x35000105, 1, &DeleteAppliance},
        {0x35000143, 2, &UploadFile},
        {0x35000153, 1, &UpdateFile},
        {0x3500014f, 1, &DeleteFile},
        {0x35000151, 1, &DeleteVolumeFiles},
        {0x35000199, 1, &Application},
        {0x3500019b, 1, &Application},
        {0x3500019d, 1, &DeleteApplication},
    };
    return codes;
}

// ---- The check ----------------------------------------------------------------------------

// The removals and moves that have left rows naming rows that are gone, the
// callers of their steps, and every removal of consistency point rows: each
// must have written in some sequence of a range, or the sequences no longer
// reach what the check is after.
const unsigned long kRemovalsReached[] = {0x35000003, 0x35000005, 0x35000157, 0x35000063, 0x35000019, 0x350001a3,
                                          0x3500005d, 0x35000081, 0x350000b9, 0x350001ad, 0x35000214,
                                          // consistency points
                                          0x350001e1, 0x350001e5, 0x350001eb, 0x350001ef, 0x350001f1, 0x35000232,
                                          0x350001fd, 0x35000245};

std::string Hex(unsigned long code) { return HexText(static_cast<long long>(code)); }

// One post of a sequence as it was answered.
struct Posted {
    int step = 0;
    unsigned long code = 0;
    std::string what;
    int64_t status = -1;
    std::string text;
    bool wrote = false;  // the catalogue changed
};

std::string Shown(const Posted& p)
{
    return "step " + Num(p.step) + ": " + Hex(p.code) + " (" + p.what + ") -> status " + Num(p.status) +
           (p.text.empty() ? "" : " \"" + p.text + "\"");
}

// A broken reference, or a pool whose counters are off, and the post that
// left it.
struct Finding {
    unsigned seed = 0;
    Posted post;
    std::string kind;
    std::string text;
    std::vector<Posted> writes;  // of its sequence up to it; only the first finding of a sequence keeps them
};

// A test's parameter: the index of its range of seeds.
class ReferenceCheckTest : public CatalogueTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        ZxNamedMutex::setWaitScale(0.01);
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            ++m_replies;
            m_replyCode = code;
            const ServedCase* served = ServedCases().find(m_code);
            if (served != nullptr && data != nullptr && length == served->replySize) {
                const SentStatus status = served->readStatus(data);
                m_status = status.status;
                m_text = status.errMsg != nullptr ? status.errMsg : "";
            }
        });
    }

    void TearDown() override
    {
        sqlite3_close(m_db);
        m_db = nullptr;
        ZxNamedMutex::setWaitScale(1.0);
        CatalogueTest::TearDown();
    }

    // A fresh catalogue with the host's rows: clients with an agent and a
    // package, two replication sets with their destination hosts (5 a
    // Windows host, whose release reports each step it did, 6 one whose FLR
    // client reports only the snapshots it destroyed), and the sets'
    // subclients (pairs); read on a connection of the test's own.
    void freshCatalogue()
    {
        sqlite3_close(m_db);
        m_db = nullptr;
        CatalogueTest::TearDown();
        CatalogueTest::SetUp();
        ClientFakesScope::fakes().reset();
        exec("INSERT INTO DHT_OperatingSystem (id, osName, osRelease, osType) VALUES (1, 'Windows Server', '2019', "
             "'Windows')");
        for (int id : {5, 6, 7, 8, 9}) {
            HostClientSeed c;
            c.id = id;
            c.name = "client" + Num(id);
            c.netHostName = c.name + ".net";
            c.tallmarkId = id;
            c.osId = id == 5 ? 1 : 0;
            ASSERT_EQ(HostConfig::addClient(c), 0);
            ASSERT_EQ(HostConfig::addAgent(id, 47), 0);
            ASSERT_EQ(HostConfig::addPackage(id, 1007), 0);
        }
        for (int i = 0; i < 2; ++i) {
            HostBackupSetSeed set;
            set.id = kSets[i];
            set.name = "set-" + Num(set.id);
            set.clientId = 8 + i;
            set.appTypeId = 84;
            set.destinationHostId = kDestinationHosts[i];
            ASSERT_EQ(HostConfig::addBackupSet(set), 0);
        }
        exec("INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet, subclientName, subclientStatus) VALUES"
             " (201, 8, 84, 40, 'pair-a', 40), (202, 9, 84, 40, 'pair-b', 40),"
             " (203, 9, 84, 41, 'pair-c', 40), (204, 7, 84, 41, 'pair-d', 40)");
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &m_db), SQLITE_OK);
        sqlite3_busy_timeout(m_db, 10000);
    }

    // Changes with every commit of another connection.
    long long dataVersion()
    {
        long long version = -1;
        ReadRows(m_db, "PRAGMA data_version", [&](sqlite3_stmt* r) { version = sqlite3_column_int64(r, 0); });
        return version;
    }

    // Posts one request, which must be answered once with the reply code
    // of its code.
    Posted post(int step, unsigned long code, const Request& request, const std::string& what)
    {
        Posted p;
        p.step = step;
        p.code = code;
        p.what = what;
        const ServedCase* served = ServedCases().find(code);
        EXPECT_NE(served, nullptr) << Hex(code) << " is not served";
        if (served == nullptr) return p;
        EXPECT_EQ(request.size(), served->requestSize) << Hex(code) << " is posted in another layout";
        m_code = code;
        m_replies = 0;
        m_status = -1;
        m_text.clear();
        EvDebug::clearEntries();
        const long long version = dataVersion();
        zxsDatabuf buf;
        buf.m_pData = request.data();
        buf.m_ulSize = buf.m_ulLength = request.size();
        EXPECT_EQ(mgr.post(code, 0, &buf), 1u) << Shown(p);
        EXPECT_EQ(m_replies, 1) << Shown(p);
        EXPECT_EQ(m_replyCode, ReplyCodeFor(code)) << Shown(p);
        p.status = m_status;
        p.text = m_text;
        p.wrote = dataVersion() != version;
        return p;
    }

    // One seeded sequence on a fresh catalogue: what it found; the codes
    // that wrote are added to `wrote`.
    std::vector<Finding> runSequence(unsigned seed, std::set<unsigned long>& wrote)
    {
        freshCatalogue();
        std::vector<Finding> findings;
        if (HasFatalFailure()) return findings;
        std::mt19937 random(seed);
        const std::vector<WritingCode>& codes = WritingCodes();
        int total = 0;
        for (const WritingCode& c : codes) total += c.weight;
        ReferenceWatch watch(m_db);
        std::vector<Posted> writes;
        for (int step = 1; step <= kPostsPerSequence; ++step) {
            int roll = static_cast<int>(random() % static_cast<unsigned>(total));
            const WritingCode* chosen = &codes.front();
            for (const WritingCode& c : codes) {
                if (roll < c.weight) {
                    chosen = &c;
                    break;
                }
                roll -= c.weight;
            }
            const Stored stored = ReadStored(m_db);
            Request request;
            std::string what;
            Draw draw(random, stored, request, what);
            chosen->build(draw);

            watch.before();
            const Posted p = post(step, chosen->code, request, what);
            if (p.wrote) {
                wrote.insert(p.code);
                writes.push_back(p);
            }
            auto found = [&](const std::string& kind, const std::string& text) {
                Finding f;
                f.seed = seed;
                f.post = p;
                f.kind = kind;
                f.text = text;
                if (findings.empty()) f.writes = writes;
                findings.push_back(f);
            };
            for (const BrokenReference& b : watch.after()) found(b.kind(), b.text());
            for (const std::string& fault : PoolCounterFaults(m_db)) found("YBScratchPool counters", fault);
            // A statement of the check that cannot be read stops it.
            if (HasFatalFailure()) break;
        }
        return findings;
    }

    QuietHost quiet;
    ClientFakesScope clients;
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session};
    sqlite3* m_db = nullptr;
    unsigned long m_code = 0;
    int m_replies = 0;
    unsigned long m_replyCode = 0;
    int64_t m_status = -1;
    std::string m_text;
};

TEST_P(ReferenceCheckTest, NoPostOfARandomSequenceLeavesARowNamingARowThatIsGone)
{
    std::vector<Finding> findings;
    std::set<unsigned long> wrote;
    const unsigned first = kFirstSeed + GetParam() * kSeedsPerRange;
    for (unsigned seed = first; seed < first + kSeedsPerRange; ++seed) {
        SCOPED_TRACE("seed " + Num(seed));
        const std::vector<Finding> found = runSequence(seed, wrote);
        findings.insert(findings.end(), found.begin(), found.end());
        if (HasFatalFailure()) return;
    }

    // The first finding with the writes of its sequence up to it; then each
    // kind once, with the first time each code left it.
    if (!findings.empty()) {
        const Finding& first = findings.front();
        std::string sequence;
        for (const Posted& w : first.writes) sequence += "\n    " + Shown(w);
        ADD_FAILURE() << "first found: " << first.kind << "\n  seed " << first.seed << ", " << Shown(first.post)
                      << "\n  " << first.text << "\n  the writes of the sequence up to it:" << sequence;
    }
    std::map<std::string, std::vector<const Finding*>> firstByCode;
    std::map<std::string, int> counts;
    for (const Finding& f : findings) {
        ++counts[f.kind];
        std::vector<const Finding*>& first = firstByCode[f.kind];
        if (std::none_of(first.begin(), first.end(), [&](const Finding* g) { return g->post.code == f.post.code; }))
            first.push_back(&f);
    }
    for (const auto& kind : firstByCode) {
        std::string byCode;
        for (const Finding* f : kind.second)
            byCode += "\n  seed " + Num(f->seed) + ", " + Shown(f->post) + "\n    " + f->text;
        ADD_FAILURE() << kind.first << ": " << counts[kind.first] << " times; first by each code:" << byCode;
    }

    // The sequences reach what they are meant to: every subsystem wrote,
    // and so did each removal the check is after.
    std::set<int> subsystems;
    for (unsigned long code : wrote) subsystems.insert(FindDispatchEntry(code)->subsystem);
    EXPECT_EQ(subsystems, (std::set<int>{3, 4, 5, 6, 7, 8, 9}));
    for (unsigned long code : kRemovalsReached)
        EXPECT_EQ(wrote.count(code), 1u) << Hex(code) << " never wrote in seeds " << first << " to "
                                         << first + kSeedsPerRange - 1;
}

INSTANTIATE_TEST_SUITE_P(SeedRanges, ReferenceCheckTest, ::testing::Range(0u, kSeeds / kSeedsPerRange),
                         [](const ::testing::TestParamInfo<unsigned>& range) {
                             const unsigned first = kFirstSeed + range.param * kSeedsPerRange;
                             return "Seeds" + Num(first) + "To" + Num(first + kSeedsPerRange - 1);
                         });

}  // namespace
