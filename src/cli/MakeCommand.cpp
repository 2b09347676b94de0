#include "cli/Commands.h"

namespace quorvix::cli {

int RunMakeCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "quorvix-cli make: not available in this build\n";
    return ExitFailure;
}

} // namespace quorvix::cli
