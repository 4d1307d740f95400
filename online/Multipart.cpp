#include "Multipart.h"

#include <random>

namespace vellora {

std::string MakeBoundary(const std::vector<FormField>& fields) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device entropy;
  std::mt19937_64 random(entropy());
  for (;;) {
    std::string boundary = "----------VelloraFormBoundary";
    for (int i = 0; i < 16; ++i) boundary += kHex[random() & 15];
    bool clash = false;
    for (const FormField& field : fields)
      clash = clash || field.Value.find(boundary) != std::string::npos ||
              field.Name.find(boundary) != std::string::npos;
    if (!clash) return boundary;
  }
}

std::string BuildMultipartBody(const std::vector<FormField>& fields, const std::string& boundary) {
  std::string body;
  for (const FormField& field : fields) {
    body += "--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"" + field.Name + "\"\r\n\r\n";
    body += field.Value;
    body += "\r\n";
  }
  body += "--" + boundary + "--\r\n";
  return body;
}

std::string MultipartContentType(const std::string& boundary) {
  return "multipart/form-data; boundary=" + boundary;
}

}  // namespace vellora
