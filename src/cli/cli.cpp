#include "cli/cli.h"

namespace ostra {

int CliMain(int, char**) { return 2; }

}  // namespace ostra
