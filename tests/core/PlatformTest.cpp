#include "platform/FileErrors.h"
#include "platform/FileStream.h"
#include "platform/FileSystem.h"
#include "platform/OpenProbe.h"
#include "platform/TextFileWriter.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace quorvix {
namespace {

using test::FolderListing;
using test::ReadFileBytes;
using test::TempFolder;

// One fixture folder with every kind of entry the probe and the exists tests must tell apart.
class FileKinds : public ::testing::Test {
protected:
    void SetUp() override {
        file = folder.Write("file.txt", "content");
        std::filesystem::create_directory(folder / "folder");
        ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
        std::filesystem::create_symlink(file, folder / "link-to-file");
        std::filesystem::create_symlink(folder / "folder", folder / "link-to-folder");
        std::filesystem::create_symlink(folder / "nowhere", folder / "dangling");
    }

    TempFolder folder;
    std::string file;
};

TEST_F(FileKinds, ProbeAndExistsTellKindsApart) {
    const struct {
        const char* name;
        bool probe;
        bool fileExists;
        bool folderExists;
    } cases[] = {
        {"file.txt", true, true, false},        {"folder", false, false, true},
        {"fifo", false, true, false},           {"link-to-file", true, true, false},
        {"link-to-folder", false, false, true}, {"dangling", false, false, false},
        {"missing", false, false, false},
    };
    for (const auto& c : cases) {
        const std::string path = folder / c.name;
        EXPECT_EQ(OpenProbe(path), c.probe) << c.name;
        EXPECT_EQ(FileExists(path), c.fileExists) << c.name;
        EXPECT_EQ(FolderExists(path), c.folderExists) << c.name;
    }
}

TEST_F(FileKinds, ListingIsInByteOrderAndNeverFollowsFolderLinks) {
    folder.Write(".hidden", "");
    folder.Write("B", "");
    folder.Write("\xC3\xA9t\xC3\xA9", ""); // UTF-8 sorts after ASCII as bytes
    const auto entries = ListFolder(folder.Path());
    ASSERT_TRUE(entries.has_value());
    std::string listed;
    for (const auto& entry : *entries) {
        listed += entry.name + (entry.isFolder ? "/ " : " ");
    }
    EXPECT_EQ(listed, ".hidden B dangling fifo file.txt folder/ link-to-file "
                      "\xC3\xA9t\xC3\xA9 ");
}

TEST(ListFolder, GivesNothingForAFolderThatCannotBeListed) {
    TempFolder folder;
    EXPECT_FALSE(ListFolder(folder / "missing").has_value());
    EXPECT_FALSE(ListFolder(folder.Write("file", "x")).has_value());
}

TEST_F(FileKinds, FileStreamRefusesWhatIsNotARegularFile) {
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing", "No such file or directory"},
        {"folder", "Is a directory"},
        {"fifo", "Not a regular file"},
        {"dangling", "No such file or directory"},
    };
    for (const auto& c : cases) {
        const std::string path = folder / c.name;
        try {
            FileStream stream(path);
            ADD_FAILURE() << c.name << " opened";
        } catch (const FileOpenError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". " + c.reason);
        }
    }
}

TEST(FileStream, ReadsSeeksAndReportsProgress) {
    TempFolder folder;
    std::string content(FileStream::ChunkSize + 10000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    const std::string path = folder.Write("data", content);
    std::uint64_t lastProgress = 0;
    FileStream stream(path, [&](std::uint64_t done, std::uint64_t size) {
        EXPECT_EQ(size, content.size());
        lastProgress = done;
    });
    EXPECT_EQ(stream.Size(), content.size());

    // Pieces come out right wherever the stream is moved, across the chunks read from disk.
    for (const std::uint64_t start :
         {std::uint64_t{FileStream::ChunkSize - 100}, std::uint64_t{0}, std::uint64_t{4095}}) {
        stream.Seek(start);
        std::string got;
        std::string piece(4096, '\0');
        while (got.size() < 8192) {
            const std::size_t count = stream.Read(piece.data(), piece.size());
            ASSERT_GT(count, 0u);
            got.append(piece, 0, count);
        }
        EXPECT_EQ(got, content.substr(start, got.size())) << start;
        EXPECT_EQ(stream.Position(), start + got.size());
    }
    std::string piece(4096, '\0');
    stream.Seek(content.size());
    EXPECT_EQ(stream.Read(piece.data(), piece.size()), 0u);
    EXPECT_GT(lastProgress, 0u);
}

TEST(TextFileWriter, WritesCrLfLinesAndReplacesTheTargetOnlyOnCommit) {
    TempFolder folder;
    const std::string target = folder.Write("list.txt", "an older and much longer content\r\n");
    {
        TextFileWriter writer(target);
        writer.WriteLine("first");
        writer.WriteLine("");
        writer.WriteLine("\xE4\xB8\xAD t\tx");
        EXPECT_EQ(ReadFileBytes(target), "an older and much longer content\r\n");
        writer.Commit();
    }
    EXPECT_EQ(ReadFileBytes(target), "first\r\n\r\n\xE4\xB8\xAD t\tx\r\n");
    EXPECT_EQ(FolderListing(folder.Path()), "list.txt\n");
}

TEST(TextFileWriter, AbandonedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string target = folder.Write("list.txt", "old\r\n");
    {
        TextFileWriter writer(target);
        writer.WriteLine(std::string(200000, 'x')); // large enough to reach the disk
    }
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_EQ(FolderListing(folder.Path()), "list.txt\n");
}

TEST(TextFileWriter, FailuresNameTheTargetAndLeaveNothingBehind) {
    TempFolder folder;
    EXPECT_THROW(TextFileWriter(folder / "missing/list.txt"), InputOutputError);
    try {
        TextFileWriter writer(folder / "missing/list.txt");
    } catch (const InputOutputError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file \"" +
                                                 (folder / "missing/list.txt") +
                                                 "\". No such file or directory");
    }

    // A target that is a folder is refused before anything is written.
    folder.Write("taken/inside", "kept");
    EXPECT_THROW(TextFileWriter(folder / "taken"), InputOutputError);
    EXPECT_EQ(ReadFileBytes(folder / "taken/inside"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(TextFileWriter, ReplacingKeepsThePermissionsOfTheOldFile) {
    TempFolder folder;
    const std::string target = folder.Write("list.txt", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    TextFileWriter writer(target);
    writer.Commit();
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
} // namespace quorvix
