// The checks made on a job's input before the job starts, the same for every front end.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvix {

// True when nothing is left of the text once every leading and trailing byte of value 0x20 or
// below (the space and all control characters) is removed. The trimmed text only decides
// emptiness; the jobs always get the text as typed. Cannot fail.
bool IsEmptyAfterTrimming(std::string_view text);

// For the maker: the message to show when folderText is blank or names no existing folder
// (tested exactly as typed), or nothing when the maker may start.
std::optional<std::string> MakerInputProblem(const std::string& folderText);

// For the verifier: the message to show when checkFilePath is blank or names no existing file
// (a folder is not one), or nothing when the verifier may start.
std::optional<std::string> VerifierInputProblem(const std::string& checkFilePath);

} // namespace quorvix
