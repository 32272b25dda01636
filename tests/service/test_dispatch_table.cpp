// The request dispatch table and the names of the request and reply codes.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/ZxFramework.h"
#include "service/DispatchTable.h"

namespace {

const unsigned long kLastRequestCode = kFirstRequestCode + kDispatchSlots - 1;  // 0x35000256

std::vector<const DispatchEntry*> ServedEntries() {
    std::vector<const DispatchEntry*> served;
    for (unsigned long code = kFirstRequestCode; code <= kLastRequestCode; ++code) {
        if (const DispatchEntry* entry = FindDispatchEntry(code)) served.push_back(entry);
    }
    return served;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

}  // namespace

TEST(DispatchTable, TotalsBySlotAndKind) {
    std::map<CaseKind, int> byKind;
    std::set<std::string> families;
    int empty = 0;
    for (unsigned long code = kFirstRequestCode; code <= kLastRequestCode; ++code) {
        const DispatchEntry* entry = FindDispatchEntry(code);
        if (entry == nullptr) {
            ++empty;
            continue;
        }
        EXPECT_EQ(entry->requestCode, code);
        ++byKind[entry->kind];
        if (entry->kind == CaseKind::Handler) families.insert(entry->target);
    }
    EXPECT_EQ(ServedEntries().size(), 267u);
    EXPECT_EQ(empty, 331);
    EXPECT_EQ(byKind[CaseKind::Handler], 165);
    EXPECT_EQ(byKind[CaseKind::PlainHandler], 14);
    EXPECT_EQ(byKind[CaseKind::InlineTran], 47);
    EXPECT_EQ(byKind[CaseKind::Inline], 41);
    EXPECT_EQ(families.size(), 53u);
}

TEST(DispatchTable, CodesOutsideTheRangeHaveNoEntry) {
    for (unsigned long code : {0x0UL, 0x35000000UL, 0x35000257UL, 0x35000258UL, 0x36000001UL, ~0UL,
                               0x135000001UL}) {
        EXPECT_EQ(FindDispatchEntry(code), nullptr) << std::hex << code;
    }
    // Reply codes are never served as requests.
    EXPECT_EQ(FindDispatchEntry(0x35000002), nullptr);
    EXPECT_EQ(FindDispatchEntry(0x350001dc), nullptr);
}

TEST(DispatchTable, ServedCodesAreOddBelowTheSwitchAndEvenAbove) {
    const std::set<unsigned long> oddLate = {0x3500023f, 0x35000241, 0x35000243, 0x35000245};
    std::set<unsigned long> oddLateSeen;
    for (const DispatchEntry* entry : ServedEntries()) {
        const unsigned long code = entry->requestCode;
        if (code <= 0x350001fd) {
            EXPECT_EQ(code % 2, 1u) << std::hex << code;
        } else if (oddLate.count(code)) {
            oddLateSeen.insert(code);
        } else {
            EXPECT_EQ(code % 2, 0u) << std::hex << code;
        }
    }
    EXPECT_EQ(oddLateSeen, oddLate);
    EXPECT_NE(FindDispatchEntry(0x350001fd), nullptr);
    EXPECT_NE(FindDispatchEntry(0x350001fe), nullptr);
}

TEST(DispatchTable, ReplyCodes) {
    const std::map<unsigned long, unsigned long> exceptions = {
        {0x35000049, 0x35000050}, {0x35000119, 0x35000120}, {0x35000129, 0x35000130},
        {0x35000139, 0x35000140}, {0x35000179, 0x35000180}, {0x350001fd, 0x350001dc},
        {0x35000245, 0x350001dc}};
    std::set<unsigned long> requests;
    std::map<unsigned long, std::set<unsigned long>> requestsOfReply;
    for (const DispatchEntry* entry : ServedEntries()) {
        requests.insert(entry->requestCode);
        requestsOfReply[entry->replyCode].insert(entry->requestCode);
        auto it = exceptions.find(entry->requestCode);
        const unsigned long expected = it != exceptions.end() ? it->second : entry->requestCode + 1;
        EXPECT_EQ(entry->replyCode, expected) << std::hex << entry->requestCode;
        EXPECT_EQ(ReplyCodeFor(entry->requestCode), entry->replyCode);
        EXPECT_GE(entry->replyCode, kFirstRequestCode + 1);
        EXPECT_LE(entry->replyCode, kLastRequestCode + 1);
    }
    // Requests and replies are disjoint; only 0x350001dc answers more than one request.
    for (const auto& reply : requestsOfReply) {
        EXPECT_EQ(requests.count(reply.first), 0u) << std::hex << reply.first;
        if (reply.first != 0x350001dc) {
            EXPECT_EQ(reply.second.size(), 1u) << std::hex << reply.first;
        }
    }
    EXPECT_EQ(requestsOfReply[0x350001dc], (std::set<unsigned long>{0x350001db, 0x350001fd, 0x35000245}));
    EXPECT_EQ(ReplyCodeFor(0x35000256), 0x35000257u);
    EXPECT_EQ(ReplyCodeFor(0x3500004a), 0x3500004bu);  // not served
    EXPECT_EQ(FindDispatchEntry(0x3500004a), nullptr);
}

TEST(DispatchTable, SharedAndSelfReplyingCases) {
    const DispatchEntry* first = FindDispatchEntry(0x35000228);
    const DispatchEntry* second = FindDispatchEntry(0x35000248);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->kind, CaseKind::PlainHandler);
    EXPECT_EQ(second->kind, CaseKind::PlainHandler);
    EXPECT_STREQ(first->target, second->target);
    EXPECT_EQ(first->replyCode, 0x35000229u);
    EXPECT_EQ(second->replyCode, 0x35000249u);

    // Operations that send their replies themselves: inline, no reply type in the case.
    for (unsigned long code : {0x3500003fUL, 0x35000043UL, 0x35000045UL}) {
        const DispatchEntry* entry = FindDispatchEntry(code);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->kind, CaseKind::Inline);
        EXPECT_STREQ(entry->replyType, "");
        EXPECT_EQ(entry->replyCode, code + 1);
    }
    // The creation of a consistency point answers with the reply of its first version.
    for (unsigned long code : {0x350001fdUL, 0x35000245UL}) {
        const DispatchEntry* entry = FindDispatchEntry(code);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->kind, CaseKind::InlineTran);
        EXPECT_STREQ(entry->replyType, FindDispatchEntry(0x350001db)->replyType);
    }
}

TEST(DispatchTable, EntryFieldsAreConsistentWithTheirKind) {
    const std::set<std::string> versions = {"",   "V1", "42", "V2", "V3", "V4",
                                            "V5", "V6", "70", "80"};
    const char* const laterVersions[] = {"V2", "V3", "V4", "V5", "V6", "42", "80"};
    std::map<std::string, std::set<int>> subsystemsOfTarget;
    int selfReplying = 0;
    for (const DispatchEntry* entry : ServedEntries()) {
        SCOPED_TRACE(::testing::Message() << std::hex << entry->requestCode << " " << entry->target);
        ASSERT_NE(entry->version, nullptr);
        ASSERT_NE(entry->target, nullptr);
        ASSERT_NE(entry->requestType, nullptr);
        ASSERT_NE(entry->replyType, nullptr);
        EXPECT_GE(entry->subsystem, 3);
        EXPECT_LE(entry->subsystem, 9);
        EXPECT_TRUE(versions.count(entry->version));
        EXPECT_STRNE(entry->target, "");
        subsystemsOfTarget[entry->target].insert(entry->subsystem);
        const std::string target = entry->target;
        switch (entry->kind) {
        case CaseKind::Handler:
            EXPECT_TRUE(EndsWith(target, "Handler"));
            EXPECT_STRNE(entry->version, "");
            EXPECT_TRUE(Contains(entry->replyType, "Resp"));
            if (*entry->requestType != '\0') {
                EXPECT_TRUE(Contains(entry->requestType, "Req"));
            }
            // The message types carry the version of the message.
            if (std::strcmp(entry->version, "V1") == 0) {
                for (const char* later : laterVersions) {
                    EXPECT_FALSE(Contains(entry->requestType, later));
                    EXPECT_FALSE(Contains(entry->replyType, later));
                }
            } else {
                EXPECT_TRUE(Contains(entry->requestType, entry->version) ||
                            Contains(entry->replyType, entry->version));
            }
            break;
        case CaseKind::PlainHandler:
            EXPECT_STREQ(entry->requestType, "");
            EXPECT_STREQ(entry->replyType, "");
            break;
        case CaseKind::InlineTran:
        case CaseKind::Inline:
            EXPECT_FALSE(EndsWith(target, "Handler"));
            EXPECT_STREQ(entry->requestType, "");
            if (*entry->replyType == '\0') {
                ++selfReplying;
                EXPECT_EQ(entry->kind, CaseKind::Inline);
            } else {
                EXPECT_TRUE(Contains(entry->replyType, "Resp"));
            }
            break;
        }
    }
    EXPECT_EQ(selfReplying, 3);
    // An operation belongs to one subsystem, whatever the version.
    for (const auto& target : subsystemsOfTarget) {
        EXPECT_EQ(target.second.size(), 1u) << target.first;
    }
}

TEST(MessageNames, EveryCodeOfTheRangeHasAName) {
    for (unsigned int code = 0x35000001; code <= 0x35000257; ++code) {
        const char* name = ZXS_ReplicationMgr_PM_STRING(code);
        ASSERT_NE(name, nullptr) << std::hex << code;
        EXPECT_EQ(std::strncmp(name, "REPLICA_PM_", 11), 0) << name;
        EXPECT_GT(std::strlen(name), 11u) << std::hex << code;
        EXPECT_STRNE(name, "REPLICA_PM_UNKNOWN_MESSAGE") << std::hex << code;
    }
}

TEST(MessageNames, RequestsAndRepliesAreNamedAfterTheirRole) {
    std::set<unsigned long> requests;
    std::set<unsigned long> replies;
    for (const DispatchEntry* entry : ServedEntries()) {
        requests.insert(entry->requestCode);
        replies.insert(entry->replyCode);
    }
    std::map<std::string, std::vector<unsigned long>> codesOfName;
    for (unsigned int code = 0x35000001; code <= 0x35000257; ++code) {
        const std::string name = ZXS_ReplicationMgr_PM_STRING(code);
        codesOfName[name].push_back(code);
        const bool unassigned = name.find("UNASSIGNED") != std::string::npos;
        if (requests.count(code)) {
            EXPECT_FALSE(unassigned) << name;
            EXPECT_TRUE(name.find("_REQ") != std::string::npos || name.find("Req") != std::string::npos) << name;
        } else if (replies.count(code)) {
            EXPECT_FALSE(unassigned) << name;
            EXPECT_TRUE(name.find("_RESP") != std::string::npos || name.find("_RSP") != std::string::npos ||
                        name.find("Resp") != std::string::npos)
                << name;
        } else {
            EXPECT_TRUE(unassigned) << std::hex << code << " " << name;
        }
    }
    // Names tell the codes apart; the two creation requests of one case log under one name.
    for (const auto& name : codesOfName) {
        if (name.first == "REPLICA_PM_CREATE_CP_REQ2") {
            EXPECT_EQ(name.second, (std::vector<unsigned long>{0x350001fd, 0x35000245}));
        } else {
            EXPECT_EQ(name.second.size(), 1u) << name.first;
        }
    }
    // A reply displaced from request + 1 leaves request + 1 unassigned.
    EXPECT_NE(std::string(ZXS_ReplicationMgr_PM_STRING(0x3500004a)).find("UNASSIGNED"), std::string::npos);
}

TEST(MessageNames, NamesCarriedByTheInlineCases) {
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000003), "REPLICA_PM_DeleteSNRDevice_REQ");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000004), "REPLICA_PM_DeleteSNRDevice_RSP");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000101), "REPLICA_PM_UnconfigureDevice_REQ");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000102), "REPLICA_PM_UnconfiguredDevice_RESP");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000119), "REPLICA_PM_AddVolumeToYBJobHistory_REQ");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000120), "REPLICA_PM_AddVolumeToYBJobHistory_RESP");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x350001dc), "REPLICA_PM_CREATE_CP_RESP");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000204), "REPLICA_PM_QUERY_REP_SET_LAST_CP_V2_REQ");
    EXPECT_STREQ(ZXS_ReplicationMgr_PM_STRING(0x35000237), "REPLICA_PM_SAPORCLE_JobListResp");
}

TEST(MessageNames, CodesOutsideTheRangeGetOneFixedText) {
    const char* unknown = ZXS_ReplicationMgr_PM_STRING(0x35000000);
    EXPECT_STREQ(unknown, "REPLICA_PM_UNKNOWN_MESSAGE");
    for (unsigned int code : {0x0u, 0x35000258u, 0x36000001u, 0xffffffffu}) {
        EXPECT_EQ(ZXS_ReplicationMgr_PM_STRING(code), unknown) << std::hex << code;
    }
}
