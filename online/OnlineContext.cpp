#include "OnlineContext.h"

#include "HttpClient.h"
#include "Prompter.h"
#include "UUtils.h"

namespace vellora {

Prompter& PrompterOf(const OnlineContext& online) {
  return online.prompter != nullptr ? *online.prompter : DefaultPrompter();
}

bool OnlineClosing(const OnlineContext& online) {
  return online.client != nullptr && online.client->IsClosing();
}

bool OpenAddress(const OnlineContext& online, const std::string& address) {
  return online.openURL ? online.openURL(address) : OpenURLInBrowser(address);
}

}  // namespace vellora
