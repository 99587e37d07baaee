// Batch conversion: a list of data sets and destinations converted in one process (RunBatch
// in session.h runs it).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ostra {

struct BatchItem {
  // As written in the list (UTF-8), a relative host path taken from the list file's folder.
  std::string source;
  std::string dest;
  long line = 0;  // line of the list, 1-based; for a scanned data set its place in the scan
  // A scanned data set: its file, as found (UTF-8). Empty for a line of a list.
  std::string found;
  // The template's fields taken from folder names because the data set does not hold them
  // ("{site}: 地点A" ...), shown in the summary. Empty when none.
  std::string fallback;
};

class Session;

// Reads a batch list: CSV lines "SOURCE,DEST" (UTF-8 or code page 932; fields may be quoted
// with "…", "" inside for one quote), an optional header line starting with SOURCE, empty lines
// and lines starting with "#" passed over. On a malformed line returns nothing and sets
// `error` to a message naming the line.
std::vector<BatchItem> ReadBatchList(const std::string& bytes, std::string& error);

// The conversions of the batch the options ask for (--batch LIST, "-" for standard input, or
// --scan ROOT); none, with
// `exitCode` set after the message was printed, when there are none or the list cannot be read.
std::optional<std::vector<BatchItem>> CollectBatchItems(Session& session, int& exitCode);

}  // namespace ostra
