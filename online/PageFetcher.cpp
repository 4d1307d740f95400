#include "PageFetcher.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "FileBytes.h"
#include "WebPage.h"

namespace vellora {
namespace {

std::string Quoted(const QString& address) {
  return "\"" + address.toStdString() + "\"";
}

std::string CannotImport(const QString& address, const std::string& cause) {
  return "Cannot import " + Quoted(address) + ": " + cause + ".";
}

std::string DescribeSeconds(std::chrono::milliseconds duration) {
  const auto ms = duration.count();
  if (ms % 1000 == 0) {
    const auto s = ms / 1000;
    return std::to_string(s) + (s == 1 ? " second" : " seconds");
  }
  return std::to_string(ms) + " ms";
}

std::string DescribeNetworkError(QNetworkReply& reply, const FetchSettings& settings) {
  switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
      return "the server's name could not be found (DNS lookup failed)";
    case QNetworkReply::ConnectionRefusedError:
      return "the server refused the connection";
    case QNetworkReply::RemoteHostClosedError:
      return "the server closed the connection before the page arrived";
    case QNetworkReply::TimeoutError:
      return "the connection timed out";
    case QNetworkReply::SslHandshakeFailedError:
      return "the secure connection (TLS) failed: " + reply.errorString().toStdString();
    case QNetworkReply::TooManyRedirectsError:
      return "the address redirects more than " + std::to_string(settings.MaxRedirects) +
             " times (a redirect loop?)";
    case QNetworkReply::InsecureRedirectError:
      return "a redirect leads from https to an insecure address";
    case QNetworkReply::ProtocolUnknownError:
      return "a redirect leads to an address that is not http or https";
    default:
      return reply.errorString().toStdString();
  }
}

}  // namespace

ReadOutcome<QUrl> ParsePageAddress(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return ReadOutcome<QUrl>::Failure("Type the address of a web page.");
  const QUrl url(trimmed, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
    return ReadOutcome<QUrl>::Failure(
        CannotImport(trimmed, "only http:// and https:// addresses can be imported"));
  }
  if (!url.isValid() || url.host().isEmpty())
    return ReadOutcome<QUrl>::Failure(CannotImport(trimmed, "it is not a valid web address"));
  return ReadOutcome<QUrl>::Success(url);
}

PageFetcher::PageFetcher(FetchSettings settings, QObject* parent)
    : QObject(parent), settings_(settings) {
  manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, [this] {
    if (!reply_) return;
    timedOut_ = true;
    reply_->abort();
  });
}

PageFetcher::~PageFetcher() {
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
    reply_->deleteLater();
  }
}

void PageFetcher::Start(const QString& address) {
  if (Running()) Cancel();
  address_ = address.trimmed();
  bytes_.clear();
  cancelled_ = timedOut_ = tooLarge_ = false;
  const ReadOutcome<QUrl> url = ParsePageAddress(address_);
  if (!url.Ok()) {
    outcome_ = ReadOutcome<FetchedPage>::Failure(url.Cause);
    // Announced from the event loop, as every other end, so that callers connect first.
    QTimer::singleShot(0, this, &PageFetcher::Finished);
    return;
  }
  QNetworkRequest request(url.Value);
  request.setRawHeader("Accept", "text/html,application/xhtml+xml,text/plain;q=0.9,*/*;q=0.5");
  request.setRawHeader("User-Agent", "Mozilla/5.0 (X11; Linux x86_64) Vellora/2.0");
  request.setMaximumRedirectsAllowed(settings_.MaxRedirects);
  request.setTransferTimeout(0);  // the idle timer below decides
  reply_ = manager_.get(request);
  const auto restart = [this] { idle_.start(settings_.IdleTimeout); };
  restart();
  connect(reply_, &QNetworkReply::metaDataChanged, this, [this, restart] {
    restart();
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status < 300 && length.isValid() &&
        length.toULongLong() > settings_.MaxBytes) {
      tooLarge_ = true;
      reply_->abort();
    }
  });
  connect(reply_, &QNetworkReply::redirected, this, restart);
  connect(reply_, &QNetworkReply::readyRead, this, [this, restart] {
    restart();
    const QByteArray chunk = reply_->readAll();
    // The body of an error answer is not the page and does not count against the limit.
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300) return;
    if (static_cast<std::uint64_t>(chunk.size()) > settings_.MaxBytes - bytes_.size()) {
      tooLarge_ = true;
      reply_->abort();
      return;
    }
    bytes_.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    emit Progress(static_cast<qint64>(bytes_.size()), length.isValid() ? length.toLongLong() : -1);
  });
  connect(reply_, &QNetworkReply::finished, this, &PageFetcher::Conclude);
}

void PageFetcher::Cancel() {
  if (!reply_) return;
  cancelled_ = true;
  reply_->abort();
}

void PageFetcher::Fail(const std::string& cause) {
  outcome_ = ReadOutcome<FetchedPage>::Failure(CannotImport(address_, cause));
  bytes_.clear();
}

void PageFetcher::Conclude() {
  idle_.stop();
  QNetworkReply* reply = reply_;
  reply_ = nullptr;
  if (reply == nullptr) return;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (cancelled_) {
    Fail("the download was cancelled");
  } else if (timedOut_) {
    Fail("no data arrived for " + DescribeSeconds(settings_.IdleTimeout));
  } else if (tooLarge_) {
    Fail("the page is larger than the " + DescribeByteCount(settings_.MaxBytes) +
         " that can be imported");
  } else if (reply->error() == QNetworkReply::TooManyRedirectsError ||
             reply->error() == QNetworkReply::InsecureRedirectError ||
             reply->error() == QNetworkReply::ProtocolUnknownError) {
    Fail(DescribeNetworkError(*reply, settings_));
  } else if (status >= 300) {
    const QString reason =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    Fail("the server answered HTTP " + std::to_string(status) +
         (reason.isEmpty() ? std::string() : " " + reason.toStdString()));
  } else if (reply->error() != QNetworkReply::NoError) {
    Fail(DescribeNetworkError(*reply, settings_));
  } else {
    FetchedPage page;
    page.Address = address_.toStdString();
    page.FinalAddress = reply->url().toString().toStdString();
    page.ContentType = reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
    page.Bytes = std::move(bytes_);
    outcome_ = ReadOutcome<FetchedPage>::Success(std::move(page));
  }
  bytes_.clear();
  reply->disconnect(this);
  reply->deleteLater();
  emit Finished();
}

ReadOutcome<FetchedPage> FetchPageNow(const QString& address, const FetchSettings& settings) {
  PageFetcher fetcher(settings);
  QEventLoop loop;
  QObject::connect(&fetcher, &PageFetcher::Finished, &loop, &QEventLoop::quit);
  fetcher.Start(address);
  loop.exec();
  return fetcher.Outcome();
}

ReadOutcome<std::u16string> ArticleFromDownload(const ReadOutcome<FetchedPage>& download) {
  if (!download.Ok()) return ReadOutcome<std::u16string>::Failure(download.Cause);
  const FetchedPage& page = download.Value;
  ReadOutcome<std::u16string> text = ReadDownloadedArticle(page.Bytes, page.ContentType);
  if (!text.Ok())
    return ReadOutcome<std::u16string>::Failure(
        CannotImport(QString::fromStdString(page.Address), text.Cause));
  return text;
}

}  // namespace vellora
