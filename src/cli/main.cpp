#include "cli/Commands.h"
#include "platform/FileSystem.h"
#include "platform/InterruptCleanup.h"

#include <iostream>

int main(int argc, char** argv) {
    // An interrupted run leaves no half-written file behind.
    quorvix::RemoveTemporaryFilesOnInterrupt();
    quorvix::AllowManyOpenFiles();
    // The log and the digest lines are plain bytes; no locale conversion on the way out.
    std::ios::sync_with_stdio(false);
    const quorvix::cli::Arguments arguments(argv + 1, argv + argc);
    return quorvix::cli::RunCli(arguments, std::cout, std::cerr);
}
