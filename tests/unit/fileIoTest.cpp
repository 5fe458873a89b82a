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

// Every data file the plug-in saves, made to fail at each call of each step of its save: a list
// and its templates are saved as one, so both keep their bytes.
TEST(SafeSave, everySaveFailingAtAnyStepKeepsThePreviousFilesAndLeavesNothingBeside) {
    const char kDir[] = "C:\\lb\\";
    struct Save {
        const char* files[2];
        void (*run)();
        bool fresh = false;  // neither file exists before the save
    } saves[] = {
        {{"Setting.dat"}, [] { closePlugin(); }},
        {{"N64.emu"}, [] { saveEmulatorList(); }},
        {{"Copy.dat", "Copy.dat.txt"}, [] { writeCopyFile(2, context->emulators); }},
        {{"N64.fvr"}, [] { saveFavorites(); }},
        {{"N64.emu", "N64.emu.txt"},
         [] {
             setTemplate(emulatorTemplates, context->emulators[0], "%ROM%", context->emulators, 2);
             saveListAndTemplates("C:\\lb\\N64.emu", 2, context->emulators, emulatorTemplates);
         }},
        {{"N64.emu", "N64.emu.txt"},
         [] {
             setTemplate(emulatorTemplates, context->emulators[0], "%ROM%", context->emulators, 2);
             saveListAndTemplates("C:\\lb\\N64.emu", 2, context->emulators, emulatorTemplates);
         },
         true},
    };
    using Count = int fake::State::*;
    struct Step {
        const char* name;
        Count calls, failAt;
    } steps[] = {
        {"create", &fake::State::creates, &fake::State::failCreateAt},
        {"write", &fake::State::writes, &fake::State::failWriteAt},
        {"flush at close", &fake::State::closes, &fake::State::failCloseAt},
        {"copy", &fake::State::copies, &fake::State::failCopyAt},
        {"replace", &fake::State::replaces, &fake::State::failReplaceAt},
    };
    for (const Save& save : saves) {
        for (const Step& step : steps) {
            for (int call = 1;; ++call) {
                fake::reset();
                ASSERT_TRUE(attachPlugin(nullptr));
                initPlugin(nullptr, 0, 0, 0, 0, kDir);
                copyText(context->systemName, "N64");
                context->emulatorCount = 2;
                context->favoriteCount = 2;
                for (const char* file : save.files)
                    if (file != nullptr && !save.fresh)
                        fake::putFile(kDir + std::string(file), "previous bytes");
                fake::state().*step.failAt = call;
                save.run();
                int calls = fake::state().*step.calls;
                if (context != nullptr) closePlugin();
                if (calls < call) break;  // the save had fewer such calls
                std::string what = std::string(save.files[0]) + " failing at " + step.name + " " +
                                   std::to_string(call);
                for (const char* file : save.files) {
                    if (file != nullptr && save.fresh) {
                        EXPECT_FALSE(fake::hasFile(kDir + std::string(file)))
                            << what << ": " << file;
                    } else if (file != nullptr) {
                        EXPECT_EQ(fake::fileBytes(kDir + std::string(file)), "previous bytes")
                            << what << ": " << file;
                    }
                }
                for (auto& [path, bytes] : fake::state().files)
                    EXPECT_TRUE(path.find(".tmp") == path.npos && path.find(".saving") == path.npos)
                        << what << ": " << path << " left";
            }
        }
    }
}

// A pair save whose second replace fails and whose first file cannot be put back is finished
// instead; when even that fails, it is told as failed and the next load undoes it. Either way
// the files end as the user was told, with nothing beside them.
TEST(SafeSave, aPairSaveStoppedBetweenItsReplacesEndsAsToldAndTouchesOnlyItsOwnFiles) {
    for (int failing : {0, 2, 3}) {
        fake::reset();
        fake::putFile("C:\\a", "old a");
        fake::putFile("C:\\b", "old b");
        fake::state().failReplaceAt = failing > 0 ? 2 : 0;
        fake::state().failReplaces = failing;
        Chunk a{"new a", 5}, b{"new b", 5};
        FileToSave files[] = {{"C:\\a", &a, 1}, {"C:\\b", &b, 1}};
        EXPECT_EQ(saveFilesTogether(files, 2).file, failing < 3 ? -1 : 1) << failing;
        const char* paths[] = {"C:\\a", "C:\\b"};
        finishSavedTogether(paths, 2);
        EXPECT_EQ(fake::fileBytes("C:\\a") + fake::fileBytes("C:\\b"),
                  failing < 3 ? "new anew b" : "old aold b")
            << failing;
        for (const char* left : {"C:\\a.saving", "C:\\a.undo", "C:\\b.tmp"})
            EXPECT_FALSE(fake::hasFile(left)) << failing << left;
    }
    // A repair that cannot finish names its file, and its mark stays for the next load.
    fake::state().failReplace = true;
    fake::putFile("C:\\a.saving", "old a");
    fake::putFile("C:\\b.tmp", "new b");
    const char* pair[] = {"C:\\a", "C:\\b"};
    EXPECT_EQ(finishSavedTogether(pair, 2), 1);
    EXPECT_TRUE(fake::hasFile("C:\\a.saving"));
    fake::reset();
    fake::putFile("C:\\a.bak", "mine");   // a user's copy, or an earlier version's
    fake::putFile("C:\\b.tmp", "stray");  // another program's
    const char* paths[] = {"C:\\a", "C:\\b"};
    finishSavedTogether(paths, 2);
    EXPECT_EQ(fake::fileBytes("C:\\a.bak") + fake::fileBytes("C:\\b.tmp"), "minestray");
}
