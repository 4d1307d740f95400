// Downloading an address into a file through the shared client, and the live update check:
// fetch the update description, compare its version with AppVersion, and hand over to the
// external updater with the user's consent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "HttpClient.h"

namespace vellora {

struct OnlineContext;

inline constexpr char kUpdatePath[] = "/liveupdate/vellora/";
inline constexpr char kUpdateInfoFileName[] = "mainappupdate.inf";
inline constexpr char kUpdaterFileName[] = "Updater.exe";

inline constexpr char kNewUpdateQuestionStart[] = "There is a new update: (version ";
inline constexpr char kNewUpdateQuestionEnd[] =
    ") available for your application!. Do you want download this update now?";
inline constexpr char kUpdaterMissingMessage[] =
    "The updater module is missing. Please reinstall again the current version!";
// The line break is LF then CR.
inline constexpr char kUpdateCloseQuestion[] =
    "To update your software the application will close to\n\rreplace some files. Do you want "
    "to update now?";
inline constexpr char kNoUpdatesMessage[] = "There's no new updates for this application!";

// The local file cannot be deleted or created: the download does not start.
class DownloadFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// GETs URL into FileName (replacing an older file); true when the whole body is in the file.
// Nothing starts while the client's closing flag is set. After a failure FileName does not
// exist. A body larger than maxBytes fails. Throws DownloadFileError when the old file cannot be
// deleted or the new one cannot be created.
bool DownloadFile(HttpClient& client, const std::string& URL, const std::filesystem::path& FileName,
                  std::uint64_t maxBytes = HttpClient::kUnlimited);

// A version text as a 32-bit number: optional sign, digits with at most one decimal point,
// optional exponent; anything else (empty included) is 0.
float VersionNumber(std::string_view text);
// True when the server's version text is strictly greater than AppVersion as 32-bit numbers.
bool IsNewerVersion(std::string_view serverVersion);

// The update check of the Check Updates button (Silent false) and of the start-up (Silent
// true). Silent suppresses only "There's no new updates for this application!".
void CheckForUpdate(const OnlineContext& online, bool Silent);

}  // namespace vellora
