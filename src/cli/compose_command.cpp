#include "cli/commands.h"

namespace lumavo::cli {

int runCompose(const QStringList&)
{
    return fail("the compose command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
