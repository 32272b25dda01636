// A child of fork of a process that used the catalogue uses nothing of its
// parent's catalogue state: every request it posts is answered at once as
// one whose transaction cannot start, and it ends cleanly, whatever the
// parent's threads held at the fork. The parent is the worker program built
// beside the tests, a process of its own whose four threads write.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/CatalogueFiles.h"
#include "support/LoadProcesses.h"
#include "support/TestCatalogue.h"

namespace {

using InheritedCatalogueTest = CatalogueTest;

// Ten children, five forked while the parent's four writers write and five
// once they paused and the background thread is idle on its condition
// variable; each posts five registrations under a 20 s alarm and ends with
// exit(0). Every child exits 0 with every reply the failed reply of a
// transaction that cannot start; the parent's writes before, between and
// after all succeed. The worker says what went wrong on its standard error.
TEST_F(InheritedCatalogueTest, AChildAnswersEveryRequestAtOnceAndEndsCleanly)
{
    const std::string catalogue = m_dir + "/forking.db";
    const pid_t worker = concurrent_load::StartWorker({"fork-while-writing", catalogue});
    ASSERT_GT(worker, 0);
    int status = -1;
    ASSERT_EQ(waitpid(worker, &status, 0), worker);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    RemoveCatalogueFiles(catalogue);
}

}  // namespace
