#include <gtest/gtest.h>

#include "core/fileIo.h"
#include "core/pluginContext.h"
#include "favorites/favorites.h"
#include "platform/fake/fakePlatform.h"
#include "plugin/exports.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorListFile.h"

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

TEST(WholeFileRead, readsAtMostTheBufferAndTellsAMissingFileFromAnUnreadableOne) {
    fake::reset();
    fake::putFile("C:\\f", "0123456789");
    char buffer[4];
    size_t got = 9;
    EXPECT_EQ(readFilePrefix("C:\\f", buffer, sizeof buffer, got), FileRead::Read);
    EXPECT_EQ(std::string(buffer, got), "0123");
    EXPECT_EQ(readFilePrefix("C:\\missing", buffer, sizeof buffer, got), FileRead::Missing);
    fake::state().failReadAt = fake::state().reads + 1;
    EXPECT_EQ(readFilePrefix("C:\\f", buffer, sizeof buffer, got), FileRead::Unreadable);
    fake::state().unreadable.insert("C:\\f");
    EXPECT_EQ(readFilePrefix("C:\\f", buffer, sizeof buffer, got), FileRead::Unreadable);
    EXPECT_EQ(got, 0u);
}

// Every data file the plug-in saves, made to fail at each step of its save.
TEST(SafeSave, everySaveFailingAtAnyStepKeepsThePreviousFileAndLeavesNoTemporary) {
    const char kDir[] = "C:\\lb\\";
    struct Save {
        const char* file;
        int writes;  // write calls of one save
        void (*run)();
    } saves[] = {
        {"Setting.dat", 1, [] { closePlugin(); }},
        {"N64.emu", 2, [] { saveEmulatorList(); }},
        {"Copy.dat", 2, [] { writeCopyFile(2, context->emulators); }},
        {"N64.fvr", 3, [] { saveFavorites(); }},
        {"N64.emu.txt", 1,
         [] {
             setTemplate(emulatorTemplates, context->emulators[0], "%ROM%", context->emulators, 2);
             saveTemplates("C:\\lb\\N64.emu", emulatorTemplates, context->emulators, 2);
         }},
    };
    struct Step {
        const char* name;
        void (*inject)(fake::State&, int write);
    } steps[] = {
        {"create", [](fake::State& s, int) { s.failCreate = true; }},
        {"write", [](fake::State& s, int write) { s.failWriteAt = write; }},
        {"flush at close", [](fake::State& s, int) { s.failClose = true; }},
        {"replace", [](fake::State& s, int) { s.failReplace = true; }},
    };
    for (const Save& save : saves) {
        for (const Step& step : steps) {
            for (int write = 1; write <= (std::string(step.name) == "write" ? save.writes : 1);
                 ++write) {
                fake::reset();
                ASSERT_TRUE(attachPlugin(nullptr));
                initPlugin(nullptr, 0, 0, 0, 0, kDir);
                copyText(context->systemName, "N64");
                context->emulatorCount = 2;
                context->favoriteCount = 2;
                std::string path = std::string(kDir) + save.file;
                fake::putFile(path, "previous bytes");
                step.inject(fake::state(), write);
                save.run();
                std::string what = std::string(save.file) + " failing at " + step.name + " " +
                                   std::to_string(write);
                EXPECT_EQ(fake::fileBytes(path), "previous bytes") << what;
                EXPECT_FALSE(fake::hasFile(path + ".tmp")) << what << ": temporary left";
                if (context != nullptr) closePlugin();
            }
        }
    }
}
