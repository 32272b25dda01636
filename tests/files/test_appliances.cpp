#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/Appliances.h"
#include "files/FilesPostFixture.h"
#include "host/db/DBtable.h"
#include "host/db/FileTables.h"

namespace {

const unsigned long kAdd = 0x35000103;
const unsigned long kDelete = 0x35000105;
const unsigned long kList = 0x35000107;
const unsigned long kQuery = 0x35000109;

struct Added {
    Status s;
    uint32_t id = 0;
};

struct Appliance {
    uint32_t id;
    std::string name;
    bool operator==(const Appliance& o) const { return id == o.id && name == o.name; }
};

struct Listed {
    Status s;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<Appliance> appliances;
};

struct Queried {
    Status s;
    Appliance appliance{0, ""};
};

std::vector<Appliance> Stored()
{
    std::vector<Appliance> out;
    for (const YBDevice_t& row : StoredRows<YBDevice_t, CYBApplianceDB>())
        out.push_back(Appliance{static_cast<uint32_t>(row.id), row.Name});
    return out;
}

class ApplianceTest : public FilesPostTest {
protected:
    Added add(const char* name)
    {
        repYBApplianceRec req{0, const_cast<char*>(name)};
        return post<repAddYBApplianceResp>(kAdd, &req, [](const repAddYBApplianceResp& r) {
            return Added{StatusOfReply(r), r.id};
        });
    }
    Added add(const std::string& name) { return add(name.c_str()); }

    Status remove(int32_t id)
    {
        repYBApplianceByIdReq req{id};
        return postStatus<repDeleteYBApplianceResp>(kDelete, &req);
    }

    Queried query(int32_t id)
    {
        repYBApplianceByIdReq req{id};
        return post<repQueryYBApplianceResp>(kQuery, &req, [](const repQueryYBApplianceResp& r) {
            return Queried{StatusOfReply(r), Appliance{r.appliance.id, WireText(r.appliance.name)}};
        });
    }

    Listed list()
    {
        return post<repGetYBApplianceListResp>(kList, nullptr, [](const repGetYBApplianceListResp& r) {
            Listed l{StatusOfReply(r), r.count, r.appliances == nullptr, {}};
            for (uint32_t i = 0; r.appliances != nullptr && i < r.count; ++i)
                l.appliances.push_back(Appliance{r.appliances[i].id, WireText(r.appliances[i].name)});
            return l;
        });
    }

    static void expectFailure(const Status& s, int code, const std::string& text)
    {
        EXPECT_EQ(s.status, 0u);
        EXPECT_EQ(s.errCode, code);
        EXPECT_EQ(s.msg, text);
    }
};

}  // namespace

TEST_F(ApplianceTest, AddedQueriedListedAndDeleted)
{
    Listed empty = list();
    EXPECT_EQ(empty.s.status, 1u);
    EXPECT_EQ(empty.count, 0u);
    EXPECT_TRUE(empty.arrayNull);

    Added first = add("filer-a");
    EXPECT_EQ(first.s.status, 1u);
    EXPECT_EQ(first.s.msg, "(null)");
    Added second = add("O'Brien's box");  // the quote reaches SQL quoted
    EXPECT_EQ(second.s.status, 1u);
    ASSERT_GT(second.id, first.id);
    EXPECT_EQ(Stored(), (std::vector<Appliance>{{first.id, "filer-a"}, {second.id, "O'Brien's box"}}));
    EXPECT_EQ(LogEntriesWith("\tAppliance filer-a was added to database with id = " + std::to_string(first.id)).size(),
              1u);

    Queried q = query(static_cast<int32_t>(second.id));
    EXPECT_EQ(q.s.status, 1u);
    EXPECT_EQ(q.s.errCode, 0);
    EXPECT_EQ(q.appliance, (Appliance{second.id, "O'Brien's box"}));

    Listed all = list();
    EXPECT_EQ(all.s.status, 1u);
    EXPECT_EQ(all.count, 2u);
    EXPECT_EQ(all.appliances, (std::vector<Appliance>{{first.id, "filer-a"}, {second.id, "O'Brien's box"}}));

    EXPECT_EQ(remove(static_cast<int32_t>(first.id)).status, 1u);
    EXPECT_EQ(Stored(), (std::vector<Appliance>{{second.id, "O'Brien's box"}}));
    EXPECT_EQ(LogEntriesWith("\tYB Appliance with ID " + std::to_string(first.id) + " was removed from DB...").size(),
              1u);
    expectFailure(remove(static_cast<int32_t>(first.id)), -3, "Record not found");
    expectFailure(query(static_cast<int32_t>(first.id)).s, -3, "Record not found");
    EXPECT_EQ(list().appliances, (std::vector<Appliance>{{second.id, "O'Brien's box"}}));
}

TEST_F(ApplianceTest, RefusedNamesAndIdsStoreNothing)
{
    ASSERT_EQ(add("filer-a").s.status, 1u);

    expectFailure(add("").s, -2, "Appliance name is empty");
    expectFailure(add(nullptr).s, -2, "Appliance name is empty");
    Added again = add("filer-a");
    expectFailure(again.s, -12, "Appliance name is already in the database");
    EXPECT_EQ(again.id, 0u);
    // A name with a quote is found again as itself.
    ASSERT_EQ(add("it's").s.status, 1u);
    expectFailure(add("it's").s, -12, "Appliance name is already in the database");

    // The column holds 256 characters: a longer name would be stored cut.
    ASSERT_EQ(add(std::string(256, 'n')).s.status, 1u);
    expectFailure(add(std::string(256, 'n') + "x").s, -18, "Appliance name is too long");
    expectFailure(add(std::string(300, 'm')).s, -18, "Appliance name is too long");
    EXPECT_EQ(Stored().size(), 3u);

    expectFailure(remove(0), -6, "Cannot remove YB Appliance from the database with invalid id");
    expectFailure(query(-1).s, -6, "Invalid YB Appliance identifier");
    EXPECT_EQ(Stored().size(), 3u);
}

TEST_F(ApplianceTest, DatabaseFailuresAnswerTheirCodesAndChangeNothing)
{
    const uint32_t id = add("filer-a").id;

    HostDBFaults::failNext("getNRows", kDbIoError);
    expectFailure(add("filer-b").s, -4, "Database error while reading YB Appliance information");
    HostDBFaults::failNext("insert", kDbIoError);
    expectFailure(add("filer-b").s, -4, "New Appliance cannot be added to the database");
    HostDBFaults::failNext("startTran", kDbBusy);
    expectFailure(add("filer-b").s, -7, "Could not initiated database transactions");
    HostDBFaults::failNext("remove", kDbIoError);
    expectFailure(remove(static_cast<int32_t>(id)), -4, "Cannot remove YB Appliance from the database");
    EXPECT_EQ(Stored(), (std::vector<Appliance>{{id, "filer-a"}}));

    HostDBFaults::failNext("getInfo", kDbIoError);
    expectFailure(query(static_cast<int32_t>(id)).s, -4, "Cannot access YB Appliance Information from the database");
    HostDBFaults::failNext("getList", kDbIoError);
    Listed failed = list();
    expectFailure(failed.s, -4, "YB appliance list cannot be obtained from the database");
    EXPECT_EQ(failed.count, 0u);
    EXPECT_TRUE(failed.arrayNull);
    EXPECT_EQ(LogEntriesWith("\n\tsWhere = id > 0\n\tsOrderBy = id ASC\n\tTran = 0x0\n\tDB Err Code = 10").size(), 1u);
}

TEST_F(ApplianceTest, CopiesThatCannotBeMadeFailTheReplyWithoutArrays)
{
    add("filer-a");
    add("filer-b");

    FailAllocationsAfter(0);
    Queried q = query(1);
    expectFailure(q.s, -5, "No memory available to get YB appliance information");
    EXPECT_EQ(q.appliance, (Appliance{0, "(null)"}));

    // The array, then the second name copy.
    FailAllocationsAfter(0);
    Listed noArray = list();
    expectFailure(noArray.s, -5, "No memory available for query information");
    EXPECT_TRUE(noArray.arrayNull);
    FailAllocationsAfter(2);
    Listed noName = list();
    expectFailure(noName.s, -5, "No memory available for query informaton");
    EXPECT_EQ(noName.count, 0u);
    EXPECT_TRUE(noName.arrayNull);

    AllocReplyArray = &malloc;
    EXPECT_EQ(list().count, 2u);
}
