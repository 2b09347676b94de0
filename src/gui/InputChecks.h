// The checks the maker and verifier pages make on their fields before a job starts.
#pragma once

#include <string_view>

namespace quorvix {

// True when nothing is left of the text once every leading and trailing byte of value 0x20 or
// below (the space and all control characters) is removed. The trimmed text only decides
// emptiness; the jobs always get the text as typed.
bool IsEmptyAfterTrimming(std::string_view text);

} // namespace quorvix
