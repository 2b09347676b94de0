// What the platform layer does on Windows only: share modes, drive letters, the system's own
// error texts, devices, names in byte order and files past 4 GiB.
#include "checksum/FileDigest.h"
#include "checksum/FileDigestList.h"
#include "platform/FileErrors.h"
#include "platform/FileStream.h"
#include "platform/FileSystem.h"
#include "platform/OpenProbe.h"
#include "platform/PathText.h"
#include "platform/TextFileWriter.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace quorvix {
namespace {

using test::FolderListing;
using test::ReadFileBytes;
using test::TempFolder;

// The C runtime's streams open with every share mode, as most programs do; one held open for
// writing is another program still writing the file.
TEST(WindowsSharing, AFileOpenForWritingPassesTheProbeButIsNotDigested) {
    TempFolder folder;
    const std::string busy = folder.Write("busy.txt", "being written");
    std::ofstream writer(busy, std::ios::binary | std::ios::app);
    ASSERT_TRUE(writer.is_open());
    EXPECT_TRUE(OpenProbe(busy));
    try {
        FileStream stream(busy);
        ADD_FAILURE() << "opened while another handle writes it";
    } catch (const FileOpenError& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("Cannot open file \"" + busy + "\". "))
            << error.what();
    }
    writer.close();
    EXPECT_EQ(FileDigestText(busy), "86DDEE03800CC1A1B7CA3279A2C97165");
}

TEST(WindowsSharing, AFileThatOthersOnlyReadIsDigested) {
    TempFolder folder;
    const std::string read = folder.Write("read.txt", "abc");
    std::ifstream reader(read, std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(FileDigestText(read), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(WindowsSharing, TheDigestListMarksTheBusyFileAndGoesOn) {
    TempFolder folder;
    const std::string busy = folder.Write("busy.txt", "x");
    const std::string next = folder.Write("next.txt", "abc");
    std::ofstream writer(busy, std::ios::binary | std::ios::app);
    FileDigestList list;
    EXPECT_TRUE(list.AddFiles({busy, next}));
    ASSERT_EQ(list.RowCount(), 2u);
    EXPECT_EQ(list.Row(0).ResultText(), "Could not open file");
    EXPECT_EQ(list.Row(1).ResultText(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(WindowsPaths, SeparatorsAndDrivesEndTheFolderPart) {
    const struct {
        std::string path;
        std::size_t folderPart;
        bool endsWithSeparator;
    } cases[] = {
        {"C:\\data\\x.md5", 8, false},
        {"C:/data/x.md5", 8, false},
        {"C:x.md5", 2, false},
        {"C:", 2, false},
        {"C:\\", 3, true},
        {"x.md5", 0, false},
        {"data/sub\\", 9, true},
        {"\\\\server\\share\\x", 15, false},
        {"", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderPartLength(c.path), c.folderPart) << c.path;
        EXPECT_EQ(EndsWithPathSeparator(c.path), c.endsWithSeparator) << c.path;
    }
}

TEST(WindowsPaths, ForwardSlashesAndDriveRelativePathsReachTheFile) {
    TempFolder folder;
    const std::string file = folder.Write("sub/file.txt", "abc");
    std::string forward = file;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    EXPECT_EQ(FileDigestText(forward), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(KindOfPath(forward), PathKind::RegularFile);

    // "C:sub\file.txt" is relative to the current folder of drive C.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const std::string driveRelative = folder.Path().substr(0, 2) + "sub\\file.txt";
    EXPECT_TRUE(FileExists(driveRelative));
    EXPECT_TRUE(OpenProbe(driveRelative));
    EXPECT_EQ(FileDigestText(driveRelative), "900150983CD24FB0D6963F7D28E17F72");
    std::filesystem::current_path(previous);
}

TEST(WindowsPaths, ExistsTestsAndKinds) {
    TempFolder folder;
    const std::string file = folder.Write("file.txt", "x");
    const std::string sub = folder.MakeFolder("sub");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(sub));
    EXPECT_FALSE(FileExists(sub));
    EXPECT_EQ(KindOfPath(file), PathKind::RegularFile);
    EXPECT_EQ(KindOfPath(sub), PathKind::Folder);
    EXPECT_EQ(KindOfPath(folder / "missing"), PathKind::Missing);
    EXPECT_EQ(KindOfPath(folder / "missing/deeper"), PathKind::Missing);
    EXPECT_FALSE(OpenProbe(sub));
    EXPECT_FALSE(OpenProbe(folder / "missing"));
}

TEST(WindowsPaths, ListingIsInByteOrderNotTheFileSystemsOrder) {
    TempFolder folder;
    for (const char* name : {"alpha", "Zeta", "_mid", "Beta", ".dot"}) {
        folder.Write(name, "");
    }
    folder.MakeFolder("Folder");
    const auto entries = ListFolder(folder.Path());
    ASSERT_TRUE(entries.has_value());
    std::string listed;
    for (const auto& entry : *entries) {
        listed += entry.name + (entry.isFolder ? "\\ " : " ");
    }
    EXPECT_EQ(listed, ".dot Beta Folder\\ Zeta _mid alpha ");
    EXPECT_FALSE(ListFolder(folder / "missing").has_value());
    EXPECT_FALSE(ListFolder(folder / "alpha").has_value());
}

TEST(WindowsErrors, MessagesNameThePathAndGiveTheSystemsReason) {
    TempFolder folder;
    const auto reasonAfter = [](const std::string& message, const std::string& prefix) {
        EXPECT_TRUE(message.starts_with(prefix)) << message;
        const std::string reason = message.substr(prefix.size());
        EXPECT_FALSE(reason.empty()) << message;
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << message;
    };
    try {
        FileStream stream(folder / "missing.txt");
        ADD_FAILURE() << "a missing file opened";
    } catch (const FileOpenError& error) {
        reasonAfter(error.what(), "Cannot open file \"" + (folder / "missing.txt") + "\". ");
    }
    try {
        TextFileWriter writer(folder / "missing/list.txt");
        ADD_FAILURE() << "created in a missing folder";
    } catch (const InputOutputError& error) {
        reasonAfter(error.what(), "Cannot create file \"" + (folder / "missing/list.txt") + "\". ");
    }
    EXPECT_EQ(FolderListing(folder.Path()), "");
}

TEST(WindowsErrors, ADeviceIsNoRegularFile) {
    try {
        FileStream stream("NUL");
        ADD_FAILURE() << "NUL opened as a file";
    } catch (const FileOpenError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"NUL\". Not a regular file");
    }
    EXPECT_FALSE(OpenProbe("NUL"));
}

TEST(WindowsTextFileWriter, ReplacesTheTargetOnlyOnCommitAndRefusesAFolder) {
    TempFolder folder;
    const std::string target = folder.Write("list.txt", "old\r\n");
    {
        TextFileWriter writer(target);
        writer.WriteLine("new");
        EXPECT_EQ(ReadFileBytes(target), "old\r\n");
        writer.Commit();
    }
    EXPECT_EQ(ReadFileBytes(target), "new\r\n");
    {
        TextFileWriter abandoned(target);
        abandoned.WriteLine(std::string(200000, 'x'));
    }
    EXPECT_EQ(ReadFileBytes(target), "new\r\n");
    EXPECT_EQ(FolderListing(folder.Path()), "list.txt\n");

    folder.Write("taken/inside", "kept");
    EXPECT_THROW(TextFileWriter(folder / "taken"), InputOutputError);
    EXPECT_EQ(ReadFileBytes(folder / "taken/inside"), "kept");
    EXPECT_EQ(FolderListing(folder.Path()), "list.txt\ntaken\n");
}

TEST(WindowsTextFileWriter, RefusesReadOnlyAndBusyTargetsAndWritesDevicesInPlace) {
    TempFolder folder;
    const std::string readOnly = folder.Write("read-only.txt", "old");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_THROW(TextFileWriter{readOnly}, InputOutputError);
    EXPECT_EQ(ReadFileBytes(readOnly), "old");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);

    const std::string busy = folder.Write("busy.txt", "old");
    {
        std::ofstream writer(busy, std::ios::binary | std::ios::app);
        EXPECT_THROW(TextFileWriter{busy}, InputOutputError);
    }
    EXPECT_EQ(ReadFileBytes(busy), "old");

    TextFileWriter device("NUL");
    device.WriteLine("gone");
    EXPECT_NO_THROW(device.Commit());
    EXPECT_EQ(FolderListing(folder.Path()), "busy.txt\nread-only.txt\n");
}

TEST(WindowsTextFileWriter, ATargetGivenWithForwardSlashesLandsBesideItsTemporaryFile) {
    TempFolder folder;
    std::string target = folder / "list.txt";
    std::replace(target.begin(), target.end(), '\\', '/');
    TextFileWriter writer(target);
    writer.WriteLine("line");
    writer.Commit();
    EXPECT_EQ(ReadFileBytes(folder / "list.txt"), "line\r\n");
    EXPECT_EQ(FolderListing(folder.Path()), "list.txt\n");
}

TEST(WindowsLargeFile, AFileOverFourGibibytesIsDigestedWhole) {
    // Past 4 GiB the read offsets need their high 32 bits. The zeros are a hole where the file
    // system makes one; the twelve bytes at the end show that the file was read to its end.
    TempFolder folder;
    const std::string path = folder / "large";
    std::filesystem::resize_file(folder.Write("large", ""), std::uint64_t{1} << 32);
    {
        std::ofstream tail(path, std::ios::binary | std::ios::app);
        tail << "end of file!";
    }
    // { head -c 4294967296 /dev/zero; printf 'end of file!'; } | md5sum
    EXPECT_EQ(FileDigestText(path), "12FB900B8DD23FF326A2FB1546D7E4FD");
}

} // namespace
} // namespace quorvix
