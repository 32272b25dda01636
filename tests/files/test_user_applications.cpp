#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/FilesPostFixture.h"
#include "files/UserApplications.h"
#include "host/db/DBtable.h"
#include "host/db/FileTables.h"

namespace {

const unsigned long kAdd = 0x35000199;
const unsigned long kUpdate = 0x3500019b;
const unsigned long kDelete = 0x3500019d;
const unsigned long kQuery = 0x3500019f;
const unsigned long kList = 0x350001a1;

// A definition as a reply or the catalogue holds it; a null text is "(null)".
struct App {
    int32_t id = 0;
    int32_t clientId = 0;
    std::string name, tag, suspend, resume;
    bool operator==(const App& o) const
    {
        return id == o.id && clientId == o.clientId && name == o.name && tag == o.tag && suspend == o.suspend &&
               resume == o.resume;
    }
};
std::ostream& operator<<(std::ostream& out, const App& a)
{
    return out << "{" << a.id << ", " << a.clientId << ", " << a.name << ", " << a.tag << ", " << a.suspend << ", "
               << a.resume << "}";
}

App FromWire(const repYBUserApplDefRec& r)
{
    return App{r.id, r.ClientId, WireText(r.ApplicationName), WireText(r.AppTag), WireText(r.SuspendScript),
               WireText(r.ResumeScript)};
}

std::vector<App> Stored()
{
    std::vector<App> out;
    for (const auto& row : StoredRows<YBUserApplicationDef_t, YBUserApplicationDefDB>())
        out.push_back(App{row.id, row.ClientId, row.ApplicationName, row.AppTag, row.SuspendScript, row.ResumeScript});
    return out;
}

struct Added {
    Status s;
    int32_t id = 0;
};
struct Queried {
    Status s;
    App app;
};
struct Listed {
    Status s;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<App> apps;
};

class UserApplicationTest : public FilesPostTest {
protected:
    // The request of a definition; empty texts go as null pointers.
    static repYBUserApplDefRec Request(const App& a, uint32_t mask = 0)
    {
        auto text = [](const std::string& s) { return s.empty() ? nullptr : const_cast<char*>(s.c_str()); };
        return repYBUserApplDefRec{a.id,           a.clientId,        text(a.name), text(a.tag),
                                   text(a.suspend), text(a.resume), mask};
    }

    Added add(const App& a)
    {
        repYBUserApplDefRec req = Request(a);
        return post<repAddYBUserApplDefResp>(kAdd, &req, [](const repAddYBUserApplDefResp& r) {
            return Added{StatusOfReply(r), static_cast<int32_t>(r.id)};
        });
    }
    Status update(const App& a, uint32_t mask)
    {
        repYBUserApplDefRec req = Request(a, mask);
        return postStatus<repUpdateYBUserApplDefResp>(kUpdate, &req);
    }
    Status remove(int32_t id)
    {
        repYBUserApplDefByIdReq req{id};
        return postStatus<repDeleteYBUserApplDefResp>(kDelete, &req);
    }
    Queried query(int32_t id)
    {
        repYBUserApplDefByIdReq req{id};
        return post<repQueryYBUserApplDefByIdResp>(kQuery, &req, [](const repQueryYBUserApplDefByIdResp& r) {
            return Queried{StatusOfReply(r), FromWire(r.application)};
        });
    }
    Listed list()
    {
        return post<repGetYBUserApplDefResp>(kList, nullptr, [](const repGetYBUserApplDefResp& r) {
            Listed l{StatusOfReply(r), r.count, r.array == nullptr, {}};
            for (uint32_t i = 0; r.array != nullptr && i < r.count; ++i) l.apps.push_back(FromWire(r.array[i]));
            return l;
        });
    }

    static void expectFailure(const Status& s, int code, const std::string& text)
    {
        EXPECT_EQ(s.status, 0u);
        EXPECT_EQ(s.errCode, code);
        EXPECT_EQ(s.msg, text);
    }

    const App billing{0, 5, "Billing", "BILL", "/opt/bill/stop 'now'", "/opt/bill/start"};
    const App ledger{0, 5, "Ledger", "LEDG", "", ""};
};

}  // namespace

TEST_F(UserApplicationTest, AddedUpdatedQueriedListedAndDeleted)
{
    Added a = add(billing);
    ASSERT_EQ(a.s.status, 1u);
    EXPECT_EQ(a.s.msg, "(null)");
    Added b = add(ledger);
    ASSERT_EQ(b.s.status, 1u);
    App storedA = billing;
    storedA.id = a.id;
    App storedB = ledger;
    storedB.id = b.id;
    EXPECT_EQ(Stored(), (std::vector<App>{storedA, storedB}));
    EXPECT_EQ(LogEntriesWith("\tUser Application Billing was added, using ID " + std::to_string(a.id)).size(), 1u);

    // Empty texts go out as null pointers.
    Queried q = query(b.id);
    EXPECT_EQ(q.s.status, 1u);
    EXPECT_EQ(q.app, (App{b.id, 5, "Ledger", "LEDG", "(null)", "(null)"}));
    EXPECT_EQ(query(a.id).app, storedA);

    Listed l = list();
    EXPECT_EQ(l.s.status, 1u);
    EXPECT_EQ(l.count, 2u);
    EXPECT_EQ(l.apps, (std::vector<App>{storedA, App{b.id, 5, "Ledger", "LEDG", "(null)", "(null)"}}));

    // Mask 0 writes every text, never the client.
    App changed{a.id, 99, "Billing 2", "BIL2", "stop2", "start2"};
    EXPECT_EQ(update(changed, 0).status, 1u);
    EXPECT_EQ(query(a.id).app, (App{a.id, 5, "Billing 2", "BIL2", "stop2", "start2"}));
    EXPECT_EQ(LogEntriesWith("\tUser Application " + std::to_string(a.id) + " was updated successfully...").size(), 1u);

    EXPECT_EQ(remove(a.id).status, 1u);
    EXPECT_EQ(LogEntriesWith("\tUser Application " + std::to_string(a.id) + " was removed...").size(), 1u);
    expectFailure(remove(a.id), -3, "User application not found");
    expectFailure(query(a.id).s, -3, "Record not found");
    expectFailure(update(changed, 0), -3, "Record not found");
    EXPECT_EQ(Stored(), (std::vector<App>{storedB}));

    remove(b.id);
    Listed none = list();
    EXPECT_EQ(none.s.status, 1u);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.arrayNull);
}

TEST_F(UserApplicationTest, UpdateWritesTheColumnsOfItsMask)
{
    const int32_t id = add(billing).id;
    App change{id, 5, "Other", "", "s2", "r2"};

    // Mask 4: the tag alone, written empty.
    EXPECT_EQ(update(change, YB_USER_APP_TAG).status, 1u);
    EXPECT_EQ(Stored()[0], (App{id, 5, "Billing", "", "/opt/bill/stop 'now'", "/opt/bill/start"}));
    EXPECT_EQ(update(change, YB_USER_APP_NAME | YB_USER_APP_RESUME_SCRIPT).status, 1u);
    EXPECT_EQ(Stored()[0], (App{id, 5, "Other", "", "/opt/bill/stop 'now'", "r2"}));
    change.suspend = "it's";
    EXPECT_EQ(update(change, YB_USER_APP_SUSPEND_SCRIPT).status, 1u);
    EXPECT_EQ(Stored()[0], (App{id, 5, "Other", "", "it's", "r2"}));

    expectFailure(update(App{0, 5, "x", "y", "", ""}, 0), -6,
                  "Cannot update user application information with invalid values");
}

TEST_F(UserApplicationTest, TheSameTagIsRefusedForTheSameClientOnly)
{
    const App quoted{0, 5, "Quoted", "O'TAG", "", ""};
    ASSERT_EQ(add(billing).s.status, 1u);
    ASSERT_EQ(add(quoted).s.status, 1u);

    Added again = add(App{0, 5, "Billing again", "BILL", "", ""});
    expectFailure(again.s, -13, "The User Application is already in the database");
    EXPECT_EQ(again.id, 0);
    expectFailure(add(App{0, 5, "Quoted again", "O'TAG", "", ""}).s, -13,
                  "The User Application is already in the database");
    EXPECT_EQ(add(App{0, 6, "Billing", "BILL", "", ""}).s.status, 1u);
    EXPECT_EQ(Stored().size(), 3u);
}

TEST_F(UserApplicationTest, MissingAndTooLongTextsAreRefusedBeforeTheCatalogueIsRead)
{
    App noName = billing;
    noName.name = "";
    expectFailure(add(noName).s, -2, "Cannot include user application with a missing name value");
    EXPECT_EQ(LogEntriesWith("\tEvent: Name field of the YB User application is empty").size(), 1u);
    App noTag = billing;
    noTag.tag = "";
    expectFailure(add(noTag).s, -2, "Cannot include user application with a missing application tag value");
    EXPECT_EQ(LogEntriesWith("\tEvent: Application tag field of the YB User application is empty").size(), 1u);

    // Each field one character over its column, the others too long as well
    // where they come later: the first in column order is named.
    struct TooLong {
        App app;
        const char* text;
    };
    const std::string longName(257, 'n'), longTag(33, 't'), longScript(513, 's');
    const TooLong cases[] = {
        {{0, 5, longName, longTag, "", ""}, "Application Name is too long"},
        {{0, 5, "n", longTag, longScript, ""}, "Application tag is too long"},
        {{0, 5, "n", "t", longScript, longScript}, "Suspend script is too long"},
        {{0, 5, "n", "t", "", longScript}, "Resume script it too long"},
    };
    // An armed failure of the catalogue stays armed: nothing was read.
    HostDBFaults::failNext("getNRows", kDbIoError);
    HostDBFaults::failNext("Update", kDbIoError);
    for (const TooLong& c : cases) {
        SCOPED_TRACE(c.text);
        expectFailure(add(c.app).s, -18, c.text);
        App existing = c.app;
        existing.id = 1;
        expectFailure(update(existing, 0), -18, c.text);
    }
    expectFailure(add(billing).s, -4, "Cannot include new user application. DB Error while checking duplicates");
    EXPECT_TRUE(Stored().empty());

    // At the limit every field fits.
    const App longest{0, 5, std::string(256, 'n'), std::string(32, 't'), std::string(512, 's'), std::string(512, 'r')};
    ASSERT_EQ(add(longest).s.status, 1u);
    App stored = longest;
    stored.id = Stored()[0].id;
    EXPECT_EQ(Stored(), (std::vector<App>{stored}));
    expectFailure(update(stored, 0), -4, "Could not update User Application in the database");
}

TEST_F(UserApplicationTest, DatabaseFailuresAnswerTheirCodesAndChangeNothing)
{
    const int32_t id = add(billing).id;
    const std::vector<App> before = Stored();

    HostDBFaults::failNext("insert", kDbIoError);
    expectFailure(add(ledger).s, -4, "Cannot include new user application record into the database");
    HostDBFaults::failNext("startTran", kDbBusy);
    expectFailure(add(ledger).s, -7, "Could not initiated database transactions");
    HostDBFaults::failNext("remove", kDbIoError);
    expectFailure(remove(id), -4, "Cannot remove user application from the database");
    // The update fails after its row was written: rolled back.
    HostDBFaults::failNext("commitTran", kDbIoError);
    expectFailure(update(App{id, 5, "Changed", "CHG", "", ""}, 0), -4, "Could not commit database transactions");
    EXPECT_EQ(Stored(), before);

    expectFailure(remove(0), -6, "Cannot remove user application from the database with invalid values");
    expectFailure(query(0).s, -6, "Invalid user application identifier");
    HostDBFaults::failNext("getInfo", kDbIoError);
    expectFailure(query(id).s, -4, "Cannot access user application from the database");
    HostDBFaults::failNext("getList", kDbIoError);
    Listed failed = list();
    expectFailure(failed.s, -4, "Cannot get the list of user application from the database");
    EXPECT_TRUE(failed.arrayNull);

    FailAllocationsAfter(0);
    Listed noMemory = list();
    expectFailure(noMemory.s, -5, "No memory available to perform operation");
    EXPECT_EQ(noMemory.count, 0u);
    EXPECT_TRUE(noMemory.arrayNull);
}
