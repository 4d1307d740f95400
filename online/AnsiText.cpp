#include "AnsiText.h"

#include <QStringDecoder>

namespace vellora {

QString AnsiToQString(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder decoder("windows-1252");
  if (!decoder.isValid()) return QString::fromLatin1(view);
  return decoder.decode(view);
}

}  // namespace vellora
