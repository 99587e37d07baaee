// The names the picture window gives: the PDF file offered when the picture is saved, and the
// folder the save dialog starts in.
#pragma once

#include "base/codec.h"

namespace ostra {

// The PDF file offered for the picture of the data set `source` (drive form): the hole's name
// (`holeName`, characters a file name cannot hold replaced by "_") with ".pdf"; without a hole
// name, the name of the data set's file without its extension ("MDT0001.pdf"); "柱状図.pdf"
// when there is neither.
Text PictureFileName(const Text& holeName, const Text& source);

// The folder of the data set `source` (drive form), where the save dialog starts.
Text PictureFolder(const Text& source);

}  // namespace ostra
