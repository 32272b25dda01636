// A read of one state of the catalogue outside a transaction: DBReadView.
#pragma once

#include <memory>

struct DBConnection;

// Keeps one read transaction open on the calling thread's connection while
// it lives: the statements it runs meanwhile outside a transaction read one
// state of the catalogue and do not each begin and end a read of their own.
// Only for reads; while the thread's transaction is open it does nothing.
class DBReadView {
public:
    DBReadView();
    ~DBReadView();
    DBReadView(const DBReadView&) = delete;
    DBReadView& operator=(const DBReadView&) = delete;

private:
    std::shared_ptr<DBConnection> m_pConn;  // null when nothing was begun
};
