// A typed value taken from a statement's arguments: DBArgument.
#pragma once

#include <string>

// A typed value taken from a statement's arguments.
struct DBArgument {
    enum Kind { INT, INT64, TEXT, REAL, NUL } kind;
    long long i;
    double d;
    std::string s;
};
