#include "rows/ZXDBDataTypes.h"

#include "service/Sync.h"

ZXDB_string::ZXDB_string() : ZXDBCompositeType<std::string, 6>() {}

ZXDB_string::ZXDB_string(const char* text) : ZXDBCompositeType<std::string, 6>(std::string(text ? text : "")) {}

ZXDB_string::~ZXDB_string() {}

void ZXDB_string::clearMemoryOnNULL()
{
    value = "";
}

ZXSimpleDBSem::ZXSimpleDBSem(int initialCount) : m_pSem(nullptr)
{
    m_pSem = new ZxSemaphore(initialCount);
}

ZXSimpleDBSem::~ZXSimpleDBSem()
{
    if (m_pSem) delete m_pSem;
    m_pSem = nullptr;
}

void ZXSimpleDBSem::wait()
{
    m_pSem->wait();
}

// Gives back one unit, whatever the caller passes.
void ZXSimpleDBSem::release(int)
{
    m_pSem->release(1);
}
