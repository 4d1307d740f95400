#include "NewsCommands.h"

#include <QPoint>
#include <QWidget>
#include <charconv>

#include "AnsiText.h"
#include "FNews.h"
#include "LiveUpdate.h"
#include "MessageBalloon.h"
#include "NewsService.h"
#include "Prompter.h"

namespace vellora {

std::int32_t NewsIdValue(std::string_view text) {
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-')) return 0;
  }
  std::int32_t value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

void ShowNewsWindow(QWidget* parent, const OnlineContext& online,
                    std::vector<std::string>& NewsList) {
  NewsList.clear();
  bool received = false;
  if (const auto level = ActiveNewsLevel(*online.brand))
    received = GetLastNews(online, level->PublisherId, online.brand->BranderCode,
                           level->ProductType, kNewsTarget, NewsList);
  if (received && !NewsList.empty()) {
    TfrmNews news(online, NewsList, parent);
    news.exec();
    return;
  }
  if (!OnlineClosing(online)) PrompterOf(online).Information(kNoNewsMessage);
}

void RunStartupChecks(const OnlineContext& online,
                      const std::function<void(const std::string& Text)>& showNewsMessage) {
  if (const auto level = ActiveNewsLevel(*online.brand)) {
    std::string newsId;
    std::string message;
    if (GetLastNewsCode(online, level->PublisherId, online.brand->BranderCode, level->ProductType,
                        kNewsTarget, newsId, message, true)) {
      const std::int32_t lastRead = NewsIdValue(ReadLastNewsId(online.programDir));
      if (NewsIdValue(newsId) > lastRead && showNewsMessage)
        showNewsMessage(std::string(kNewMessageTitle) + "\r\n" + message);
    }
  }
  CheckForUpdate(online, true);
}

QPoint NewsButtonAnchor(const QWidget& newsButton) {
  return newsButton.mapToGlobal(QPoint(newsButton.width() / 2, newsButton.height() / 2));
}

void ShowNewsMessage(MessageBalloon& balloon, const QWidget& newsButton, std::string_view Text) {
  balloon.ShowAt(NewsButtonAnchor(newsButton), AnsiToQString(Text));
}

}  // namespace vellora
