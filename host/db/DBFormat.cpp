#include "host/db/DBFormat.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

enum Length { NONE, SHORT, LONG, LONGLONG, SIZE, MAX, PTRDIFF, LONGDOUBLE };

// One conversion of a printf format.
struct Conversion {
    bool decorated = false;  // flags, a width or a precision
    bool starWidth = false;
    bool starPrecision = false;
    Length length = NONE;
    char letter = '\0';
};

void skipDigits(const char*& p)
{
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
}

// Reads the conversion that follows a '%'; p is left on its letter.
void readConversion(const char*& p, Conversion& c)
{
    const char* start = p;
    while (*p != '\0' && std::strchr("-+ #0'", *p) != nullptr) ++p;
    if (*p == '*') {
        c.starWidth = true;
        ++p;
    } else {
        skipDigits(p);
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            c.starPrecision = true;
            ++p;
        } else {
            skipDigits(p);
        }
    }
    c.decorated = p != start;
    switch (*p) {
    case 'h':
        c.length = SHORT;
        if (*++p == 'h') ++p;
        break;
    case 'l':
        c.length = LONG;
        if (*++p == 'l') {
            c.length = LONGLONG;
            ++p;
        }
        break;
    case 'q':
        c.length = LONGLONG;
        ++p;
        break;
    case 'z':
        c.length = SIZE;
        ++p;
        break;
    case 'j':
        c.length = MAX;
        ++p;
        break;
    case 't':
        c.length = PTRDIFF;
        ++p;
        break;
    case 'L':
        c.length = LONGDOUBLE;
        ++p;
        break;
    default:
        break;
    }
    c.letter = *p;
}

enum Taken { VALUE, NO_VALUE, UNKNOWN };

// Takes the arguments of one conversion from the list. UNKNOWN leaves the
// list where it is: the size of the argument is not known.
Taken takeValue(const Conversion& c, va_list* ap, DBArgument& a)
{
    a = DBArgument{DBArgument::INT, 0, 0.0, std::string()};
    if (std::strchr("diuxXocsfFeEgGaApn", c.letter) == nullptr || c.letter == '\0') return UNKNOWN;
    if (c.starWidth) (void)va_arg(*ap, int);
    if (c.starPrecision) (void)va_arg(*ap, int);
    const bool wide = c.length == LONG || c.length == SIZE || c.length == PTRDIFF;
    const bool widest = c.length == LONGLONG || c.length == MAX;
    switch (c.letter) {
    case 'd':
    case 'i':
        if (widest || wide) a.kind = DBArgument::INT64;
        a.i = widest ? va_arg(*ap, long long) : wide ? va_arg(*ap, long) : va_arg(*ap, int);
        return VALUE;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        a.kind = DBArgument::INT64;
        a.i = widest ? static_cast<long long>(va_arg(*ap, unsigned long long))
                     : wide ? static_cast<long long>(va_arg(*ap, unsigned long)) : va_arg(*ap, unsigned int);
        return VALUE;
    case 'c':
        a.i = va_arg(*ap, int);
        return VALUE;
    case 's': {
        const char* s = va_arg(*ap, const char*);
        a.kind = DBArgument::TEXT;
        a.s = s != nullptr ? s : "";
        return VALUE;
    }
    case 'p':
        (void)va_arg(*ap, void*);
        return NO_VALUE;
    case 'n':
        (void)va_arg(*ap, int*);
        return NO_VALUE;
    default:
        a.kind = DBArgument::REAL;
        a.d = c.length == LONGDOUBLE ? static_cast<double>(va_arg(*ap, long double)) : va_arg(*ap, double);
        return VALUE;
    }
}

}  // namespace

void dbFormatArguments(const char* format, va_list ap, std::vector<DBArgument>& args)
{
    args.clear();
    if (format == nullptr) return;
    va_list list;
    va_copy(list, ap);
    for (const char* p = format; (p = std::strchr(p, '%')) != nullptr; ++p) {
        if (*++p == '%') continue;
        Conversion c;
        readConversion(p, c);
        DBArgument a;
        Taken taken = takeValue(c, &list, a);
        if (taken == UNKNOWN) break;
        if (taken == VALUE) args.push_back(a);
    }
    va_end(list);
}

bool dbClauseOfFormat(const char* format, va_list ap, int first, std::string& sql, std::vector<DBArgument>& args,
                      std::string& refusal)
{
    sql.clear();
    args.clear();
    refusal.clear();
    if (format == nullptr) return true;
    va_list list;
    va_copy(list, ap);
    bool quoted = false;  // inside a quoted literal
    for (const char* p = format; *p != '\0' && refusal.empty(); ++p) {
        if (*p != '%') {
            if (*p == '\'') quoted = !quoted;
            sql += *p;
            continue;
        }
        const char* at = p;
        if (*++p == '%') {
            sql += '%';
            continue;
        }
        Conversion c;
        readConversion(p, c);
        DBArgument a;
        const std::string conversion(at, *p != '\0' ? p + 1 : p);
        if (c.decorated || std::strchr("diufFeEgGs", c.letter) == nullptr || c.letter == '\0' ||
            takeValue(c, &list, a) != VALUE) {
            refusal = "the conversion " + conversion + " is not allowed in a clause";
            break;
        }
        if (c.letter != 's') {
            if (quoted) refusal = "a number (" + conversion + ") inside a quoted text";
        } else {
            // The quote before opened the literal, the one after closes it.
            bool whole = quoted && at > format && at[-1] == '\'' && (at - 1 == format || at[-2] != '\'') &&
                         p[1] == '\'' && p[2] != '\'';
            if (!whole) {
                refusal = "a text (" + conversion + ") that is not a whole quoted literal '" + conversion + "'";
            } else {
                sql.pop_back();
                ++p;
                quoted = false;
            }
        }
        if (refusal.empty()) {
            sql += "?" + std::to_string(first + static_cast<int>(args.size()));
            args.push_back(a);
        }
    }
    va_end(list);
    if (!refusal.empty()) {
        sql.clear();
        args.clear();
        return false;
    }
    return true;
}

namespace {

bool isNameChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// The end of a quoted part that starts at p (on its opening character);
// a doubled closing character stands for itself. Null when it is not closed.
const char* quotedEnd(const char* p, char close)
{
    for (++p; *p != '\0'; ++p) {
        if (*p != close) continue;
        if (p[1] != close) return p + 1;
        ++p;
    }
    return nullptr;
}

// The end of the parenthesis the text at p lies in (on its ')'), or of the
// text, skipping quoted parts.
const char* enclosingEnd(const char* p)
{
    int depth = 0;
    while (*p != '\0') {
        if (*p == '\'' || *p == '"' || *p == '`') {
            const char* end = quotedEnd(p, *p);
            if (end == nullptr) return p + std::strlen(p);
            p = end;
            continue;
        }
        if (*p == '(') ++depth;
        if (*p == ')' && depth-- == 0) return p;
        ++p;
    }
    return p;
}

// Reads the number at p into a; the end of the number, or null when it is
// not a number that can be a parameter.
const char* numberLiteral(const char* p, DBArgument& a)
{
    const char* q = p;
    bool real = false;
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X')) return nullptr;
    while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
    if (*q == '.') {
        real = true;
        ++q;
        while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
    }
    if ((*q == 'e' || *q == 'E') &&
        (std::isdigit(static_cast<unsigned char>(q[1])) ||
         ((q[1] == '+' || q[1] == '-') && std::isdigit(static_cast<unsigned char>(q[2]))))) {
        real = true;
        q += 2;
        while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
    }
    if (isNameChar(*q) || *q == '.') return nullptr;
    const std::string text(p, q);
    errno = 0;
    if (real) {
        a = DBArgument{DBArgument::REAL, 0, std::strtod(text.c_str(), nullptr), std::string()};
    } else {
        a = DBArgument{DBArgument::INT64, std::strtoll(text.c_str(), nullptr, 10), 0.0, std::string()};
    }
    return errno == 0 ? q : nullptr;
}

}  // namespace

void dbLiftLiterals(const char* clause, int first, std::string& sql, std::vector<DBArgument>& args)
{
    sql.clear();
    if (clause == nullptr) return;
    const char* p = clause;
    const size_t before = args.size();
    auto copyTo = [&](const char* end) {
        sql.append(p, end);
        p = end;
    };
    auto parameter = [&](DBArgument a) {
        sql += "?" + std::to_string(first + static_cast<int>(args.size() - before));
        args.push_back(std::move(a));
    };
    while (*p != '\0') {
        const char c = *p;
        if (c == '\'' && !(p > clause && isNameChar(p[-1]))) {
            const char* end = quotedEnd(p, '\'');
            if (end == nullptr) {
                copyTo(p + std::strlen(p));
                break;
            }
            DBArgument a{DBArgument::TEXT, 0, 0.0, std::string()};
            for (const char* q = p + 1; q < end - 1; ++q) {
                a.s += *q;
                if (*q == '\'') ++q;
            }
            parameter(std::move(a));
            p = end;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char* end = quotedEnd(p, c == '[' ? ']' : c);
            copyTo(end != nullptr ? end : p + std::strlen(p));
        } else if (c == '-' && p[1] == '-') {
            const char* end = std::strchr(p, '\n');
            copyTo(end != nullptr ? end : p + std::strlen(p));
        } else if (c == '/' && p[1] == '*') {
            const char* end = std::strstr(p + 2, "*/");
            copyTo(end != nullptr ? end + 2 : p + std::strlen(p));
        } else if (isNameChar(c) && !std::isdigit(static_cast<unsigned char>(c))) {
            const char* end = p;
            while (isNameChar(*end)) ++end;
            const std::string word(p, end);
            copyTo(end);
            if (sqlite3_stricmp(word.c_str(), "AS") == 0 || sqlite3_stricmp(word.c_str(), "BY") == 0)
                copyTo(enclosingEnd(p));
        } else if (c == '?' || c == ':' || c == '@' || c == '$') {
            const char* end = p + 1;
            while (isNameChar(*end)) ++end;
            copyTo(end);
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && std::isdigit(static_cast<unsigned char>(p[1])))) {
            DBArgument a;
            const char* end = numberLiteral(p, a);
            if (end != nullptr) {
                parameter(std::move(a));
                p = end;
            } else {
                end = p;
                while (isNameChar(*end) || *end == '.') ++end;
                copyTo(end);
            }
        } else {
            copyTo(p + 1);
        }
    }
}
