// The checks the maker and verifier pages make on their input before a job starts.
#pragma once

#include <string_view>

namespace quorvix::cli {

// True when nothing but spaces and control characters (bytes up to 0x20) is left of text once
// they are trimmed from both ends. Cannot fail.
bool IsBlank(std::string_view text);

} // namespace quorvix::cli
