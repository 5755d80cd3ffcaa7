#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "records/record_store.h"
#include "records/store_schema.h"
#include "store_fixture.h"

namespace quovella {
namespace {

class MakeStore : public StoreFixture {
  protected:
    int runTool(const std::string& arguments) {
        const int status = std::system(
            (std::string(QUOVELLA_MKSTORE) + " " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string contents(const std::string& path) {
        std::ostringstream out;
        out << std::ifstream(path, std::ios::binary).rdbuf();
        return out.str();
    }
};

TEST_F(MakeStore, TheToolMakesAStoreTheStartUpOpenAccepts) {
    const std::string made = dir_ + "/made";
    std::filesystem::create_directory(made);
    EXPECT_EQ(runTool("'" + storePathIn(made) + "'"), 0);
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(made));
    ASSERT_TRUE(store.openCursor("cy", RecordStore::kTable));
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(runTool(""), 64);
}

TEST_F(MakeStore, AnExistingFileIsNeverOverwritten) {
    const std::string other = dir_ + "/other.mdb";
    std::ofstream(other) << "not a store, but somebody's file";
    const std::string before = contents(other);
    EXPECT_EQ(makeEmptyStore(other), MakeStoreResult::alreadyExists);
    EXPECT_EQ(runTool("'" + other + "'"), 2);
    EXPECT_EQ(runTool("--if-missing '" + other + "'"), 0);
    EXPECT_EQ(contents(other), before);

    ASSERT_TRUE(rawExec("insert into sj(股票代码) values('kept')"));
    EXPECT_EQ(runTool("--if-missing '" + path_ + "'"), 0);
    EXPECT_EQ(rawCount("sj"), 1u);
    EXPECT_EQ(makeEmptyStore(storePathIn(dir_ + "/no/such/dir")), MakeStoreResult::failed);
}

}  // namespace
}  // namespace quovella
