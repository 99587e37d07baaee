// Batch conversion: a list of data sets and destinations converted in one process (RunBatch
// in session.h runs it).
#pragma once

#include <string>
#include <vector>

namespace ostra {

struct BatchItem {
  std::string source;  // as written in the list (UTF-8)
  std::string dest;
  long line = 0;  // line of the list, 1-based
};

// Reads a batch list: CSV lines "SOURCE,DEST" (UTF-8 or code page 932; fields may be quoted
// with "…", "" inside for one quote), an optional header line starting with SOURCE, empty lines
// and lines starting with "#" passed over. On a malformed line returns nothing and sets
// `error` to a message naming the line.
std::vector<BatchItem> ReadBatchList(const std::string& bytes, std::string& error);

}  // namespace ostra
