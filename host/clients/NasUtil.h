// The host's NAS utility. Stand-in: each call is journaled in ClientFakes and
// answered from its script.
#pragma once

#include <string>

class NasUtil {
public:
    // Releases the snap-vault copy of a replica on its filer; 0 on success,
    // -1 on failure.
    int deleteSnapVaultReplica(int replicaHostId, const std::string& replicaUniqueId, int sourceHostId,
                               int primaryVolumeId, const std::string& sourceUniqueId, int sourceUniqueIdType,
                               const std::string& text, int copyManagerType);
};
