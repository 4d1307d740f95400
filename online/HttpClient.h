// The one HTTP client the online services share (the main window's IdHTTP1): fixed Accept and
// User-Agent headers, redirects followed, cookies kept in memory for the run, no read time-out.
// Requests block their caller while a local event loop keeps the user interface handling events.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Multipart.h"

class QNetworkReply;
class QNetworkRequest;

namespace vellora {

struct HttpResult {
  bool Ok = false;
  int Status = 0;     // HTTP status of the final answer; 0 when none arrived
  std::string Error;  // for the user: the address and the cause; empty when Ok
};

class HttpClient : public QObject {
  Q_OBJECT

 public:
  static constexpr char kAccept[] = "text/html, */*";
  static constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)";
  static constexpr char kContentType[] = "text/html";
  static constexpr int kMaxRedirects = 15;
  static constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();

  // Receives the body as it arrives; returning false stops the transfer as a failure.
  using BodySink = std::function<bool(const char* data, std::int64_t size)>;

  explicit HttpClient(QObject* parent = nullptr);
  ~HttpClient() override;

  // GET url and hand the body of a successful (2xx after redirects) answer to sink. Fails on a
  // connection error, an error status, a refusal of the sink or a disconnect.
  HttpResult Get(const std::string& url, const BodySink& sink);

  // POST the fields as multipart/form-data, in order; the answer's body goes into body. An
  // answer longer than maxBodySize fails.
  HttpResult PostForm(const std::string& url, const std::vector<FormField>& fields,
                      std::string& body, std::uint64_t maxBodySize);

  // Ends every request at once (each fails) and closes the connections.
  void Disconnect();
  // Closes idle connections after a finished request; waiting requests are not touched.
  void CloseConnections();

  // The main window's closing flag: once it reads true, no download starts. The flag must
  // outlive the client (both belong to the main window).
  void SetClosingFlag(const bool* isClosing) { closing_ = isClosing; }
  bool IsClosing() const { return closing_ != nullptr && *closing_; }

  // True while a request is on the wire.
  bool Busy() const { return busy_; }

 signals:
  // A request has ended, so a request waiting for the client may start.
  void Released();
  // A request has been handed to the network.
  void RequestStarted();

 private:
  HttpResult Run(QNetworkRequest& request, const QByteArray* postBody, const BodySink& sink);

  QNetworkAccessManager manager_;
  QPointer<QNetworkReply> current_;
  bool busy_ = false;
  std::uint64_t disconnects_ = 0;
  const bool* closing_ = nullptr;
};

}  // namespace vellora
