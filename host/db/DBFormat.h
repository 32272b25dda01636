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

// Turns the values written into an SQL clause (texts in single quotes and
// numbers) into parameters ?first, ?first+1, ... with their values appended
// to args, so that clauses that differ only in their values give the same
// SQL. Names (also with digits or in double quotes, brackets or backquotes),
// blob literals, hexadecimal numbers, parameters and comments stay as they
// are, and so does everything after AS (a type name of a CAST) or BY (the
// terms of an ORDER BY or GROUP BY) up to the end of the parenthesis around
// it. A text without its closing quote is left as it is.
void dbLiftLiterals(const char* clause, int first, std::string& sql, std::vector<DBArgument>& args);
