// The temporary files an interrupt must remove, kept where a signal handler may read them.
#pragma once

namespace quorvix::interrupt_cleanup {

// Calls remove with the path of every temporary file remembered now. Takes no lock and allocates
// nothing, so it may run in a signal handler when remove may.
void ForEachRemembered(void (*remove)(const char* path));

} // namespace quorvix::interrupt_cleanup
