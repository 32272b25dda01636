// SET clauses of the partial updates of rows with a Flags column: "Flags = "
// and the whole flag word first, then one item per mask bit, in the order of
// the caller's list. Texts are quoted with SqlEscape. Also the merge of the
// flags an update selects into the stored flag word.
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

// One flag of a partial update: the mask bit that selects it and its bit of
// the Flags column.
struct FlagField {
    int32_t fieldBit;
    int32_t flagsBit;
};

// The stored flag word with each flag whose mask bit is set taken from the
// requested word; every other bit stays as stored. An item is a FlagField or
// any structure with the same two members.
template <typename Item, size_t N>
int32_t MergeFlags(int32_t stored, int32_t requested, int32_t mask, const Item (&items)[N])
{
    int32_t merged = stored;
    for (const Item& item : items) {
        if (mask & item.fieldBit) merged = (merged & ~item.flagsBit) | (requested & item.flagsBit);
    }
    return merged;
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
