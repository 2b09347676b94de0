#pragma once

#include <string>

namespace quorvix {

// The read-access test made on a file before it is digested: true when the path names a regular
// file (after following symbolic links) that can be opened for reading. Folders, FIFOs, sockets
// and devices fail. Never blocks, and leaves nothing open.
bool OpenProbe(const std::string& path);

} // namespace quorvix
