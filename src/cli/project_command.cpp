#include "cli/commands.h"

namespace lumavo::cli {

int runProject(const QStringList&)
{
    return fail("the project command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
