#include "gui/InputChecks.h"

#include <algorithm>

namespace quorvix {

bool IsEmptyAfterTrimming(std::string_view text) {
    // Bytes of UTF-8 characters are 0x80 and above, so they are never trimmed.
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

} // namespace quorvix
