#include "FAbout.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>
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

// The text area's height in the form, and the most it grows to before its scroll bar takes over.
constexpr int kDesignTextHeight = 71;
constexpr int kMaxTextHeight = 340;

// The height that shows as many whole lines of the area's text as fit in maxHeight, laid out as
// the area lays it out: each paragraph wrapped at the area's width, lines stacked from the top
// margin with their leading; a text that fits whole gets the margin below it too.
int WholeLinesHeight(const QPlainTextEdit& area, int maxHeight) {
  const qreal margin = area.document()->documentMargin();
  const qreal width = area.width() - 2 * area.frameWidth() - 2 * margin;
  const QStringList paragraphs = area.toPlainText().split(QLatin1Char('\n'));
  qreal y = margin;
  for (const QString& paragraph : paragraphs) {
    QTextLayout layout(paragraph, area.font());
    layout.setTextOption(area.document()->defaultTextOption());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLeadingIncluded(true);
      line.setLineWidth(width);
      qreal height = line.height();
      if (line.leading() < 0) height += std::ceil(line.leading());
      // A text that does not fit ends at a line's lower edge: below it the next line would
      // show in part.
      if (y + height > maxHeight) {
        layout.endLayout();
        return static_cast<int>(std::floor(y));
      }
      y += height;
    }
    layout.endLayout();
  }
  // The area has nothing to scroll only with the lower margin and one pixel below its text.
  const int whole = static_cast<int>(std::ceil(y + margin)) + 1;
  return whole <= maxHeight ? whole : static_cast<int>(std::floor(y));
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : TfrmAbout(vellora::BrandSettings, parent) {}

TfrmAbout::TfrmAbout(const vellora::BrandSettingsRecord& settings, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>()) {
  ui->setupUi(this);
  // A fixed dialog frame with a title but no title bar buttons: "Ok" is the way out.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kDesignWidth, kDesignHeight);
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

void TfrmAbout::FitTextArea() {
  // The skin decides the area's font, so the text is measured once the box is polished.
  ensurePolished();
  ui->memAbout->ensurePolished();
  const int height = std::max(kDesignTextHeight, WholeLinesHeight(*ui->memAbout, kMaxTextHeight));
  const int grow = height - kDesignTextHeight;
  if (grow == 0) return;
  ui->bsSkinPanel1->resize(ui->bsSkinPanel1->width(), height);
  ui->memAbout->resize(ui->memAbout->width(), height);
  ui->bsSkinScrollBar1->resize(ui->bsSkinScrollBar1->width(), height);
  ui->editAbout->move(ui->editAbout->x(), ui->editAbout->y() + grow);
  setFixedSize(width(), height + (kDesignHeight - kDesignTextHeight));
}

void TfrmAbout::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    FitTextArea();
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
