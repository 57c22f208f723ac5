#include "cli/commands.h"

namespace lumavo::cli {

int runEffect(const QStringList&)
{
    return fail("the effect command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
