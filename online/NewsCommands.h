// The main window's news and start-up commands as plain functions: the News button, the
// one-shot start-up check (new message, then the silent update check) and the message balloon.
// TfrmMain's handlers only call these.
#pragma once

#include <QPoint>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "OnlineContext.h"

class QWidget;

namespace vellora {

class MessageBalloon;

inline constexpr char kNoNewsMessage[] = "There's no news for this application!";
inline constexpr char kNewMessageTitle[] = "You've Got A Message!";

// A news id as a signed 32-bit number: optional sign and decimal digits; anything else
// (empty, blanks, out of range) is 0.
std::int32_t NewsIdValue(std::string_view text);

// btnNewsClick: clears NewsList, fetches the list for the active news level and shows the
// modal news window over parent; otherwise tells the user there is no news.
void ShowNewsWindow(QWidget* parent, const OnlineContext& online,
                    std::vector<std::string>& NewsList);

// Timer1Timer after the timer has been stopped: the silent new-message check, which calls
// showNewsMessage with "You've Got A Message!", CR LF and the message when the service's newest
// id is greater than the last one read, then the silent update check.
void RunStartupChecks(const OnlineContext& online,
                      const std::function<void(const std::string& Text)>& showNewsMessage);

// The screen point the balloon points at: the centre of the News button.
QPoint NewsButtonAnchor(const QWidget& newsButton);

// ShowNewsMessage: shows Text (8-bit) in the balloon pointing at the News button.
void ShowNewsMessage(MessageBalloon& balloon, const QWidget& newsButton, std::string_view Text);

}  // namespace vellora
