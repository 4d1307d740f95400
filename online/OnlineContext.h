// What every online operation works with: the main window's shared HTTP client, the program
// folder, the brand settings, the message boxes and the few actions it asks of the main window.
// The main window fills one of these once and passes it to every call.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "BrandSettings.h"

namespace vellora {

class HttpClient;
class Prompter;

// UpdateBaseURL as built: the configured update server followed by "/liveupdate/vellora/".
std::string DefaultUpdateBaseURL();

struct OnlineContext {
  HttpClient* client = nullptr;                       // IdHTTP1 of the main window
  std::filesystem::path programDir;                   // folder that holds the program file
  const BrandSettingsRecord* brand = &BrandSettings;  // news levels, brander code
  Prompter* prompter = nullptr;                       // nullptr: real message boxes
  std::string updateBaseURL = DefaultUpdateBaseURL();
  std::function<void()> closeMainWindow;            // the update hands over and closes
  std::function<bool(const std::string&)> openURL;  // nullptr: OpenURLInBrowser
};

Prompter& PrompterOf(const OnlineContext& online);
// True once the main window has started to close: no new transfer starts and no message about
// a transfer ended by the closing is shown.
bool OnlineClosing(const OnlineContext& online);
bool OpenAddress(const OnlineContext& online, const std::string& address);

}  // namespace vellora
