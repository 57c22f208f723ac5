#include "cli/commands.h"

namespace lumavo::cli {

int runPage(const QStringList&)
{
    return fail("the page command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
