// Layout ties of the browse rows: the browse operations read the rows of the
// later browse steps as the table rows of the SNR volumes, devices, scratch
// volumes and mount points, and the first step's rows as replication volume
// rows, so every column of a browse row must sit at the same offset, with the
// same type, as the field of that name in the table row.
#pragma once

#include <cstddef>
#include <type_traits>

#include "host/db/ReplicaTables.h"
#include "host/db/SNRTables.h"

#define YBBROWSE_SAME_FIELD(name)                              \
    &&offsetof(BrowseRow, name) == offsetof(TableRow, name) && \
        std::is_same<decltype(BrowseRow::name), decltype(TableRow::name)>::value
#define YBBROWSE_SAME_TEXT(name, size) YBBROWSE_SAME_FIELD(name)

// Asserts that the columns COLUMNS of BROWSE lie as the fields of TABLE;
// SAME_SIZE also asks for the same size of the two structures.
#define YBBROWSE_ASSERT_LAYOUT(TAG, BROWSE, TABLE, COLUMNS, SAME_SIZE)                           \
    struct YBBrowseLayoutTie_##TAG {                                                             \
        typedef BROWSE BrowseRow;                                                                \
        typedef TABLE TableRow;                                                                  \
        static_assert((!(SAME_SIZE) || sizeof(BrowseRow) == sizeof(TableRow))                    \
                          COLUMNS(YBBROWSE_SAME_FIELD, YBBROWSE_SAME_FIELD, YBBROWSE_SAME_TEXT), \
                      #BROWSE " must have the layout of " #TABLE);                               \
    };
