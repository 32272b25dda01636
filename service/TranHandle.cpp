// The text a log entry prints for a transaction.
#include "service/TranHandle.h"

#include <cstdint>
#include <sstream>

std::string steps::TranHandle(const DBtran* tran)
{
    std::ostringstream out;
    out << std::hex << reinterpret_cast<uintptr_t>(tran);
    return out.str();
}
