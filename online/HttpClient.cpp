#include "HttpClient.h"

#include <QEventLoop>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace vellora {
namespace {

QUrl ToUrl(const std::string& address) {
  return QUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())),
              QUrl::TolerantMode);
}

QNetworkRequest MakeRequest(const QUrl& url) {
  QNetworkRequest request(url);
  request.setRawHeader("Accept", HttpClient::kAccept);
  request.setRawHeader("User-Agent", HttpClient::kUserAgent);
  request.setRawHeader("Content-Type", HttpClient::kContentType);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(HttpClient::kMaxRedirects);
  request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setTransferTimeout(0);  // a request waits for data without limit
  return request;
}

HttpResult Failure(const std::string& address, const std::string& cause, int status = 0) {
  return {false, status, address + ": " + cause};
}

}  // namespace

HttpClient::HttpClient(QObject* parent) : QObject(parent) {
  manager_.setProxy(QNetworkProxy::NoProxy);
  manager_.setCookieJar(new QNetworkCookieJar(&manager_));  // memory only, for this run
  manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

HttpClient::~HttpClient() {
  Disconnect();
}

HttpResult HttpClient::Get(const std::string& url, const BodySink& sink) {
  const QUrl target = ToUrl(url);
  QNetworkRequest request = MakeRequest(target);
  return Run(request, nullptr, sink);
}

HttpResult HttpClient::PostForm(const std::string& url, const std::vector<FormField>& fields,
                                std::string& body, std::uint64_t maxBodySize) {
  body.clear();
  const std::string boundary = MakeBoundary(fields);
  const std::string form = BuildMultipartBody(fields, boundary);
  const QByteArray payload(form.data(), static_cast<qsizetype>(form.size()));
  QNetworkRequest request = MakeRequest(ToUrl(url));
  request.setRawHeader("Content-Type", QByteArray::fromStdString(MultipartContentType(boundary)));
  bool tooLarge = false;
  HttpResult result = Run(request, &payload, [&](const char* data, std::int64_t size) {
    if (static_cast<std::uint64_t>(size) > maxBodySize - body.size()) {
      tooLarge = true;
      return false;
    }
    body.append(data, static_cast<std::size_t>(size));
    return true;
  });
  if (tooLarge)
    result = Failure(url, "the answer is larger than " + std::to_string(maxBodySize) + " bytes",
                     result.Status);
  if (!result.Ok) body.clear();
  return result;
}

HttpResult HttpClient::Run(QNetworkRequest& request, const QByteArray* postBody,
                           const BodySink& sink) {
  const QUrl url = request.url();
  const std::string address = url.toString().toStdString();
  if (!url.isValid() || url.host().isEmpty() ||
      (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
    return Failure(address, "not an http address");

  // One request at a time: a request started while another waits (from an event handled during
  // the wait) queues behind it.
  const std::uint64_t generation = disconnects_;
  while (busy_) {
    QEventLoop queue;
    connect(this, &HttpClient::Released, &queue, &QEventLoop::quit);
    queue.exec();
    if (generation != disconnects_) return Failure(address, "disconnected");
  }
  if (generation != disconnects_) return Failure(address, "disconnected");

  busy_ = true;
  QNetworkReply* reply =
      postBody != nullptr ? manager_.post(request, *postBody) : manager_.get(request);
  current_ = reply;
  bool sinkRefused = false;
  bool finished = false;
  QEventLoop wait;
  const auto status = [reply] {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  };
  connect(reply, &QNetworkReply::readyRead, &wait, [&] {
    const QByteArray chunk = reply->readAll();
    // Bodies of redirects and error pages are not part of the result.
    if (sinkRefused || status() < 200 || status() >= 300) return;
    if (!sink(chunk.constData(), chunk.size())) {
      sinkRefused = true;
      reply->abort();
    }
  });
  connect(reply, &QNetworkReply::finished, &wait, [&] {
    finished = true;
    busy_ = false;
    current_ = nullptr;
    wait.quit();
    emit Released();
  });
  emit RequestStarted();
  if (!reply->isFinished() && !finished) wait.exec();
  if (!finished) {  // finished before the connections were made
    busy_ = false;
    current_ = nullptr;
    emit Released();
  }

  HttpResult result;
  result.Status = status();
  if (sinkRefused) {
    result = Failure(address, "the transfer was stopped", result.Status);
  } else if (generation != disconnects_) {
    result = Failure(address, "disconnected", result.Status);
  } else if (result.Status >= 400) {
    // The status says more than the network layer's text for it, which repeats the address.
    result = Failure(address, "HTTP status " + std::to_string(result.Status), result.Status);
  } else if (reply->error() != QNetworkReply::NoError) {
    result = Failure(address, reply->errorString().toStdString(), result.Status);
  } else if (result.Status < 200 || result.Status >= 300) {
    result = Failure(address, "HTTP status " + std::to_string(result.Status), result.Status);
  } else {
    result.Ok = true;
  }
  reply->disconnect();
  reply->deleteLater();
  return result;
}

void HttpClient::Disconnect() {
  ++disconnects_;
  if (current_) current_->abort();
  manager_.clearConnectionCache();
  emit Released();
}

void HttpClient::CloseConnections() {
  if (!busy_) manager_.clearConnectionCache();
}

}  // namespace vellora
