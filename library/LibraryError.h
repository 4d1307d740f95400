// The one exception type of the library: a message for the user that names the file or the
// database and the cause.
#pragma once

#include <stdexcept>
#include <string>

namespace vellora {

class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vellora
