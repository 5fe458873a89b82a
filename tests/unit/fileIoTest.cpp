#include <gtest/gtest.h>

#include "core/fileIo.h"
#include "platform/fake/fakePlatform.h"

using namespace lb;

namespace {

bool save(const char* path, const std::string& bytes) {
    Chunk chunk{bytes.data(), bytes.size()};
    return saveFileSafely(path, &chunk, 1);
}

}  // namespace

TEST(SafeSave, aCompletedSaveReplacesTheFileThroughATemporaryBesideIt) {
    fake::reset();
    fake::putFile("C:\\d\\a.dat", "old");
    ASSERT_TRUE(save("C:\\d\\a.dat", "new content"));
    EXPECT_EQ(fake::fileBytes("C:\\d\\a.dat"), "new content");
    EXPECT_TRUE(fake::logged("write C:\\d\\a.dat.tmp"));
    EXPECT_TRUE(fake::logged("replace C:\\d\\a.dat.tmp C:\\d\\a.dat"));
    EXPECT_FALSE(fake::hasFile("C:\\d\\a.dat.tmp"));
}

TEST(SafeSave, aSaveThatCannotCompleteLeavesTheOldFileAsItWas) {
    struct Row {
        const char* failure;
        void (*inject)(fake::State&);
    } rows[] = {
        {"temporary file cannot be created", [](fake::State& s) { s.failCreate = true; }},
        {"disk full after 2 bytes", [](fake::State& s) { s.writeLimit = 2; }},
        {"replace refused", [](fake::State& s) { s.failReplace = true; }},
    };
    for (const auto& row : rows) {
        fake::reset();
        fake::putFile("C:\\d\\a.dat", "old");
        row.inject(fake::state());
        EXPECT_FALSE(save("C:\\d\\a.dat", "new content")) << row.failure;
        EXPECT_EQ(fake::fileBytes("C:\\d\\a.dat"), "old") << row.failure;
        EXPECT_FALSE(fake::hasFile("C:\\d\\a.dat.tmp")) << row.failure << ": temporary left behind";
    }
}

TEST(WholeFileRead, readsAtMostTheBufferAndTellsAMissingFile) {
    fake::reset();
    fake::putFile("C:\\f", "0123456789");
    char buffer[4];
    EXPECT_EQ(readFilePrefix("C:\\f", buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(readFilePrefix("C:\\missing", buffer, sizeof buffer), -1);
    fake::state().unreadable.insert("C:\\f");
    EXPECT_EQ(readFilePrefix("C:\\f", buffer, sizeof buffer), -1);
}
