// Requests of the scratch pool catalogue through post in message versions 1
// to 3, each reply decoded into one Answer as it is sent.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "policies/PolicyTestSupport.h"
#include "scratch/ScratchPools.h"
#include "service/CasePatterns.h"

// A database call made to fail after `skip` calls of its kind went through,
// the request that meets it, and the code and text its reply must carry.
template <typename Answer>
struct FailingCall {
    const char* call;
    std::function<Answer()> request;
    int code;
    std::string text;
    int skip;
};

struct PoolAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    uint32_t poolId = 0;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<RVScratchVolumePoolV3Record_t> pools;  // names "(null)" when sent null
};

namespace scratch_test {

template <typename T, typename = void>
struct HasPool : std::false_type {};
template <typename T>
struct HasPool<T, std::void_t<decltype(std::declval<T&>().pool)>> : std::true_type {};
template <typename T, typename = void>
struct HasPools : std::false_type {};
template <typename T>
struct HasPools<T, std::void_t<decltype(std::declval<T&>().pools)>> : std::true_type {};
template <typename T, typename = void>
struct HasPoolId : std::false_type {};
template <typename T>
struct HasPoolId<T, std::void_t<decltype(std::declval<T&>().poolId)>> : std::true_type {};

// A wire pool of any version as a version 3 record (fields a version lacks
// keep their defaults).
template <typename Wire>
RVScratchVolumePoolV3Record_t ReadPool(const Wire& w)
{
    RVScratchVolumePoolV3Record_t p;
    p.id = static_cast<int32_t>(w.id);
    p.TotalVolumes = static_cast<int32_t>(w.TotalVolumes);
    p.AvailableVolumes = static_cast<int32_t>(w.AvailableVolumes);
    p.name = ReplyText(w.name);
    if constexpr (!std::is_same<Wire, repRVScratchVolumePool>::value) p.SnapEngineInfoId = static_cast<int32_t>(w.SnapEngineInfoId);
    if constexpr (std::is_same<Wire, repRVScratchVolumePoolV3>::value) {
        p.Type = static_cast<int32_t>(w.Type);
        p.UpdateMask = static_cast<int32_t>(w.UpdateMask);
    }
    return p;
}

template <typename Reply>
PoolAnswer DecodePool(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    PoolAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasPoolId<Reply>::value) a.poolId = r->poolId;
    if constexpr (HasPool<Reply>::value) a.pools.push_back(ReadPool(r->pool));
    if constexpr (HasPools<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->pools == nullptr;
        for (uint32_t i = 0; r->pools != nullptr && i < r->count; ++i) a.pools.push_back(ReadPool(r->pools[i]));
    }
    return a;
}

}  // namespace scratch_test

// The request layouts and codes of one message version of the catalogue.
template <int Number, typename AddReqT, typename AddRespT, typename QueryRespT, typename ListRespT,
          typename UpdateReqT, typename UpdateRespT, unsigned long Add, unsigned long Query, unsigned long List,
          unsigned long Update>
struct PoolVersion {
    static constexpr int number = Number;
    using AddReq = AddReqT;
    using AddResp = AddRespT;
    using QueryResp = QueryRespT;
    using ListResp = ListRespT;
    using UpdateReq = UpdateReqT;
    using UpdateResp = UpdateRespT;
    static constexpr unsigned long add = Add, query = Query, list = List, update = Update;
};

using PoolV1 = PoolVersion<1, repAddRVScratchVolumePoolReq, repAddRVScratchVolumePoolResponse,
                           repQueryRVScratchVolPoolResponse, repGetRVScratchVolumePoolListResponse,
                           repUpdateRVScratchVolPoolReq, repUpdateRVScratchVolPoolResp, 0x35000011, 0x3500001b,
                           0x3500000f, 0x3500001d>;
using PoolV2 = PoolVersion<2, repAddRVScratchVolumePoolV2Req, repAddRVScratchVolumePoolV2Response,
                           repQueryRVScratchVolPoolV2Response, repGetRVScratchVolumePoolV2ListResponse,
                           repUpdateRVScratchVolPoolV2Req, repUpdateRVScratchVolPoolV2Resp, 0x350000c1, 0x350000c3,
                           0x350000bf, 0x350000c5>;
using PoolV3 = PoolVersion<3, repAddRVScratchVolumePoolV3Req, repAddRVScratchVolumePoolV3Response,
                           repQueryRVScratchVolPoolV3Response, repGetRVScratchVolumePoolV3ListResponse,
                           repUpdateRVScratchVolPoolV3Req, repUpdateRVScratchVolPoolV3Resp, 0x35000171, 0x3500016d,
                           0x3500016b, 0x3500016f>;

template <typename V>
class PoolPostTest : public PolicyPostTest<PoolAnswer> {
protected:
    // Adds a pool as the version's request carries it: version 1 the name,
    // version 2 also the engine, version 3 the whole record.
    PoolAnswer add(const RVScratchVolumePoolV3Record_t& pool)
    {
        typename V::AddReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        if constexpr (V::number == 3) {
            YBSet(static_cast<repRVScratchVolumePoolV3&>(req), pool);
        } else {
            req.name = RequestText(pool.name);
            if constexpr (V::number == 2) req.SnapEngineInfoId = static_cast<uint32_t>(pool.SnapEngineInfoId);
        }
        return send(V::add, &req, sizeof(typename V::AddResp), &scratch_test::DecodePool<typename V::AddResp>);
    }
    PoolAnswer query(int poolId)
    {
        repQueryRVScratchVolPoolReq req{static_cast<uint32_t>(poolId)};
        return send(V::query, &req, sizeof(typename V::QueryResp), &scratch_test::DecodePool<typename V::QueryResp>);
    }
    PoolAnswer list()
    {
        answers.clear();
        zxsDatabuf buf;  // the list request carries no data
        m_decode = &scratch_test::DecodePool<typename V::ListResp>;
        EXPECT_EQ(mgr.post(V::list, 0, &buf), 1u);
        EXPECT_EQ(answers.size(), 1u);
        PoolAnswer a = answers.empty() ? PoolAnswer() : answers.back();
        EXPECT_EQ(a.code, V::list + 1);
        EXPECT_EQ(a.size, sizeof(typename V::ListResp));
        return a;
    }
    PoolAnswer update(const RVScratchVolumePoolV3Record_t& pool)
    {
        typename V::UpdateReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        if constexpr (V::number == 1) YBSet(static_cast<repRVScratchVolumePool&>(req), pool);
        if constexpr (V::number == 2) YBSet(static_cast<repRVScratchVolumePoolV2&>(req), pool);
        if constexpr (V::number == 3) YBSet(static_cast<repRVScratchVolumePoolV3&>(req), pool);
        return send(V::update, &req, sizeof(typename V::UpdateResp),
                    &scratch_test::DecodePool<typename V::UpdateResp>);
    }

    void expectSuccess(const PoolAnswer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    // Status 0, the text, the code from version 2 on, and nothing else.
    void expectFailure(const PoolAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number >= 2 ? code : 0);
        EXPECT_EQ(a.poolId, 0u);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }

    // The stored pools in id order.
    std::vector<YBScratchPool_t> pools() { return StoredRows<YBScratchPool_t, CRVScratchVolumePoolDB>(); }
    // Every table the catalogue writes.
    std::string dump()
    {
        return DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBVolSnapParams") +
               DumpTable(m_path, "YBScratchVolume");
    }

    static RVScratchVolumePoolV3Record_t Pool(const std::string& name, int engine = 0, int type = 1, int id = -1)
    {
        RVScratchVolumePoolV3Record_t p;
        p.id = id;
        p.name = name;
        p.SnapEngineInfoId = engine;
        p.Type = type;
        return p;
    }
};
