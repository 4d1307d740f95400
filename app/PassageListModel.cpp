#include "PassageListModel.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QTableView>

#include "ArticlePane.h"
#include "ComparedBlocks.h"

namespace vellora {

PassageListModel::PassageListModel(const ComparedBlocks& blocks, QObject* parent)
    : QAbstractTableModel(parent), blocks_(blocks) {}

void PassageListModel::Reload() {
  beginResetModel();
  endResetModel();
}

int PassageListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : blocks_.Count();
}

int PassageListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant PassageListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= blocks_.Count()) return {};
  const MatchBlock& block = blocks_.Block(index.row());
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case ColumnBlock:
          return index.row() + 1;
        case ColumnWords1:
          return block.Words1;
        case ColumnWords2:
          return block.Words2;
        case ColumnFirstWords:
          return QString::fromStdU16String(blocks_.FirstWords(index.row()));
        default:
          return {};
      }
    case Qt::BackgroundRole:
      // The block's own highlight colour, with the black the panes write on it.
      if (index.column() == ColumnBlock) return QBrush(ColorFromBgr(block.Color));
      return {};
    case Qt::ForegroundRole:
      if (index.column() == ColumnBlock) return QBrush(QColor(Qt::black));
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == ColumnFirstWords)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      return QStringLiteral("Block %1: %2 word(s) in Article 1, %3 word(s) in Article 2")
          .arg(index.row() + 1)
          .arg(block.Words1)
          .arg(block.Words2);
    default:
      return {};
  }
}

QVariant PassageListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case ColumnBlock:
      return QStringLiteral("Block");
    case ColumnWords1:
      return QStringLiteral("Article 1 words");
    case ColumnWords2:
      return QStringLiteral("Article 2 words");
    case ColumnFirstWords:
      return QStringLiteral("First words in Article 2");
    default:
      return {};
  }
}

}  // namespace vellora

namespace vellora {

void ShowPassagesIn(QTableView& view, PassageListModel& model) {
  view.setModel(&model);
  QHeaderView& rows = *view.verticalHeader();
  rows.hide();
  rows.setSectionResizeMode(QHeaderView::Fixed);
  rows.setDefaultSectionSize(view.fontMetrics().height() + 4);
  QHeaderView& columns = *view.horizontalHeader();
  columns.setSectionResizeMode(QHeaderView::Interactive);
  columns.setStretchLastSection(true);
  columns.setHighlightSections(false);
  const int digits = view.fontMetrics().horizontalAdvance(QStringLiteral("000000"));
  columns.resizeSection(PassageListModel::ColumnBlock, digits);
  for (const int column : {PassageListModel::ColumnWords1, PassageListModel::ColumnWords2}) {
    columns.resizeSection(
        column, view.fontMetrics().horizontalAdvance(
                    model.headerData(column, Qt::Horizontal).toString() + QStringLiteral("0000")));
  }
}

}  // namespace vellora
