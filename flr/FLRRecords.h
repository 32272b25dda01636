// The YBSet conversions between the FLR records, their wire records and the
// rows of host/db/FLRTables.h; includes the entity, wire and operation record
// headers, so one include brings every FLR record.
#pragma once

#include <vector>

#include "flr/FLREntityRecords.h"
#include "flr/FLROperationRecords.h"
#include "flr/FLRWireRecords.h"
#include "host/db/FLRTables.h"
#include "rows/YBDBDst.h"
#include "service/Utils.h"

// ---------------------------------------------------------------------------
// Conversions.

// Wire to record. A null text is an empty text; the flags of a point read
// true only from a wire 1, and a true flag sets its bit in Flags (bits set
// before stay set); a version-3 point's Flags are ORed in.
void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRec& src);
void YBSet(FLRSnapshotRecord_t& dst, const repFLRSnapRecV2& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repFLRConsistencyPointRec& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV2& src);
void YBSet(FLRConsistencyPointRecord_t& dst, const repWinFLRConsistencyPointRecV3& src);
void YBSet(FanInDetail_t& dst, const repFLRFanInDetailRec& src);

// Record to wire: the texts point into the record (null for an empty text),
// which must outlive the wire record unchanged; 64-bit fields go out as
// their low 32 bits where the wire field is narrower.
void YBSet(repFLRSnapRec& dst, const FLRSnapshotRecord_t& src);
void YBSet(repFLRSnapRecV2& dst, const FLRSnapshotRecord_t& src);
void YBSet(repFLRConsistencyPointRec& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);
void YBSet(repRPInfo1& dst, const RPInfo1Record_t& src);
void YBSet(repFLRFanInDetailRec& dst, const FanInDetail_t& src);
void YBSet(repFLRSnapPairElem& dst, const FLRSnapPairRecord_t& src);
void YBSet(repFLRPairPathElem& dst, const FLRPairPathRecord_t& src);
void YBSet(repFLRSnapMountPointElem& dst, const FLRSnapMountPointRecord_t& src);
void YBSet(repFLRSnapNetworkShareElem& dst, const FLRSnapNetworkShareRecord_t& src);

// The fields a point's wire record adds to version 1: AuxValue and Type from
// version 2 on (YBSetCPType), Flags in version 3 (YBSetCPFlag). Nothing for
// the versions without them.
void YBSetCPType(repFLRConsistencyPointRec& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPType(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPType(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPFlag(repWinFLRConsistencyPointRecV2& dst, const FLRConsistencyPointRecord_t& src);
void YBSetCPFlag(repWinFLRConsistencyPointRecV3& dst, const FLRConsistencyPointRecord_t& src);

// Row to record.
void YBSet(FLRConsistencyPointRecord_t& dst, const YBFLRConsistencyPoint_t& src);
void YBSet(FLRSnapshotRecord_t& dst, const YBFLRSnapshot_t& src);
void YBSet(FLRSnapPairRecord_t& dst, const YBFLRSnapPair_t& src);
void YBSet(FLRSnapMountPointRecord_t& dst, const YBFLRSnapMountPoint_t& src);
void YBSet(FLRSnapNetworkShareRecord_t& dst, const YBFLRSnapNetworkShare_t& src);

// Record to row, into a row the caller has zeroed. A point never fails. A
// snapshot's texts are tested in the order name (127 characters at most),
// volume name, volume GUID, snapshot path (1023 each): the first that is
// longer fails with -18 and its message in dst, the texts before it copied.
// The row's CreationTime is left to the caller.
bool YBSet(YBDBDst_t<YBFLRConsistencyPoint_t>& dst, const FLRConsistencyPointRecord_t& src);
bool YBSet(YBDBDst_t<YBFLRSnapshot_t>& dst, const FLRSnapshotRecord_t& src);

// Rows of the recovery point cursors and procedures, appended as records:
// a recovery point of a destination client (the job id keeps its low 32
// bits), and a pair of a fan-in recovery point.
struct YBFLRGetRPByClientIdAndVolName_t;
struct YBFLRGetRPByClientIdAndVolGuid_t;
struct YBGetAllRPsbyDstClientId_t;
struct YBGetFLRPairPathByCPId_t;
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolName_t& src);
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBFLRGetRPByClientIdAndVolGuid_t& src);
void YBSet(std::vector<RPInfo1Record_t>& dst, const YBGetAllRPsbyDstClientId_t& src);
void YBSet(std::vector<FanInDetail_t>& dst, const YBGetFLRPairPathByCPId_t& src);

// Appends a snapshot made with the defaults (engine type 1) and converted
// from the wire record or row.
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRec& src);
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const repFLRSnapRecV2& src);
void YBSet(std::vector<FLRSnapshotRecord_t>& dst, const YBFLRSnapshot_t& src);
