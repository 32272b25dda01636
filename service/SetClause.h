// SET clauses of the partial updates of rows with a Flags column: "Flags = "
// and the whole flag word first, then one item per mask bit, in the order of
// the caller's list. Texts are quoted with SqlEscape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/db/SqlText.h"

// One item of a clause: the mask bit that selects it and what it appends
// for a row (", Column = value", or "" when the row's value is not written).
template <typename Row>
struct SetClauseItem {
    int32_t bit;
    std::string (*append)(const Row& row);
};

template <typename Row, size_t N>
std::string BuildFlagsSetClause(int32_t flags, int32_t mask, const SetClauseItem<Row> (&items)[N], const Row& row)
{
    std::string clause = "Flags = " + std::to_string(flags);
    for (const SetClauseItem<Row>& item : items) {
        if (mask & item.bit) clause += item.append(row);
    }
    return clause;
}

// ", Column = 'text'" with the text's quotes doubled.
inline std::string SetTextItem(const char* column, const std::string& value)
{
    return std::string(", ") + column + " = '" + SqlEscape(value) + "'";
}

// ", Column = number".
inline std::string SetNumberItem(const char* column, long long value)
{
    return std::string(", ") + column + " = " + std::to_string(value);
}
