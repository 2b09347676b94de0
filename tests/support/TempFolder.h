// A temporary folder for a test's fixtures, removed with everything in it at the end of the test.
#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvix::test {

class TempFolder {
public:
    TempFolder() {
        // create_directory makes a new folder or reports that the name is taken, like mkdtemp,
        // which Windows lacks.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("quorvix-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate.string();
            }
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        // Tests may take permissions away; give them back so that everything can be removed.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    // The folder's path, without a final separator.
    const std::string& Path() const { return path_; }

    // The full path of a name inside the folder, with '/' in relative as the platform's
    // separator, so that paths compare equal to those the program makes.
    std::string operator/(std::string_view relative) const {
        std::string native(relative);
        std::replace(native.begin(), native.end(), '/', PathSeparator);
        return path_ + PathSeparator + native;
    }

    // Writes a file (creating its folders) and returns its full path.
    std::string Write(std::string_view relative, std::string_view content) const {
        const std::string full = *this / relative;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + full);
        }
        return full;
    }

    // Creates the folder at relative, and its parents, and returns its full path.
    std::string MakeFolder(std::string_view relative) const {
        const std::string full = *this / relative;
        std::filesystem::create_directories(full);
        return full;
    }

private:
    std::string path_;
};

// The whole content of a file as bytes.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a folder, sorted, for checking that no stray file was left behind.
inline std::string FolderListing(const std::string& folder) {
    std::string names;
    std::vector<std::string> sorted;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        sorted.push_back(entry.path().filename().string());
    }
    std::sort(sorted.begin(), sorted.end());
    for (const auto& name : sorted) {
        names += name + "\n";
    }
    return names;
}

} // namespace quorvix::test
