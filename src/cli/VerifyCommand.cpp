#include "cli/Commands.h"

namespace quorvix::cli {

int RunVerifyCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "quorvix-cli verify: not available in this build\n";
    return ExitFailure;
}

} // namespace quorvix::cli
