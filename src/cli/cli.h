// The command-line front end:
//   ostraconv-cli [--patdat DIR] [--drive L=DIR]... [--yes] SOURCE DEST
#pragma once

namespace ostra {

int CliMain(int argc, char** argv);

}  // namespace ostra
