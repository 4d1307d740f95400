// The rows of the "Shared passages" list: one per block of the comparison shown, with its
// colour, its length in words in each article and its first words in Article 2. Rows are made
// when the view asks for them, so that tens of thousands of blocks cost nothing up front.
#pragma once

#include <QAbstractTableModel>

class QTableView;

namespace vellora {

class ComparedBlocks;

class PassageListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { ColumnBlock = 0, ColumnWords1, ColumnWords2, ColumnFirstWords, ColumnCount };

  // Shows blocks, which must outlive the model; call Reload after they change.
  explicit PassageListModel(const ComparedBlocks& blocks, QObject* parent = nullptr);

  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  const ComparedBlocks& blocks_;
};

// Shows the model in view as a list of rows of one fixed height, which is what keeps tens of
// thousands of rows quick to scroll: no row is measured.
void ShowPassagesIn(QTableView& view, PassageListModel& model);

}  // namespace vellora
