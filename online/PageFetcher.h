// Downloading a web page to import it as an article: http and https only, with progress, Cancel,
// a time-out when no data arrives, a limit on redirects and on size, and errors that name the
// address and the cause. Separate from the program's shared client, whose requests wait without
// limit: a page the user asked for must fail visibly instead.
#pragma once

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdint>
#include <string>

#include "AddressArgument.h"
#include "ImportLimits.h"
#include "ReadOutcome.h"

namespace vellora {

struct FetchSettings {
  std::chrono::milliseconds IdleTimeout{30000};  // no data for this long ends the download
  int MaxRedirects = 10;
  std::uint64_t MaxBytes = kMaxPageBytes;
};

struct FetchedPage {
  std::string Address;       // as given
  std::string FinalAddress;  // after redirects
  std::string ContentType;   // the server's Content-Type, e.g. "text/html; charset=utf-8"
  std::string Bytes;
};

// The address the user typed as an http or https URL with a host; anything else (file:, ftp:, no
// scheme, no host) is refused with a message for the user that names the address.
ReadOutcome<QUrl> ParsePageAddress(const QString& text);

class PageFetcher : public QObject {
  Q_OBJECT

 public:
  explicit PageFetcher(FetchSettings settings = {}, QObject* parent = nullptr);
  ~PageFetcher() override;

  // Starts the download; Finished follows once, also for a refused address, a failure or Cancel.
  void Start(const QString& address);
  // Stops a running download, which then fails as cancelled.
  void Cancel();
  bool Running() const { return reply_ != nullptr; }

  // The page, or why there is none (a message naming the address); valid after Finished.
  const ReadOutcome<FetchedPage>& Outcome() const { return outcome_; }

 signals:
  // Bytes received so far and the expected total (-1 when the server did not say).
  void Progress(qint64 received, qint64 total);
  void Finished();

 private:
  void Conclude();
  void Fail(const std::string& cause);

  FetchSettings settings_;
  QNetworkAccessManager manager_;
  QPointer<QNetworkReply> reply_;
  QTimer idle_;
  QString address_;
  std::string bytes_;
  ReadOutcome<FetchedPage> outcome_ = ReadOutcome<FetchedPage>::Failure("no download yet");
  bool cancelled_ = false;
  bool timedOut_ = false;
  bool tooLarge_ = false;
};

// Downloads the page and waits for it, running an event loop (a QCoreApplication must exist).
ReadOutcome<FetchedPage> FetchPageNow(const QString& address, const FetchSettings& settings = {});

// A downloaded page as article text (a page's readable text, or plain text); the failure names
// the address.
ReadOutcome<std::u16string> ArticleFromDownload(const ReadOutcome<FetchedPage>& download);

}  // namespace vellora
