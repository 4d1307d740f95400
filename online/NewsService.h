// The brand's news service: the three requests (news list, newest news code, details of one
// item) as multipart POSTs to getlastnews.php and getnewsdetails.php, the replies parsed as bytes
// (record mark 0xAF, "^" fields, "$" escapes), and the messages for the service's error codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BrandSettings.h"
#include "Multipart.h"

namespace vellora {

struct OnlineContext;

inline constexpr char kRecordMark = '\xAF';
inline constexpr char kRecordEnd[] = "\xAFOK";  // record mark + "OK"
inline constexpr char kNewsTarget[] = "UA";
inline constexpr char kListScript[] = "getlastnews.php";
inline constexpr char kDetailsScript[] = "getnewsdetails.php";
// A news reply is a few kilobytes; a longer one is refused as a failed request.
inline constexpr std::uint64_t kMaxNewsReplySize = 4u << 20;

inline constexpr char kNewsSiteTroubleMessage[] =
    "There is a trouble accessing the news site. Contact your provider.";
inline constexpr char kNewsSettingsTroubleMessage[] =
    "There is a trouble in the settings file on the news site.";
inline constexpr char kPublisherTroubleMessage[] =
    "There is a trouble with the Publisher Id. Contact your provider.";
inline constexpr char kProductTroubleMessage[] =
    "There is a trouble with the product validation. Contact your provider.";
inline constexpr char kNewsTroubleMessage[] =
    "There is a trouble with this news. Contact your provider.";

enum class NewsRequest { List, LastCode, Details };

// The level whose BranderType matches exactly and whose publisher id is set.
struct NewsLevel {
  std::string ProductType;  // "BM", "BP" or "BG"
  std::string PublisherId;
  std::string BaseURL;
};
std::optional<NewsLevel> ActiveNewsLevel(const BrandSettingsRecord& brand);
// The news base address of the level with that product type code; empty for another code.
std::string NewsBaseURLFor(const BrandSettingsRecord& brand, std::string_view productType);

// base + script, with one "/" between them.
std::string NewsScriptAddress(std::string_view baseURL, std::string_view script);

// The form fields of a request, in their order on the wire.
std::vector<FormField> NewsRequestFields(NewsRequest request, std::string_view publisherId,
                                         std::string_view branderCode, std::string_view productType,
                                         std::string_view target, std::string_view newsId = {});

// Removes every leading and trailing byte of value 32 or less.
std::string_view TrimReply(std::string_view reply);
// Removes every record mark + "OK".
std::string RemoveRecordEnds(std::string_view reply);
// The records of a successful list reply: pieces between record marks, without empty pieces and
// pieces that are exactly "OK".
std::vector<std::string> NewsRecords(std::string_view trimmedReply);
// The message for an error reply, or empty when the reply is no code this request knows.
std::string_view NewsErrorMessage(NewsRequest request, std::string_view trimmedReply);

// Appends the records of the news list to NewsList (not cleared here).
bool GetLastNews(const OnlineContext& online, const std::string& PublisherId,
                 const std::string& BranderCode, const std::string& ProductType,
                 const std::string& Target, std::vector<std::string>& NewsList);

// The brand's newest news id and its message; both empty when the service has no news.
bool GetLastNewsCode(const OnlineContext& online, const std::string& PublisherId,
                     const std::string& BranderCode, const std::string& ProductType,
                     const std::string& Target, std::string& NewsId, std::string& Message,
                     bool Silent);

// The decoded HTML of one news item (empty when its escapes are malformed).
bool GetNewsDetails(const OnlineContext& online, const std::string& PublisherId,
                    const std::string& BranderCode, const std::string& ProductType,
                    const std::string& Target, const std::string& NewsId, std::string& Details);

}  // namespace vellora
