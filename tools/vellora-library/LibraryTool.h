// vellora-library: add documents to a library, remove and list them, check an article against
// them and find the pairs of documents that share passages, from the command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vellora {

struct LibraryToolStreams {
  std::ostream& Out;
  std::ostream& Err;
  bool ProgressOnErr = false;  // draw a progress bar on Err (when it is a terminal)
};

// args excludes the program name. Exit codes: 0 done, 1 an error (the message names the file or
// the library), 2 a bad command line.
int RunLibraryTool(const std::vector<std::string>& args, const LibraryToolStreams& streams);

}  // namespace vellora
