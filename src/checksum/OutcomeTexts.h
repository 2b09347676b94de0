// The words the logs, lists and saved files use for what happened to a file. Outcomes travel as
// values; these render them at the edge.
#pragma once

namespace quorvix {

inline constexpr const char* CouldNotOpenFileText = "Could not open file";

} // namespace quorvix
