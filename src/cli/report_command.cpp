#include "cli/commands.h"

namespace lumavo::cli {

int runReport(const QStringList&)
{
    return fail("the report command is not available in this build", kExitUsage);
}

} // namespace lumavo::cli
