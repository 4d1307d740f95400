// The news window: the brand's news list in lvwItems, the details of the selected item as an
// HTML page in prfEditorNews, and the last news id recorded for each item read.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "OnlineContext.h"

class QTreeWidget;
class QTextBrowser;
class QPushButton;

namespace Ui {
class TfrmNews;
}

class TfrmNews : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPublishedColumnWidth = 160;
  static constexpr int kListPanelHeight = 105;

  // newsList holds the unsplit records of the last list request and must outlive the window.
  TfrmNews(const vellora::OnlineContext& online, const std::vector<std::string>& newsList,
           QWidget* parent = nullptr);
  ~TfrmNews() override;

  // True while a details request runs; the selection cannot change meanwhile.
  bool Loading = false;

  QTreeWidget* lvwItems = nullptr;
  QTextBrowser* prfEditorNews = nullptr;
  QPushButton* btnExit = nullptr;

  // The news id of a list row (the item's hidden second sub-item).
  static std::string ItemNewsId(const class QTreeWidgetItem& item);

 public slots:
  void FormShow();
  void lvwItemsChange();
  void lvwItemsChanging(bool& Allow);
  void btnExitClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmNews> ui;
  vellora::OnlineContext online_;
  const std::vector<std::string>& newsList_;
};
