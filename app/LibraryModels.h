// The library window's tables: the documents of a library, and the documents an article was
// found to share passages with.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "Library.h"

namespace vellora {

// Title, words, added (local time), source; one row per document, in the library's order.
class LibraryDocumentModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetDocuments(std::vector<StoredDocument> documents);
  const std::vector<StoredDocument>& Documents() const { return documents_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<StoredDocument> documents_;
};

// Document, share of the article found in it, share of the document found in the article,
// longest passage in words, blocks; most shared words of the article first.
class LibraryCheckModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // pane is the article that was checked (1 or 2).
  void SetHits(int pane, std::vector<CheckHit> hits);
  const std::vector<CheckHit>& Hits() const { return hits_; }
  int CheckedPane() const { return pane_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  int pane_ = 0;
  std::vector<CheckHit> hits_;
};

// A share as the tables show it: "12.5%".
QString SharePercentText(const DuplicateShare& share);

}  // namespace vellora
