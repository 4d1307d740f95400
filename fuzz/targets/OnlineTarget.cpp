// INI texts and news service replies: values and records are pieces of the input with the
// blanks and marks the rules remove removed.
#include <string>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "IniText.h"
#include "NewsService.h"
#include "UUtils.h"

namespace vellora::fuzz {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

int FuzzOnlineReplies(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::string section(input.UpToNul());
  const std::string key(input.UpToNul());
  const std::string_view text = input.Rest();

  const std::string value = ReadIniValue(text, section, key);
  FUZZ_REQUIRE(text.find(value) != std::string_view::npos, "an INI value is a piece of the text");
  FUZZ_REQUIRE(value.find_first_of("\r\n") == std::string::npos, "an INI value is one line");
  if (!value.empty())
    FUZZ_REQUIRE(!IsBlank(value.front()) && !IsBlank(value.back()),
                 "an INI value has no blanks around it");
  // A text made to hold the key gives its value back.
  if (!section.empty() && !key.empty() && section.find_first_of("[]\r\n") == std::string::npos &&
      key.find_first_of("=\r\n;[") == std::string::npos && !IsBlank(section.front()) &&
      !IsBlank(section.back()) && !IsBlank(key.front()) && !IsBlank(key.back()) &&
      static_cast<unsigned char>(key.front()) > ' ' &&
      static_cast<unsigned char>(section.front()) > ' ') {
    const std::string made = "[" + section + "]\n" + key + "=v1\n";
    FUZZ_REQUIRE(ReadIniValue(made, section, key) == "v1", "a key written in its section is read");
  }

  const std::string_view trimmed = TrimReply(text);
  FUZZ_REQUIRE(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                                   static_cast<unsigned char>(trimmed.back()) > 32),
               "a trimmed reply starts and ends with a byte above 32");
  for (const std::string& record : NewsRecords(trimmed)) {
    FUZZ_REQUIRE(!record.empty() && record != "OK", "no record is empty or OK");
    FUZZ_REQUIRE(record.find(kRecordMark) == std::string::npos, "no record holds a record mark");
    FUZZ_REQUIRE(trimmed.find(record) != std::string_view::npos,
                 "a record is a piece of the reply");
  }
  const std::string withoutEnds = RemoveRecordEnds(text);
  FUZZ_REQUIRE(withoutEnds.size() <= text.size() &&
                   (text.size() - withoutEnds.size()) % (sizeof kRecordEnd - 1) == 0,
               "removing record ends removes whole record ends");
  const std::string details = DecodeHexEscapes(withoutEnds);
  FUZZ_REQUIRE(details.size() <= withoutEnds.size(), "decoding escapes never lengthens");
  for (const NewsRequest request : {NewsRequest::List, NewsRequest::LastCode, NewsRequest::Details})
    (void)NewsErrorMessage(request, trimmed);
  return 0;
}

}  // namespace vellora::fuzz
