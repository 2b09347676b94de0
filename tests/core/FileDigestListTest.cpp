#include "checksum/FileDigestList.h"

#include "platform/FileErrors.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace quorvix {
namespace {

using test::FolderListing;
using test::ReadFileBytes;
using test::TempFolder;

constexpr const char* EmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";
constexpr const char* AbcDigest = "900150983cd24fb0d6963f7d28e17f72";

std::vector<std::string> Rows(const FileDigestList& list) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        rows.push_back(list.Row(i).Path + " | " + list.Row(i).ResultText().value_or("<pending>"));
    }
    return rows;
}

#ifndef _WIN32 // FIFOs are POSIX-only
TEST(FileDigestList, RowsKeepTheGivenOrderAndPathsWithTheirResults) {
    TempFolder folder;
    const std::string abc = folder.Write("a b c.txt", "abc");
    const std::string empty = folder.Write("empty", "");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);

    FileDigestList list;
    list.AddFiles({abc, folder / "missing", empty, folder.Path(), folder / "fifo", abc});
    EXPECT_EQ(Rows(list), (std::vector<std::string>{
                              abc + " | " + AbcDigest,
                              folder / "missing" + " | Could not open file",
                              empty + " | " + EmptyDigest,
                              folder.Path() + " | Could not open file",
                              folder / "fifo" + " | Could not open file",
                              abc + " | " + AbcDigest,
                          }));
}
#endif

TEST(FileDigestList, EventsRunAroundEachDigestButNotAfterAFailedProbe) {
    TempFolder folder;
    const std::string abc = folder.Write("abc", "abc");
    std::vector<std::string> calls;
    FileDigestList* listPointer = nullptr;
    JobHooks hooks;
    hooks.letPendingEventsRun = [&] {
        calls.push_back("events, rows=" + std::to_string(listPointer->RowCount()));
    };
    hooks.digestStream = [&](FileStream& file) {
        calls.push_back("digest " + file.Path());
        return DigestOfStream(file);
    };
    FileDigestList list(hooks);
    listPointer = &list;

    list.AddFiles({});
    EXPECT_TRUE(calls.empty());
    list.AddFiles({folder / "missing", abc});
    EXPECT_EQ(calls,
              (std::vector<std::string>{"events, rows=2", "digest " + abc, "events, rows=2"}));
    EXPECT_EQ(list.Row(1).ResultText(), AbcDigest); // lower-cased
}

TEST(FileDigestList, ADigestThatFailsAfterTheProbeGivesCouldNotOpenAndTheBatchGoesOn) {
    TempFolder folder;
    const std::string first = folder.Write("first", "abc");
    const std::string busy = folder.Write("busy", "abc");
    const std::string last = folder.Write("last", "");
    JobHooks hooks;
    hooks.digestStream = [&](FileStream& file) {
        if (file.Path() == busy) {
            throw FileOpenError(file.Path(), "Resource busy");
        }
        return DigestOfStream(file);
    };
    FileDigestList list(hooks);
    list.AddFiles({first, busy, last});
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{first + " | " + AbcDigest, busy + " | Could not open file",
                                        last + " | " + EmptyDigest}));
    EXPECT_FALSE(list.HasPendingRow());
    EXPECT_NO_THROW(list.SaveList(folder / "list.txt"));
}

TEST(FileDigestList, AnAddStartedWhileEventsRunAppendsAfterTheCurrentRow) {
    TempFolder folder;
    const std::string a = folder.Write("a", "abc");
    const std::string b = folder.Write("b", "");
    const std::string nested = folder.Write("nested", "");
    FileDigestList* listPointer = nullptr;
    bool nestedDone = false;
    JobHooks hooks;
    hooks.letPendingEventsRun = [&] {
        if (!nestedDone) {
            nestedDone = true;
            listPointer->AddFile(nested); // a second drop while the first row waits
        }
    };
    FileDigestList list(hooks);
    listPointer = &list;
    list.AddFiles({a, b});
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{a + " | " + AbcDigest, nested + " | " + EmptyDigest,
                                        b + " | " + EmptyDigest}));
}

class RecordingObserver final : public FileDigestListObserver {
public:
    void RowAppended(std::size_t index) override { events.push_back("+" + std::to_string(index)); }
    void RowCompleted(std::size_t index) override { events.push_back("=" + std::to_string(index)); }
    std::vector<std::string> events;
};

TEST(FileDigestList, ObserverSeesEachRowAppendedThenCompleted) {
    TempFolder folder;
    RecordingObserver observer;
    FileDigestList list;
    list.SetObserver(&observer);
    list.AddFiles({folder.Write("x", "abc"), folder / "missing"});
    EXPECT_EQ(observer.events, (std::vector<std::string>{"+0", "=0", "+1", "=1"}));
}

TEST(SaveList, WritesPathFiveSpacesResultAndCrLfPerRowOverALongerFile) {
    TempFolder folder;
    const std::string abc = folder.Write("with space/a b.txt", "abc");
    const std::string target = folder.Write("list.txt", std::string(1000, 'o'));
    FileDigestList list;
    list.AddFiles({abc, folder / "no such file"});
    list.SaveList(target);
    EXPECT_EQ(ReadFileBytes(target), abc + "     " + AbcDigest + "\r\n" +
                                         (folder / "no such file") +
                                         "     Could not open file\r\n");
}

TEST(SaveList, AnEmptyListGivesAnEmptyFile) {
    TempFolder folder;
    FileDigestList list;
    list.SaveList(folder / "empty.txt");
    EXPECT_EQ(ReadFileBytes(folder / "empty.txt"), "");
}

TEST(SaveList, RefusesWhileARowWaitsForItsDigestAndLeavesTheTargetAlone) {
    TempFolder folder;
    const std::string target = folder.Write("list.txt", "previous\r\n");
    const std::string file = folder.Write("file", "abc");
    FileDigestList* listPointer = nullptr;
    std::string failure;
    JobHooks hooks;
    hooks.letPendingEventsRun = [&] {
        if (failure.empty() && listPointer->HasPendingRow()) {
            try {
                listPointer->SaveList(target); // the user presses Save between two digests
                failure = "saved";
            } catch (const std::runtime_error& error) {
                failure = error.what();
            }
        }
    };
    FileDigestList list(hooks);
    listPointer = &list;
    list.AddFile(file);
    EXPECT_NE(failure.find("still being digested"), std::string::npos) << failure;
    EXPECT_EQ(ReadFileBytes(target), "previous\r\n");
    EXPECT_EQ(FolderListing(folder.Path()), "file\nlist.txt\n");
}

TEST(SaveList, AFailedSaveKeepsTheOldFileAndTheList) {
    TempFolder folder;
    FileDigestList list;
    list.AddFile(folder.Write("file", "abc"));
    EXPECT_THROW(list.SaveList(folder / "missing/list.txt"), InputOutputError);
    EXPECT_EQ(FolderListing(folder.Path()), "file\n");
    EXPECT_EQ(list.RowCount(), 1u);
}

} // namespace
} // namespace quorvix
