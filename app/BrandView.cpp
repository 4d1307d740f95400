#include "BrandView.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPixmap>

#include "AnsiText.h"

namespace vellora {

namespace {

QString FileName(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::optional<int> ShowStill(const BannerChoice& banner, QLabel& stillView, QLabel& animatedView) {
  QImageReader reader(FileName(banner.File), QByteArray::fromStdString(banner.Format));
  QImage image = reader.read();
  if (image.isNull()) {
    // A picture whose name gives the wrong kind still shows when its content names its own.
    QImageReader byContent(FileName(banner.File));
    image = byContent.read();
  }
  if (image.isNull()) return std::nullopt;
  stillView.setPixmap(QPixmap::fromImage(image));
  stillView.resize(image.size());
  stillView.show();
  animatedView.hide();
  return image.height();
}

std::optional<int> ShowAnimated(const BannerChoice& banner, QLabel& stillView,
                                QLabel& animatedView) {
  auto* movie =
      new QMovie(FileName(banner.File), QByteArray::fromStdString(banner.Format), &animatedView);
  if (!movie->isValid() || !movie->jumpToFrame(0)) {
    delete movie;
    return std::nullopt;
  }
  const QSize size = movie->currentPixmap().size();
  if (size.isEmpty()) {
    delete movie;
    return std::nullopt;
  }
  // The banner repeats for as long as it shows, whatever loop count the file asks for.
  QObject::connect(movie, &QMovie::finished, movie, &QMovie::start);
  if (QMovie* old = animatedView.movie(); old != nullptr && old->parent() == &animatedView)
    old->deleteLater();
  animatedView.setMovie(movie);
  animatedView.resize(size);
  animatedView.show();
  stillView.hide();
  movie->start();
  return size.height();
}

}  // namespace

int CentredOffset(int panelSize, int bannerSize) {
  return panelSize / 2 - bannerSize / 2;
}

std::optional<int> ShowBanner(const BannerChoice& banner, QLabel& stillView, QLabel& animatedView) {
  return banner.Animated ? ShowAnimated(banner, stillView, animatedView)
                         : ShowStill(banner, stillView, animatedView);
}

QString LinkLabelText(const std::string& caption, const std::string& address) {
  if (caption.empty()) return {};
  return QStringLiteral("<a href=\"%1\">%2</a>")
      .arg(AnsiToQString(address).toHtmlEscaped(), AnsiToQString(caption).toHtmlEscaped());
}

}  // namespace vellora
