#include "DefaultLibrary.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace vellora {

std::filesystem::path DefaultLibraryFile() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return std::filesystem::path(QFile::encodeName(folder).toStdString()) / "library.sqlite";
}

}  // namespace vellora
