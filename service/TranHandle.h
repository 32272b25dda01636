// The text a log entry prints for a transaction: its handle in hexadecimal.
#pragma once

#include <string>

class DBtran;

namespace steps {

// The transaction handle in hexadecimal, without a prefix ("0" for none).
std::string TranHandle(const DBtran* tran);

// The detail line that names a transaction: "\n\tTran = 0x" + its handle.
inline std::string TranLine(const DBtran* tran) { return "\n\tTran = 0x" + TranHandle(tran); }

}  // namespace steps
