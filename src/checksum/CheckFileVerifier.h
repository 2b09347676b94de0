// Verifies every file a check file lists.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"

#include <string>

namespace quorvix {

// Clears the log, then reads the check file at checkFilePath (used exactly as given) and logs
// each listed file as unchanged, changed, missing or unreadable, followed by the summary and the
// lists of changed, missing and unreadable files. Never runs pending events; hooks.fileDigestText
// computes the digests. Throws FileOpenError or InputOutputError when the check file cannot be
// opened or read; the lines logged so far stay.
void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks = {});

} // namespace quorvix
