#include "host/clients/NasUtil.h"

#include "host/clients/ClientFakes.h"

int NasUtil::deleteSnapVaultReplica(int replicaHostId, const std::string& replicaUniqueId, int sourceHostId,
                                    int primaryVolumeId, const std::string& sourceUniqueId, int sourceUniqueIdType,
                                    const std::string& text, int copyManagerType)
{
    bool fail = ClientFakes::instance().enter(ClientCall{
        "deleteSnapVaultReplica", "", -1,
        {std::to_string(replicaHostId), replicaUniqueId, std::to_string(sourceHostId),
         std::to_string(primaryVolumeId), sourceUniqueId, std::to_string(sourceUniqueIdType), text,
         std::to_string(copyManagerType)}});
    return fail ? -1 : 0;
}
