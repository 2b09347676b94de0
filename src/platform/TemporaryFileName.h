// The names of the temporary files a text file writer makes beside its target.
#pragma once

#include <string>
#include <string_view>

namespace quorvix {

// A fresh name for a temporary file beside a target called targetName: ".<target>.tmp-" and
// eight random lower-case letters or digits. Cannot fail.
std::string TemporaryFileName(std::string_view targetName);

} // namespace quorvix
