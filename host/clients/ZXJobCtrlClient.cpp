#include "host/clients/ZXJobCtrlClient.h"

#include "host/clients/ClientFakes.h"

bool ZXJobCtrlClient::checkQuitFlag()
{
    ClientFakes& fakes = ClientFakes::instance();
    fakes.enter(ClientCall{"checkQuitFlag", "", -1, {}});
    return fakes.nextQuitFlag();
}
