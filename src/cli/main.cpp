#include "cli/cli.h"

int main(int argc, char** argv) { return ostra::CliMain(argc, argv); }
