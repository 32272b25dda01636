// The printf formats the library is given (internal to host/db): the typed
// values of a statement's argument list, and where and SET clauses turned
// into SQL whose values are bound parameters.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

#include "host/db/DBtable.h"

// Takes the arguments of a printf format in order and keeps the typed value
// of each conversion.
void dbFormatArguments(const char* format, va_list ap, std::vector<DBArgument>& args);

// Turns a where or SET clause written as a printf format into SQL in which
// every value is a parameter: a number (%d, %i, %u with any length, %f, %g,
// %e) becomes ?N, and a text stands as a whole quoted literal ('%s'), which
// becomes ?N without its quotes. Parameters are numbered from first. A text
// conversion anywhere else, a conversion inside a quoted literal, a width, a
// precision, a flag or any other conversion is refused: false, with the
// reason in `refusal`. "%%" stands for "%".
bool dbClauseOfFormat(const char* format, va_list ap, int first, std::string& sql, std::vector<DBArgument>& args,
                      std::string& refusal);
