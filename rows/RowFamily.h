// Row families: the cursors, stored procedures and tables through which the
// replication manager reads the management database.
//
// A family N is three types generated from one descriptor:
//   N_t   the plain row structure, one field per column;
//   N     the database class on DBtable holding the bound row, the statement
//         and the fetch state;
//   N_t2  the self-describing schema class on ZXDBRowBase.
//
// Adding a family: write one header named after the class under
// rows/Db/Cursor, rows/Db/Proc or rows/Db/Tbl with
//
//   #include "rows/RowFamily.h"
//
//   #define YBGetThing_COLUMNS(I, B, S) I(id) B(JobId) S(Name, 129)
//
//   // SQLite statement run: RegisterThingStatements in host/db/statements/ThingStatements.cpp
//   ZXDB_CURSOR(YBGetThing, YBGetThing_COLUMNS, "i|b|s129|",
//               "SET NOCOUNT ON \n\tSELECT ... WHERE ClientId = %d ... \n\tSET NOCOUNT OFF",
//               "source/include/Db/Cursor/YBGetThing", (int clientId))
//
//   // SQLite statement run: RegisterThingStatements in host/db/statements/ThingStatements.cpp
//   ZXDB_PROCEDURE(YBDoThing, "YBDoThing", YBDoThing_COLUMNS, "i|",
//                  "%d,'%s'", "00010001000000020000",
//                  "source/include/Db/Proc/YBDoThing", (int id, const char* name))
//
// I(name) is a 32-bit column, B(name) a 64-bit column, S(name, N) a text
// column of char[N] (NUL included). The type string must describe the same
// columns: a static_assert stops the build when it does not. The last
// argument lists the setValues arguments (int, long long or const char*) in
// parentheses; () for none. A procedure without arguments has no setValues.
// The text in the definition is the database server's statement the family
// stands for. What runs is the SQLite statement registered under the family's
// database object name (host/db/DBStatementRegistry.h); the "SQLite statement
// run" line above the definition names the function and file that register
// it. A new file of statements gets its function called from
// RegisterCatalogueStatements (host/db/statements/CatalogueStatements.cpp).
// A table family's line names the members of DBtable that make its
// statements from its columns.
//
// A row structure needing extra members (a copy assignment, say) is written
// with ZXDB_ROW_STRUCT, ZXDB_FAMILY_DESC and the class templates below, as
// rows/Db/Tbl/YBApplicationDirs.h does.
#pragma once

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"
#include "rows/ZXDBDataTypes.h"
#include "rows/ZXDBRowBase.h"

// Bounded text copy: at most size-1 characters and the NUL. A null source
// copies "".
inline char* zxstrcpy(char* destination, const char* source, size_t size)
{
    if (destination == nullptr || size == 0) return destination;
    size_t n = source != nullptr ? strnlen(source, size - 1) : 0;
    if (n > 0) std::memmove(destination, source, n);
    destination[n] = '\0';
    return destination;
}

// ---- Row structure --------------------------------------------------------

#define ZXDB_FIELD_I(name) int32_t name = 0;
#define ZXDB_FIELD_B(name) int64_t name = 0;
#define ZXDB_FIELD_S(name, size) char name[size] = {};

// struct N_t with the columns in order; the further arguments are extra
// member declarations.
#define ZXDB_ROW_STRUCT(N, COLUMNS, ...)                   \
    struct N##_t {                                         \
        COLUMNS(ZXDB_FIELD_I, ZXDB_FIELD_B, ZXDB_FIELD_S)  \
        __VA_ARGS__                                        \
    };

// ---- Descriptor -------------------------------------------------------------

#define ZXDB_DEF_I(name) \
    ZXDBColumnDef{'i', #name, offsetof(Row, name), sizeof(Row::name), std::is_same<decltype(Row::name), int32_t>::value},
#define ZXDB_DEF_B(name) \
    ZXDBColumnDef{'b', #name, offsetof(Row, name), sizeof(Row::name), std::is_same<decltype(Row::name), int64_t>::value},
#define ZXDB_DEF_S(name, size)                                            \
    ZXDBColumnDef{'s', #name, offsetof(Row, name), sizeof(Row::name),     \
                  std::is_same<decltype(Row::name), char[size]>::value},

// What a descriptor has unless it says otherwise: no serial column, no
// foreign keys, no procedure stamp.
struct ZXDBFamilyDefaults {
    static constexpr const char* serialColumn = nullptr;
    static constexpr const ZXDBForeignKey* foreignKeys = nullptr;
    static constexpr size_t foreignKeyCount = 0;
    static constexpr const char* stamp = nullptr;
};

// True when the type string has one group per column, in order, each with
// the letter and size of the column's field: 'i' a 32-bit integer, 'b' (or
// 'x') a naturally aligned 64-bit integer, "s<N>" a char[N].
template <size_t K>
constexpr bool zxdbTypeStringMatches(const char* typeString, const ZXDBColumnDef (&columns)[K])
{
    size_t i = 0;
    const char* p = typeString;
    while (*p != '\0') {
        if (i >= K) return false;
        char letter = *p++;
        size_t n = 0;
        bool sized = false;
        while (*p >= '0' && *p <= '9') {
            n = n * 10 + static_cast<size_t>(*p - '0');
            ++p;
            sized = true;
        }
        if (*p != '|') return false;
        ++p;
        const ZXDBColumnDef& c = columns[i++];
        if (letter == 'x') letter = 'b';
        if (letter != c.letter || !c.typeOk) return false;
        switch (letter) {
        case 'i':
            if (sized || c.size != 4 || c.offset % 4 != 0) return false;
            break;
        case 'b':
            if (sized || c.size != 8 || c.offset % 8 != 0) return false;
            break;
        case 's':
            if (!sized || n == 0 || c.size != n) return false;
            break;
        default:
            return false;
        }
    }
    return i == K;
}

constexpr size_t zxdbLength(const char* text)
{
    size_t n = 0;
    while (text != nullptr && text[n] != '\0') ++n;
    return n;
}

// struct N_desc: the family's class name, database object name, kind,
// columns, type string, statement text or argument format and header path.
// The further arguments are extra static members (stamp, serial column,
// foreign keys).
#define ZXDB_FAMILY_DESC(N, OBJECT, KIND, COLUMNS, TYPESTRING, TEXT, HEADER, ...)                      \
    struct N##_desc : ZXDBFamilyDefaults {                                                          \
        using Row = N##_t;                                                                          \
        static constexpr const char* className = #N;                                                \
        static constexpr const char* objectName = OBJECT;                                           \
        static constexpr int kind = KIND;                                                           \
        static constexpr const char* typeString = TYPESTRING;                                       \
        static constexpr const char* text = TEXT;                                                   \
        static constexpr const char* headerPath = HEADER;                                           \
        static constexpr ZXDBColumnDef columns[] = {COLUMNS(ZXDB_DEF_I, ZXDB_DEF_B, ZXDB_DEF_S)};   \
        __VA_ARGS__                                                                                 \
    };                                                                                              \
    static_assert(std::is_standard_layout<N##_t>::value, #N "_t must be a plain row structure");    \
    static_assert(zxdbTypeStringMatches(N##_desc::typeString, N##_desc::columns),                   \
                  "the type string of " #N " does not match " #N "_t");                             \
    static_assert(N##_desc::stamp == nullptr || zxdbLength(N##_desc::stamp) == 20,                  \
                  "the procedure stamp of " #N " must have 20 characters");

// ---- Database classes -------------------------------------------------------

// Room a formatted argument takes in a statement.
inline unsigned long zxdbArgumentRoom(int) { return 12; }
inline unsigned long zxdbArgumentRoom(long long) { return 22; }
inline unsigned long zxdbArgumentRoom(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

// The argument as it goes into the formatting; a null text as "".
inline int zxdbArgument(int value) { return value; }
inline long long zxdbArgument(long long value) { return value; }
inline const char* zxdbArgument(const char* text) { return text != nullptr ? text : ""; }

// Value object bound for an argument of a procedure.
template <typename T> struct ZXDBValueOf;
template <> struct ZXDBValueOf<int> { typedef ZXDB_int type; };
template <> struct ZXDBValueOf<long long> { typedef ZXDB_int64 type; };
template <> struct ZXDBValueOf<const char*> { typedef ZXDB_string type; };

template <typename T>
std::unique_ptr<typename ZXDBValueOf<T>::type> zxdbMakeValue(T value)
{
    return std::unique_ptr<typename ZXDBValueOf<T>::type>(new typename ZXDBValueOf<T>::type(value));
}

// Holds DBtable::DBCriticalSection for its life.
class ZXDBCriticalSectionHold {
public:
    ZXDBCriticalSectionHold() { DBtable::DBCriticalSection.Lock(); }
    ~ZXDBCriticalSectionHold() { DBtable::DBCriticalSection.Unlock(); }
    ZXDBCriticalSectionHold(const ZXDBCriticalSectionHold&) = delete;
    ZXDBCriticalSectionHold& operator=(const ZXDBCriticalSectionHold&) = delete;
};

// What every database class shares: the bound row, the indicators, the
// construction with its registration in the transaction, and the
// destruction.
template <class Desc, class Schema>
class ZXDBRowClass : public DBtable {
public:
    typedef typename Desc::Row Row;
    static constexpr size_t kColumnCount = sizeof(Desc::columns) / sizeof(Desc::columns[0]);

    explicit ZXDBRowClass(DBtran* tran) : DBtable(Desc::objectName, 0, tran), m_row()
    {
        objectKind = Desc::kind;
        columnList = columnListText().c_str();
        boundRow = Desc::kind == ZXDB_KIND_TABLE ? static_cast<void*>(&m_row) : nullptr;
        keyColumn = Desc::kind == ZXDB_KIND_TABLE ? Desc::serialColumn : nullptr;
        description = std::string(Desc::kind == ZXDB_KIND_TABLE       ? "Table "
                                  : Desc::kind == ZXDB_KIND_PROCEDURE ? "Procedure "
                                                                      : "Cursor ") +
                      Desc::className;
        if (Desc::kind == ZXDB_KIND_TABLE) {
            tableContext = nullptr;
            setOrderBy(Desc::serialColumn);
        }
        DBColumnBinding layout[kColumnCount];
        for (size_t i = 0; i < kColumnCount; ++i) {
            const ZXDBColumnDef& c = Desc::columns[i];
            layout[i].type = c.letter == 'i' ? DB_COL_INT32 : c.letter == 'b' ? DB_COL_INT64 : DB_COL_TEXT;
            layout[i].offset = c.offset;
            layout[i].size = c.size;
        }
        setRowLayout(&m_row, layout, kColumnCount);
        dataBindClearFirstTime();
        std::memset(m_indicators, 0, sizeof(m_indicators));
        setExtIndicatorArray(m_indicators);
        rowSchema = b_newDBBase ? new Schema() : nullptr;
        if (Desc::stamp != nullptr) zxstrcpy(procStamp, Desc::stamp, sizeof(procStamp));

        ZXDBCriticalSectionHold hold;
        if (getTran() != nullptr) {
            try {
                getTran()->addObject(this);
            } catch (...) {
                log_error(Desc::headerPath, __LINE__, "%s Constructor [0x%08" PRIxPTR "], caught an exception",
                          Desc::className, reinterpret_cast<uintptr_t>(this));
            }
        }
    }

    ~ZXDBRowClass() override
    {
        if (Desc::kind == ZXDB_KIND_TABLE) dataBindClear();
        if (rowSchema != nullptr) delete rowSchema;
        rowSchema = nullptr;
    }

    Row* getDataPtr() { return &m_row; }

    // The column names joined by ", ".
    static const std::string& columnListText()
    {
        static const std::string text = [] {
            std::string joined;
            for (size_t i = 0; i < kColumnCount; ++i) {
                if (i > 0) joined += ", ";
                joined += Desc::columns[i].name;
            }
            return joined;
        }();
        return text;
    }

protected:
    Row m_row;
    long long m_indicators[kColumnCount];
};

// A cursor: setValues formats the family's statement text with the
// arguments. The library runs the registered statement with the same
// arguments bound as parameters, so a text argument never changes the SQL run.
template <class Desc, class Schema, class Signature> class ZXDBCursorClass;

template <class Desc, class Schema, class... A>
class ZXDBCursorClass<Desc, Schema, void(A...)> : public ZXDBRowClass<Desc, Schema> {
public:
    explicit ZXDBCursorClass(DBtran* tran) : ZXDBRowClass<Desc, Schema>(tran) {}

    void setValues(A... args)
    {
        unsigned long size = 2 * (std::strlen(Desc::text) + (0UL + ... + zxdbArgumentRoom(args)));
        this->querySizeCheck(size, false);
        this->CallDBsprintfWrapper(Desc::text, zxdbArgument(args)...);
    }
};

// A stored procedure: setValues binds one value object per argument when the
// library runs in its newer base mode, and otherwise formats the argument list.
template <class Desc, class Schema, class Signature> class ZXDBProcedureClass;

template <class Desc, class Schema, class... A>
class ZXDBProcedureClass<Desc, Schema, void(A...)> : public ZXDBRowClass<Desc, Schema> {
public:
    explicit ZXDBProcedureClass(DBtran* tran) : ZXDBRowClass<Desc, Schema>(tran) {}

    void setValues(A... args)
    {
        if (DBtable::b_newDBBase) {
            // Built in argument order; the table owns them once bound.
            std::tuple<std::unique_ptr<typename ZXDBValueOf<A>::type>...> values{zxdbMakeValue(args)...};
            bindAll(values, std::index_sequence_for<A...>());
            this->inputsBound = 1;
        } else {
            unsigned long size = std::strlen(Desc::text) + (0UL + ... + zxdbArgumentRoom(args));
            this->valuesClauseCheck(size);
            this->CallDBsprintfWrapper(Desc::text, zxdbArgument(args)...);
        }
    }

    void setZXDBValues(typename ZXDBValueOf<A>::type*... values)
    {
        this->ClearBoundInputs();
        (this->BindInput(values), ...);
    }

private:
    template <class Tuple, size_t... I>
    void bindAll(Tuple& values, std::index_sequence<I...>)
    {
        // BindInput takes ownership of each in turn.
        this->ClearBoundInputs();
        (this->BindInput(std::get<I>(values).release()), ...);
    }
};

// A stored procedure without arguments has no setValues.
template <class Desc, class Schema>
class ZXDBProcedureClass<Desc, Schema, void()> : public ZXDBRowClass<Desc, Schema> {
public:
    explicit ZXDBProcedureClass(DBtran* tran) : ZXDBRowClass<Desc, Schema>(tran) {}
};

#define ZXDB_UNPAREN(...) __VA_ARGS__

// A cursor family N over a fixed statement text.
#define ZXDB_CURSOR(N, COLUMNS, TYPESTRING, SQL, HEADER, ARGS)                                    \
    ZXDB_ROW_STRUCT(N, COLUMNS, )                                                                 \
    ZXDB_FAMILY_DESC(N, #N, ZXDB_KIND_CURSOR, COLUMNS, TYPESTRING, SQL, HEADER, )                 \
    class N##_t2 : public ZXDBRowSchema<N##_desc> {};                                             \
    class N : public ZXDBCursorClass<N##_desc, N##_t2, void ARGS> {                               \
    public:                                                                                       \
        explicit N(DBtran* tran) : ZXDBCursorClass<N##_desc, N##_t2, void ARGS>(tran) {}          \
    };

// A stored-procedure family N called by the database object name OBJECT
// with the argument format FORMAT and the 20-character stamp STAMP.
#define ZXDB_PROCEDURE(N, OBJECT, COLUMNS, TYPESTRING, FORMAT, STAMP, HEADER, ARGS)                 \
    ZXDB_ROW_STRUCT(N, COLUMNS, )                                                                  \
    ZXDB_FAMILY_DESC(N, OBJECT, ZXDB_KIND_PROCEDURE, COLUMNS, TYPESTRING, FORMAT, HEADER,          \
                     static constexpr const char* stamp = STAMP;)                                  \
    class N##_t2 : public ZXDBRowSchema<N##_desc> {};                                              \
    class N : public ZXDBProcedureClass<N##_desc, N##_t2, void ARGS> {                             \
    public:                                                                                        \
        explicit N(DBtran* tran) : ZXDBProcedureClass<N##_desc, N##_t2, void ARGS>(tran) {}        \
    };

// ---- Fetch protocol ---------------------------------------------------------

// Reads every row of a cursor or procedure with getNextRow, appending a copy
// of each to rows. 0 when the list is complete (it may be empty), else the
// database code.
template <class Family>
int ZXDBReadList(Family& family, std::vector<typename Family::Row>& rows)
{
    int counter = 0;
    while (true) {
        int rc = getNextRow(&family, &counter, -1, 0);
        if (rc == DB_NO_MORE_ROWS) return 0;
        if (rc != DB_ROW_OK) return rc;
        rows.push_back(*family.getDataPtr());
    }
}

// Reads exactly one row with getOneRow: 0 the row is in the bound row, 100
// none, 1004 more than one, else the database code.
template <class Family>
int ZXDBReadOne(Family& family)
{
    return getOneRow(&family, false, -1, 0);
}
