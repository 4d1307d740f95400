#include "NewsService.h"

#include "HttpClient.h"
#include "OnlineContext.h"
#include "Prompter.h"
#include "UUtils.h"

namespace vellora {
namespace {

bool IsReplyBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

bool IsSuccess(std::string_view trimmedReply) {
  return trimmedReply.find("OK") != std::string_view::npos;
}

// Posts the request and gives the trimmed reply; a failed request gives the empty reply.
std::string PostNewsRequest(const OnlineContext& online, NewsRequest request,
                            const std::string& publisherId, const std::string& branderCode,
                            const std::string& productType, const std::string& target,
                            const std::string& newsId = {}) {
  if (online.client == nullptr) return {};
  const std::string address =
      NewsScriptAddress(NewsBaseURLFor(*online.brand, productType),
                        request == NewsRequest::Details ? kDetailsScript : kListScript);
  std::string body;
  {
    const std::vector<FormField> fields =
        NewsRequestFields(request, publisherId, branderCode, productType, target, newsId);
    const HttpResult result = online.client->PostForm(address, fields, body, kMaxNewsReplySize);
    if (!result.Ok) return {};
  }
  return std::string(TrimReply(body));
}

void ShowError(const OnlineContext& online, NewsRequest request, std::string_view reply) {
  const std::string_view message = NewsErrorMessage(request, reply);
  // A request ended by the closing window is not reported.
  if (!message.empty() && !OnlineClosing(online)) PrompterOf(online).Warning(message);
}

}  // namespace

std::optional<NewsLevel> ActiveNewsLevel(const BrandSettingsRecord& brand) {
  const auto level = [&](const std::string& productType, const std::string& publisherId,
                         const std::string& baseURL) -> std::optional<NewsLevel> {
    if (publisherId.empty()) return std::nullopt;
    return NewsLevel{productType, publisherId, baseURL};
  };
  if (brand.BranderType == "Master")
    return level("BM", brand.MasterPublID, brand.MasterNewsBaseURL);
  if (brand.BranderType == "Platinum")
    return level("BP", brand.PlatinumPublID, brand.PlatinumNewsBaseURL);
  if (brand.BranderType == "Gold") return level("BG", brand.GoldPublID, brand.GoldNewsBaseURL);
  return std::nullopt;
}

std::string NewsBaseURLFor(const BrandSettingsRecord& brand, std::string_view productType) {
  if (productType == "BM") return brand.MasterNewsBaseURL;
  if (productType == "BP") return brand.PlatinumNewsBaseURL;
  if (productType == "BG") return brand.GoldNewsBaseURL;
  return {};
}

std::string NewsScriptAddress(std::string_view baseURL, std::string_view script) {
  std::string address(baseURL);
  if (address.empty() || address.back() != '/') address += '/';
  address += script;
  return address;
}

std::vector<FormField> NewsRequestFields(NewsRequest request, std::string_view publisherId,
                                         std::string_view branderCode, std::string_view productType,
                                         std::string_view target, std::string_view newsId) {
  std::vector<FormField> fields{{"memusername", std::string(publisherId)},
                                {"prodcode", std::string(branderCode)},
                                {"prodtype", std::string(productType)}};
  switch (request) {
    case NewsRequest::List:
      fields.push_back({"conttype", "all"});
      break;
    case NewsRequest::LastCode:
      fields.push_back({"conttype", "lastcode"});
      break;
    case NewsRequest::Details:
      fields.push_back({"newsid", std::string(newsId)});
      break;
  }
  fields.push_back({"newstarget", std::string(target)});
  fields.push_back({"something", ""});
  return fields;
}

std::string_view TrimReply(std::string_view reply) {
  while (!reply.empty() && IsReplyBlank(reply.front())) reply.remove_prefix(1);
  while (!reply.empty() && IsReplyBlank(reply.back())) reply.remove_suffix(1);
  return reply;
}

std::string RemoveRecordEnds(std::string_view reply) {
  const std::string_view end(kRecordEnd);
  std::string result;
  result.reserve(reply.size());
  for (std::size_t pos = 0;;) {
    const std::size_t found = reply.find(end, pos);
    if (found == std::string_view::npos) {
      result.append(reply.substr(pos));
      return result;
    }
    result.append(reply.substr(pos, found - pos));
    pos = found + end.size();
  }
}

std::vector<std::string> NewsRecords(std::string_view trimmedReply) {
  std::vector<std::string> pieces;
  SplitByChar(kRecordMark, trimmedReply, pieces);
  std::vector<std::string> records;
  for (std::string& piece : pieces)
    if (!piece.empty() && piece != "OK") records.push_back(std::move(piece));
  return records;
}

std::string_view NewsErrorMessage(NewsRequest request, std::string_view trimmedReply) {
  if (trimmedReply.empty()) return kNewsSiteTroubleMessage;
  if (trimmedReply == "CONNECTIONFAIL") return kNewsSettingsTroubleMessage;
  if (trimmedReply == "INVALIDUSER") return kPublisherTroubleMessage;
  if (trimmedReply == "INVALIDPRODUCT") return kProductTroubleMessage;
  if (trimmedReply == "INVALIDNEWS" && request == NewsRequest::Details) return kNewsTroubleMessage;
  return {};
}

bool GetLastNews(const OnlineContext& online, const std::string& PublisherId,
                 const std::string& BranderCode, const std::string& ProductType,
                 const std::string& Target, std::vector<std::string>& NewsList) {
  const std::string reply =
      PostNewsRequest(online, NewsRequest::List, PublisherId, BranderCode, ProductType, Target);
  if (!IsSuccess(reply)) {
    ShowError(online, NewsRequest::List, reply);
    return false;
  }
  for (std::string& record : NewsRecords(reply)) NewsList.push_back(std::move(record));
  return true;
}

bool GetLastNewsCode(const OnlineContext& online, const std::string& PublisherId,
                     const std::string& BranderCode, const std::string& ProductType,
                     const std::string& Target, std::string& NewsId, std::string& Message,
                     bool Silent) {
  NewsId.clear();
  Message.clear();
  const std::string reply =
      PostNewsRequest(online, NewsRequest::LastCode, PublisherId, BranderCode, ProductType, Target);
  if (!IsSuccess(reply)) {
    if (!Silent) ShowError(online, NewsRequest::LastCode, reply);
    return false;
  }
  const std::string rest = RemoveRecordEnds(reply);
  if (rest == "OK") return true;
  std::vector<std::string> fields;
  SplitByChar('^', rest, fields);
  if (!fields.empty()) NewsId = fields[0];
  if (fields.size() > 1) Message = fields[1];
  return true;
}

bool GetNewsDetails(const OnlineContext& online, const std::string& PublisherId,
                    const std::string& BranderCode, const std::string& ProductType,
                    const std::string& Target, const std::string& NewsId, std::string& Details) {
  Details.clear();
  const std::string reply = PostNewsRequest(online, NewsRequest::Details, PublisherId, BranderCode,
                                            ProductType, Target, NewsId);
  if (!IsSuccess(reply)) {
    ShowError(online, NewsRequest::Details, reply);
    return false;
  }
  Details = DecodeHexEscapes(RemoveRecordEnds(reply));
  return true;
}

}  // namespace vellora
