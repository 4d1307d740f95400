#include "FImportAddress.h"

#include <QLocale>
#include <QPushButton>

#include "ui_FImportAddress.h"

TfrmImportAddress::TfrmImportAddress(QWidget* parent, const vellora::FetchSettings& settings)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmImportAddress>()), fetcher_(settings) {
  ui->setupUi(this);
  ui->prgDownload->setVisible(false);
  connect(ui->btnFetch, &QPushButton::clicked, this, &TfrmImportAddress::btnFetchClick);
  connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmImportAddress::reject);
  connect(&fetcher_, &vellora::PageFetcher::Progress, this, &TfrmImportAddress::ShowProgress);
  connect(&fetcher_, &vellora::PageFetcher::Finished, this, &TfrmImportAddress::FetchFinished);
}

TfrmImportAddress::~TfrmImportAddress() = default;

void TfrmImportAddress::btnFetchClick() {
  if (fetcher_.Running()) return;
  const auto address = vellora::ParsePageAddress(ui->edtAddress->text());
  if (!address.Ok()) {
    ui->lblStatus->setText(QString::fromStdString(address.Cause));
    return;
  }
  ui->lblStatus->setText(tr("Connecting..."));
  ui->prgDownload->setRange(0, 0);
  SetBusy(true);
  fetcher_.Start(ui->edtAddress->text());
}

void TfrmImportAddress::reject() {
  closing_ = true;
  fetcher_.Cancel();
  QDialog::reject();
}

void TfrmImportAddress::SetBusy(bool busy) {
  ui->prgDownload->setVisible(busy);
  ui->edtAddress->setEnabled(!busy);
  ui->btnFetch->setEnabled(!busy);
}

void TfrmImportAddress::ShowProgress(qint64 received, qint64 total) {
  const QString got = QLocale().formattedDataSize(received);
  if (total > 0) {
    // The bar counts kibibytes, so that pages past 2 GiB of int range cannot overflow it.
    ui->prgDownload->setRange(0, static_cast<int>(total / 1024) + 1);
    ui->prgDownload->setValue(static_cast<int>(received / 1024));
  } else {
    ui->prgDownload->setRange(0, 0);  // busy: the size is not known
  }
  ui->lblStatus->setText(tr("Downloading... %1 received").arg(got));
}

void TfrmImportAddress::FetchFinished() {
  SetBusy(false);
  if (closing_) return;
  auto text = vellora::ArticleFromDownload(fetcher_.Outcome());
  if (!text.Ok()) {
    ui->lblStatus->setText(QString::fromStdString(text.Cause));
    ui->edtAddress->setFocus();
    return;
  }
  articleText_ = std::move(text.Value);
  ui->lblStatus->clear();
  accept();
}
