// Quoting of texts that go into SQL clauses.
#pragma once

#include <string>

// Returns the text with every single quote doubled, ready to stand between the
// single quotes the caller writes around it. A text without quotes comes back
// unchanged.
inline std::string SqlEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}
