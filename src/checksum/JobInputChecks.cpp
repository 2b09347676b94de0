#include "checksum/JobInputChecks.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace quorvix {

bool IsEmptyAfterTrimming(std::string_view text) {
    // Trimming both ends leaves nothing exactly when no byte survives; bytes of UTF-8
    // characters are 0x80 and above and so always survive.
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

std::optional<std::string> MakerInputProblem(const std::string& folderText) {
    if (IsEmptyAfterTrimming(folderText)) {
        return "首先请选择一个文件夹。";
    }
    if (!FolderExists(folderText)) {
        return "该文件夹不存在。";
    }
    return std::nullopt;
}

std::optional<std::string> VerifierInputProblem(const std::string& checkFilePath) {
    if (IsEmptyAfterTrimming(checkFilePath)) {
        return "请首先选择检查文件.";
    }
    if (!FileExists(checkFilePath)) {
        return "检查文件不存在.";
    }
    return std::nullopt;
}

} // namespace quorvix
