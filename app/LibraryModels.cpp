#include "LibraryModels.h"

#include <QDateTime>
#include <QLocale>

namespace vellora {

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QString SharePercentText(const DuplicateShare& share) {
  return QString::number(share.Percent, 'f', 1) + QLatin1Char('%');
}

void LibraryDocumentModel::SetDocuments(std::vector<StoredDocument> documents) {
  beginResetModel();
  documents_ = std::move(documents);
  endResetModel();
}

int LibraryDocumentModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(documents_.size());
}

int LibraryDocumentModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QVariant LibraryDocumentModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const StoredDocument& doc = documents_[static_cast<std::size_t>(index.row())];
  if (role == Qt::TextAlignmentRole && index.column() == 1) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == Qt::ToolTipRole && index.column() == 3) return Utf8(doc.Source);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return Utf8(doc.Title);
    case 1:
      return QVariant::fromValue<qlonglong>(doc.Words);
    case 2:
      return QDateTime::fromMSecsSinceEpoch(doc.AddedMs)
          .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    case 3:
      return Utf8(doc.Source);
  }
  return {};
}

QVariant LibraryDocumentModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const titles[] = {"Title", "Words", "Added", "Source"};
  return section >= 0 && section < 4 ? QString::fromLatin1(titles[section]) : QVariant();
}

void LibraryCheckModel::SetHits(int pane, std::vector<CheckHit> hits) {
  beginResetModel();
  pane_ = pane;
  hits_ = std::move(hits);
  endResetModel();
}

int LibraryCheckModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

int LibraryCheckModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 5;
}

QVariant LibraryCheckModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const CheckHit& hit = hits_[static_cast<std::size_t>(index.row())];
  if (role == Qt::TextAlignmentRole && index.column() > 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == Qt::ToolTipRole && index.column() == 0) return Utf8(hit.Document.Source);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return Utf8(hit.Document.Title);
    case 1:
      return SharePercentText(hit.ArticleShare);
    case 2:
      return SharePercentText(hit.DocumentShare);
    case 3:
      return hit.LongestPassage;
    case 4:
      return hit.Blocks;
  }
  return {};
}

QVariant LibraryCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  const QString article =
      pane_ == 0 ? QStringLiteral("the article") : QStringLiteral("Article %1").arg(pane_);
  if (role == Qt::ToolTipRole) {
    switch (section) {
      case 1:
        return QStringLiteral("The share of %1 found in the document").arg(article);
      case 2:
        return QStringLiteral("The share of the document found in %1").arg(article);
      case 3:
        return QStringLiteral("The longest shared passage, in words");
      case 4:
        return QStringLiteral("The number of shared passages");
    }
    return {};
  }
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case 0:
      return QStringLiteral("Document");
    case 1:
      return pane_ == 0 ? QStringLiteral("Share of article")
                        : QStringLiteral("Share of Article %1").arg(pane_);
    case 2:
      return QStringLiteral("Share of document");
    case 3:
      return QStringLiteral("Longest passage");
    case 4:
      return QStringLiteral("Blocks");
  }
  return {};
}

}  // namespace vellora
