// The text a log entry prints for a transaction: its handle in hexadecimal.
#pragma once

#include <string>

class DBtran;

namespace steps {

// The transaction handle in hexadecimal, without a prefix ("0" for none).
std::string TranHandle(const DBtran* tran);

}  // namespace steps
