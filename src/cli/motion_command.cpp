#include "cli/commands.h"

namespace lumavo::cli {

int runMotion(const QStringList&)
{
    return fail("the motion command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
