// The "Import from address" window: a field for the address of a web page, the download's
// progress with Cancel, and the error (naming the address and the cause) when it fails. On
// success it holds the page's readable text for the pane; the pane itself is not touched here.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "PageFetcher.h"

namespace Ui {
class TfrmImportAddress;
}

class TfrmImportAddress : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmImportAddress(QWidget* parent = nullptr,
                             const vellora::FetchSettings& settings = {});
  ~TfrmImportAddress() override;

  // The article read from the page; set once the window has been accepted.
  const std::u16string& ArticleText() const { return articleText_; }
  bool Downloading() const { return fetcher_.Running(); }

 public slots:
  void btnFetchClick();
  void reject() override;  // Cancel, Escape and closing: a running download is stopped first

 private:
  void FetchFinished();
  void ShowProgress(qint64 received, qint64 total);
  void SetBusy(bool busy);

  std::unique_ptr<Ui::TfrmImportAddress> ui;
  vellora::PageFetcher fetcher_;
  std::u16string articleText_;
  bool closing_ = false;
};
