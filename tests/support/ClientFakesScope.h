// The client-side service fakes for one test: a fresh script and a kept
// journal while the scope lives; afterwards nothing kept and nothing scripted.
#pragma once

#include "host/clients/ClientFakes.h"

class ClientFakesScope {
public:
    ClientFakesScope()
    {
        fakes().reset();
        fakes().keepJournal(true);
    }
    ~ClientFakesScope()
    {
        fakes().keepJournal(false);
        fakes().reset();
    }
    ClientFakesScope(const ClientFakesScope&) = delete;
    ClientFakesScope& operator=(const ClientFakesScope&) = delete;

    static ClientFakes& fakes() { return ClientFakes::instance(); }
};
