#include "cli/InputChecks.h"

#include <algorithm>

namespace quorvix::cli {

bool IsBlank(std::string_view text) {
    // Trimming both ends leaves nothing exactly when no byte survives from either end.
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

} // namespace quorvix::cli
