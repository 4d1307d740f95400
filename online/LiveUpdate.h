// Downloading an address into a file through the shared client, and the live update check:
// fetch the update description, compare its version with AppVersion, and hand over to the
// external updater with the user's consent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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
inline constexpr char kNoUpdatesMessage[] = "There are no new updates for this application!";
// Followed by the cause, which names the address or file concerned.
inline constexpr char kUpdateCheckFailedStart[] = "The check for updates failed: ";

// The local file cannot be deleted or created: the download does not start.
class DownloadFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The outcome of a download: Ok, or the cause for the user, naming the address or the file.
struct DownloadOutcome {
  bool Ok = false;
  std::string Error;
};

// GETs URL into FileName (replacing an older file); Ok when the whole body is in the file.
// Nothing starts while the client's closing flag is set. After a failure FileName does not
// exist. A body larger than maxBytes fails. Throws DownloadFileError when the old file cannot be
// deleted or the new one cannot be created.
DownloadOutcome DownloadFileWithCause(HttpClient& client, const std::string& URL,
                                      const std::filesystem::path& FileName,
                                      std::uint64_t maxBytes = HttpClient::kUnlimited);
// The same, true when the download succeeded.
bool DownloadFile(HttpClient& client, const std::string& URL, const std::filesystem::path& FileName,
                  std::uint64_t maxBytes = HttpClient::kUnlimited);

// A version text as a 32-bit number: optional sign, digits with at most one decimal point,
// optional exponent; anything else (empty included) is no number.
std::optional<float> ParseVersionNumber(std::string_view text);
// The same with 0 for a text that is no number.
float VersionNumber(std::string_view text);
// True when the server's version text is strictly greater than AppVersion as 32-bit numbers.
bool IsNewerVersion(std::string_view serverVersion);

// The update check of the Check Updates button (Silent false) and of the start-up (Silent
// true). A manual check that cannot learn the server's version (failed download, description
// that cannot be read or names no version) says so with the cause; Silent suppresses that and
// "There are no new updates for this application!".
void CheckForUpdate(const OnlineContext& online, bool Silent);

}  // namespace vellora
