// multipart/form-data bodies of named text fields, each part carrying only its
// Content-Disposition header, as the news service expects them.
#pragma once

#include <string>
#include <vector>

namespace vellora {

struct FormField {
  std::string Name;
  std::string Value;  // raw bytes, sent unchanged
};

// A boundary that occurs in none of the values.
std::string MakeBoundary(const std::vector<FormField>& fields);

// The body: for each field "--boundary", CRLF, the Content-Disposition line, an empty line, the
// value, CRLF; then "--boundary--", CRLF.
std::string BuildMultipartBody(const std::vector<FormField>& fields, const std::string& boundary);

// The request's Content-Type value for that boundary.
std::string MultipartContentType(const std::string& boundary);

}  // namespace vellora
