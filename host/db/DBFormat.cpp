#include "host/db/DBFormat.h"

#include <cctype>
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
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
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
        const std::string spec(at, *p != '\0' ? p + 1 : p);
        if (c.decorated || std::strchr("diufFeEgGs", c.letter) == nullptr || c.letter == '\0' ||
            takeValue(c, &list, a) != VALUE) {
            refusal = "the conversion " + spec + " is not allowed in a clause";
            break;
        }
        if (c.letter != 's') {
            if (quoted) refusal = "a number (" + spec + ") inside a quoted text";
        } else {
            // The quote before opened the literal, the one after closes it.
            bool whole = quoted && at > format && at[-1] == '\'' && (at - 1 == format || at[-2] != '\'') &&
                         p[1] == '\'' && p[2] != '\'';
            if (!whole) {
                refusal = "a text (" + spec + ") that is not a whole quoted literal '" + spec + "'";
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
