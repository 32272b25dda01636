// The source names the operations' log entries carry: one per kind of
// operation, the same in every subsystem.
#pragma once

inline constexpr char ProgNameInserts[] = "ReplicationMgrInserts";
inline constexpr char ProgNameQueries[] = "ReplicationMgrQueries";
inline constexpr char ProgNameUpdates[] = "ReplicationMgrUpdates";
inline constexpr char ProgNameDeletes[] = "ReplicationMgrDeletes";
inline constexpr char ProgNameGetLists[] = "ReplicationMgrGetLists";
inline constexpr char ProgNameUtils[] = "ReplicationMgrUtils";

namespace cases {
// The source of post and of the case runs' own entries.
inline constexpr char ProgName[] = "ReplicationMgr";
}  // namespace cases
