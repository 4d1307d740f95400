#include "FAbout.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <string>

#include "AppVersion.h"
#include "BrandText.h"
#include "UPlainText.h"
#include "ui_FAbout.h"

namespace {

QString FromAnsi(std::string_view bytes) {
  const std::u16string text = vellora::DecodeWindows1252(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The separate scroll bar beside a text area drives the area's own (hidden) vertical scroll bar
// and follows it, so wheel, caret and bar all scroll the same text.
void LinkScrollBar(QPlainTextEdit* area, QScrollBar* bar) {
  QScrollBar* own = area->verticalScrollBar();
  auto follow = [own, bar] {
    bar->setRange(own->minimum(), own->maximum());
    bar->setPageStep(own->pageStep());
    bar->setSingleStep(own->singleStep());
    bar->setValue(own->value());
  };
  QObject::connect(own, &QScrollBar::rangeChanged, bar, follow);
  // The text area sets its page step right after its range; pick that up once it has done so.
  QObject::connect(own, &QScrollBar::rangeChanged, bar, follow, Qt::QueuedConnection);
  QObject::connect(own, &QScrollBar::valueChanged, bar, &QScrollBar::setValue);
  QObject::connect(bar, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
  // Moving the caret scrolls the text with the own bar's signals blocked; the repaint request
  // that follows every scroll still tells.
  QObject::connect(area, &QPlainTextEdit::updateRequest, bar, [own, bar](const QRect&, int dy) {
    if (dy != 0) bar->setValue(own->value());
  });
  follow();
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : TfrmAbout(vellora::BrandSettings, parent) {}

TfrmAbout::TfrmAbout(const vellora::BrandSettingsRecord& settings, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>()) {
  ui->setupUi(this);
  // A fixed dialog frame with a title but no title bar buttons: "Ok" is the way out.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(368, 211);
  LinkScrollBar(ui->memAbout, ui->bsSkinScrollBar1);
  connect(ui->editAbout, &QPushButton::clicked, this, &TfrmAbout::editAboutClick);
  FormCreate(settings);
  ui->editAbout->setFocus();
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormCreate(const vellora::BrandSettingsRecord& settings) {
  setWindowTitle(vellora::AboutCaption(settings));
  ui->lblProductName->setText(FromAnsi(settings.ApplicationName));
  ui->lblProductVersion->setText(vellora::ProductVersionLine());
  ui->lblCopyright1->setText(vellora::CopyrightLine(settings));
  ui->memAbout->setPlainText(vellora::AboutTextForDisplay(settings.AboutText));
}

void TfrmAbout::editAboutClick() {
  accept();
}

void TfrmAbout::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                      screen->availableGeometry()));
    }
  }
  QDialog::showEvent(event);
}

namespace vellora {

QString AboutCaption(const BrandSettingsRecord& settings) {
  return QStringLiteral("About ") + FromAnsi(settings.ApplicationName) + QStringLiteral("...");
}

QString ProductVersionLine() {
  return QStringLiteral("Product Version: ") + QString::fromLatin1(AppVersion);
}

QString CopyrightLine(const BrandSettingsRecord& settings) {
  return QStringLiteral("Copyright (c) ") + FromAnsi(settings.CopyrightYears) + QLatin1Char(' ') +
         FromAnsi(settings.CopyrightCompany);
}

QString AboutTextForDisplay(std::string_view aboutText) {
  QStringList lines;
  for (const std::string& line : SplitSettingsLines(aboutText)) lines << FromAnsi(line);
  return lines.join(QLatin1Char('\n'));
}

void ShowAboutBox(QWidget* parent) {
  // Held by a guard: should the parent go away while the box is open, it takes the box with it.
  QPointer<TfrmAbout> box = new TfrmAbout(parent);
  box->exec();
  delete box;
}

}  // namespace vellora
