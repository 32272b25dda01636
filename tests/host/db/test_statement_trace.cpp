#include <algorithm>
#include <string>
#include <vector>

#include "host/db/DBStatementTrace.h"
#include "host/db/SNRTables.h"
#include "support/TestCatalogue.h"

namespace {

size_t Recorded(const std::string& piece)
{
    const std::vector<std::string> texts = DBStatementTrace::recorded();
    return static_cast<size_t>(std::count_if(texts.begin(), texts.end(), [&piece](const std::string& text) {
        return text.find(piece) != std::string::npos;
    }));
}

}  // namespace

using StatementTraceTest = CatalogueTest;

// Each text run while recording is kept once; nothing is kept after stop or
// from a connection opened before start; start forgets the last record.
TEST_F(StatementTraceTest, RecordsEachTextRunWhileOnOnce)
{
    struct StopAtEnd {
        ~StopAtEnd() { DBStatementTrace::stop(); }
    } stopAtEnd;
    CSNRVolumeDeviceNameDB devices;
    unsigned int count = 0;
    DBStatementTrace::start();
    ASSERT_TRUE(devices.getNRows("ClientId = 1", count, nullptr));  // the connection opened before
    EXPECT_EQ(Recorded("COUNT(*)"), 0u);

    DBtran::useCatalogue(m_path);
    YBPhysicalDevice_t row;
    for (int id = 1; id <= 3; ++id) EXPECT_FALSE(devices.getInfo(id, row, nullptr));
    ASSERT_TRUE(devices.getNRows("ClientId = 1", count, nullptr));
    EXPECT_EQ(Recorded("FROM YBPhysicalDevice WHERE id = ?1"), 1u);
    // The value of the where text is bound.
    EXPECT_EQ(Recorded("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = ?1"), 1u);

    DBStatementTrace::stop();
    ASSERT_TRUE(devices.getNRows("ClientId = 2 AND SNRVolumeId = 3", count, nullptr));
    EXPECT_EQ(Recorded("WHERE ClientId = ?1 AND SNRVolumeId = ?2"), 0u);
    EXPECT_EQ(Recorded("ClientId = ?1"), 1u);

    DBStatementTrace::start();
    EXPECT_TRUE(DBStatementTrace::recorded().empty());
}
