// Column value types: one value of one column (32-bit integer, 64-bit integer
// or text) with its null state, update status and text form, on the database
// access library's value interface (host/db/ZXDBDataTypeBase.h).
#pragma once

#include <string>

#include "host/db/ZXDBDataTypeBase.h"

class ZxSemaphore;

class ZXDB_string : public ZXDBCompositeType<std::string, 6> {
public:
    ZXDB_string();
    explicit ZXDB_string(const char* text);
    ~ZXDB_string() override;

    void clearMemoryOnNULL() override;
};

typedef ZXDBPrimitiveType<int, &ZXDB_int_format, 1> ZXDB_int;
typedef ZXDBPrimitiveType<long long, &ZXDB___int64_format, 4> ZXDB_int64;

// Owner of one counting semaphore.
class ZXSimpleDBSem {
public:
    explicit ZXSimpleDBSem(int initialCount);
    ~ZXSimpleDBSem();
    ZXSimpleDBSem(const ZXSimpleDBSem&) = delete;
    ZXSimpleDBSem& operator=(const ZXSimpleDBSem&) = delete;

    void wait();
    // Gives one unit back; the argument is not used.
    void release(int);

private:
    ZxSemaphore* m_pSem;
};
