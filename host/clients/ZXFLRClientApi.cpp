#include "host/clients/ZXFLRClientApi.h"

#include <algorithm>

#include "host/clients/ClientFakes.h"

namespace {

// The query as journaled: job id, recovery point id, retrieve-valid flags, snap job id.
std::vector<std::string> queryArgs(const SMVolSnapInfo& query)
{
    return {std::to_string(query.getJobId()), std::to_string(query.getRecoveryPointId()),
            std::to_string(query.getRetrieveValidFlags()), std::to_string(query.getSnapJobId())};
}

const int SnapDestroyed = 4;

}  // namespace

ZXFLRClientApi::ZXFLRClientApi(const std::string& clientName, int clientId, CZxNetwork*)
    : m_sClientName(clientName), m_nClientId(clientId)
{
}

int ZXFLRClientApi::FLRDelSnaps(std::vector<std::string>& snapNames)
{
    ClientFakes& fakes = ClientFakes::instance();
    if (fakes.enter(ClientCall{"FLRDelSnaps", m_sClientName, m_nClientId, snapNames})) return 1;
    snapNames.erase(std::remove_if(snapNames.begin(), snapNames.end(),
                                   [&fakes](const std::string& name) {
                                       return (fakes.snapResult(name) & SnapDestroyed) != 0;
                                   }),
                    snapNames.end());
    return 0;
}

ZXMMSnapAPI::ZXMMSnapAPI(int) {}

bool ZXMMSnapAPI::getVolumeSnaps(SMVolSnapInfo& query)
{
    return !ClientFakes::instance().enter(ClientCall{"getVolumeSnaps", "", -1, queryArgs(query)});
}

bool ZXSnapClientAPI::deleteVolumeSnaps(SMVolSnapInfo& query)
{
    return !ClientFakes::instance().enter(ClientCall{"deleteVolumeSnaps", "", -1, queryArgs(query)});
}
