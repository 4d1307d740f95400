#include "FMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

#include "AddressOpening.h"
#include "Anchors.h"
#include "AnsiText.h"
#include "AppVersion.h"
#include "ArticlePane.h"
#include "BrandView.h"
#include "ClickWatcher.h"
#include "CtrlClickWatcher.h"
#include "DefaultLibrary.h"
#include "DocumentImport.h"
#include "ErrorReport.h"
#include "FAbout.h"
#include "FImportAddress.h"
#include "FLibrary.h"
#include "LabelFit.h"
#include "LiveUpdate.h"
#include "MatchChoice.h"
#include "MessageBalloon.h"
#include "NewsCommands.h"
#include "NumericField.h"
#include "PaneHighlight.h"
#include "PassageListModel.h"
#include "ReportCommands.h"
#include "Skin.h"
#include "UCompare.h"
#include "UKeyword.h"
#include "USegment.h"
#include "ui_FMain.h"

bool Comparing = false;

namespace {

// Keyword highlights are drawn in batches between which pending events run, so that the pane
// shows them as they come without paying for a repaint per occurrence.
constexpr qint64 kEventIntervalMs = 50;

// The open dialog's size on first use: wide enough for its side bar and a column of names.
constexpr int kOpenDialogWidth = 760;
constexpr int kOpenDialogHeight = 480;
constexpr int kOpenDialogSideBarWidth = 170;

class ComparingScope {
 public:
  ComparingScope() { Comparing = true; }
  ~ComparingScope() { Comparing = false; }
  ComparingScope(const ComparingScope&) = delete;
  ComparingScope& operator=(const ComparingScope&) = delete;
};

std::int32_t ToCount(double value) {
  if (!std::isfinite(value)) return 0;
  const double whole = std::trunc(value);
  return static_cast<std::int32_t>(
      std::clamp(whole, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                 static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

void ApplyImportedFormat(QTextCharFormat& format, const vellora::FormattedRun& run) {
  format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(run.Italic);
  format.setFontUnderline(run.Underline);
  if (run.Color) {
    const std::uint32_t rgb = *run.Color;
    format.setForeground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  }
  if (run.PointSize > 0.0) format.setFontPointSize(run.PointSize);
}

std::filesystem::path ApplicationFolder() {
  return std::filesystem::path(
      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

// What the duplicate field's value means, shown as its tool tip.
QString DuplicateStatus(int article, std::int32_t marked, std::int32_t total,
                        std::int32_t minLength, const QString& unit) {
  if (marked == 0) {
    return QStringLiteral("Compare found no matching parts of at least %1 %2.")
        .arg(std::max(1, minLength))
        .arg(unit);
  }
  return QStringLiteral("%1 of the %2 words of Article %3 are in matching parts.")
      .arg(marked)
      .arg(total)
      .arg(article);
}

QString PathText(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

QString vellora::FirstImportFolder() {
  // The user's documents, not the program's own files; the home folder where there are none.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QDir(documents).exists()) return documents;
  return QDir::homePath();
}

TfrmMain::TfrmMain(QWidget* parent) : TfrmMain(ApplicationFolder(), parent) {}

TfrmMain::TfrmMain(std::filesystem::path programDir, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmMain>()) {
  online_.programDir = std::move(programDir);
  vellora::InitAppResources();
  ui->setupUi(this);
  vellora::InstallAnchors(this);
  ApplySkin(vellora::DefaultSkin());

  // The choice between the welcome page and the main page is made at start-up; until then the
  // main page shows.
  ui->pgcPrinc->setCurrentWidget(ui->stsMain);

  side1_ = {nullptr,       &ArticleText1, &Article1,        ui->edtWords1,     ui->edtSenten1,
            ui->edtParag1, ui->edtKw1,    ui->edtDensPerc1, ui->edtDensTotal1, {}};
  side2_ = {nullptr,       &ArticleText2, &Article2,        ui->edtWords2,     ui->edtSenten2,
            ui->edtParag2, ui->edtKw2,    ui->edtDensPerc2, ui->edtDensTotal2, {}};
  pane1_ = new vellora::ArticlePane(ui->rchArticle1, this);
  pane2_ = new vellora::ArticlePane(ui->rchArticle2, this);
  SetUpPane(side1_, pane1_, QStringLiteral("PopupMenu1"), QStringLiteral("mnuPaste"));
  SetUpPane(side2_, pane2_, QStringLiteral("PopupMenu2"), QStringLiteral("MenuItem1"));
  PopupMenu1 = findChild<QMenu*>(QStringLiteral("PopupMenu1"));
  PopupMenu2 = findChild<QMenu*>(QStringLiteral("PopupMenu2"));

  bsSkinOpenDialog1 =
      new QFileDialog(this, QStringLiteral("Open file"), vellora::FirstImportFolder(),
                      QStringLiteral("All files (*)"));
  bsSkinOpenDialog1->setObjectName(QStringLiteral("bsSkinOpenDialog1"));
  bsSkinOpenDialog1->setFileMode(QFileDialog::ExistingFile);
  bsSkinOpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  bsSkinOpenDialog1->setOption(QFileDialog::DontUseNativeDialog, true);
  bsSkinOpenDialog1->resize(kOpenDialogWidth, kOpenDialogHeight);
  if (auto* splitter = bsSkinOpenDialog1->findChild<QSplitter*>(QStringLiteral("splitter"))) {
    splitter->setSizes({kOpenDialogSideBarWidth, kOpenDialogWidth - kOpenDialogSideBarWidth});
  }

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);
  Timer1->setSingleShot(true);

  LMDMessageHint1 = new vellora::MessageBalloon(this);

  // The welcome page's links open in the user's browser; the view itself never navigates.
  ui->prfWelcome->setOpenLinks(false);
  ui->prfWelcome->setOpenExternalLinks(false);
  ui->prfWelcome->setReadOnly(true);
  ui->prfWelcome->setUndoRedoEnabled(false);
  ui->panBanner->installEventFilter(this);

  passages_ = new vellora::PassageListModel(blocks_, this);
  vellora::ShowPassagesIn(*ui->lstPassages, *passages_);
  UpdatePassagesCaption();
  addAction(ui->actNextPassage);
  addAction(ui->actPreviousPassage);
  // The remembered choice goes in before the change handlers are connected: showing it must not
  // store it again.
  {
    const std::unique_ptr<QSettings> settings = vellora::OpenProgramSettings();
    const vellora::MatchChoice choice = vellora::LoadMatchChoice(*settings);
    ui->cbxMatch->setCurrentIndex(choice.Mode == vellora::MatchMode::Anywhere ? 1 : 0);
    ui->spnGap->setValue(choice.Gap);
    ui->spnGap->setEnabled(choice.Mode == vellora::MatchMode::Anywhere);
    const bool shown = vellora::LoadPassagesShown(*settings);
    ui->btnPassages->setChecked(shown);
    ShowPassageList(shown);
  }
  // The link labels tell the user when their address could not be opened.
  for (QLabel* link : {ui->lblLink1URL, ui->lblLink2URL}) {
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &TfrmMain::LinkLabelClick);
  }

  connect(pane1_, &vellora::ArticlePane::TextEdited, this, &TfrmMain::rchArticle1Change);
  connect(pane2_, &vellora::ArticlePane::TextEdited, this, &TfrmMain::rchArticle2Change);
  connect(ui->btnCompareEx, &QPushButton::clicked, this, &TfrmMain::btnCompareExClick);
  connect(ui->btnReport, &QPushButton::clicked, this, &TfrmMain::btnReportClick);
  connect(ui->btnPrint, &QPushButton::clicked, this, &TfrmMain::btnPrintClick);
  connect(ui->btnLibrary, &QPushButton::clicked, this, &TfrmMain::btnLibraryClick);
  connect(ui->btnClearH1, &QPushButton::clicked, this, &TfrmMain::btnClearH1Click);
  connect(ui->btnClearH2, &QPushButton::clicked, this, &TfrmMain::btnClearH2Click);
  connect(ui->btnCalculateKwDensity1, &QPushButton::clicked, this,
          &TfrmMain::btnCalculateKwDensity1Click);
  connect(ui->btnCalculateKwDensity2, &QPushButton::clicked, this,
          &TfrmMain::btnCalculateKwDensity2Click);
  connect(ui->btnImport1, &QPushButton::clicked, this, &TfrmMain::btnImport1Click);
  connect(ui->btnImport2, &QPushButton::clicked, this, &TfrmMain::btnImport2Click);
  connect(ui->btnImportAddress1, &QPushButton::clicked, this, &TfrmMain::btnImportAddress1Click);
  connect(ui->btnImportAddress2, &QPushButton::clicked, this, &TfrmMain::btnImportAddress2Click);
  connect(ui->btnClear1, &QPushButton::clicked, this, &TfrmMain::btnClear1Click);
  connect(ui->btnClear2, &QPushButton::clicked, this, &TfrmMain::btnClear2Click);
  connect(ui->mnuPaste, &QAction::triggered, this, &TfrmMain::mnuPasteClick);
  connect(ui->MenuItem1, &QAction::triggered, this, &TfrmMain::MenuItem1Click);
  connect(ui->minNumWords, &QSpinBox::valueChanged, this, &TfrmMain::minNumWordsChange);
  connect(ui->cbxType, &QComboBox::currentIndexChanged, this, &TfrmMain::cbxTypeChange);
  connect(ui->cbxMatch, &QComboBox::currentIndexChanged, this, &TfrmMain::cbxMatchChange);
  connect(ui->spnGap, &QSpinBox::valueChanged, this, &TfrmMain::spnGapChange);
  connect(ui->btnPassages, &QToolButton::toggled, this, &TfrmMain::btnPassagesClick);
  connect(ui->actNextPassage, &QAction::triggered, this, &TfrmMain::actNextPassageExecute);
  connect(ui->actPreviousPassage, &QAction::triggered, this, &TfrmMain::actPreviousPassageExecute);
  connect(ui->lstPassages->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!followingPanes_) RevealPassage(current.row());
          });
  // A click on the row already current shows its block again after the panes moved elsewhere.
  connect(ui->lstPassages, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { RevealPassage(index.row()); });
  connect(new vellora::CtrlClickWatcher(ui->rchArticle1), &vellora::CtrlClickWatcher::CtrlClicked,
          this, [this](std::int32_t position) { ShowPartner(1, position); });
  connect(new vellora::CtrlClickWatcher(ui->rchArticle2), &vellora::CtrlClickWatcher::CtrlClicked,
          this, [this](std::int32_t position) { ShowPartner(2, position); });
  connect(ui->btnThanks, &QPushButton::clicked, this, &TfrmMain::btnThanksClick);
  connect(ui->prfWelcome, &QTextBrowser::anchorClicked, this, &TfrmMain::prfWelcomeLinkClick);
  connect(new vellora::ClickWatcher(ui->imgBanner), &vellora::ClickWatcher::Clicked, this,
          &TfrmMain::imgBannerClick);
  connect(new vellora::ClickWatcher(ui->gifBanner), &vellora::ClickWatcher::Clicked, this,
          &TfrmMain::gifBannerClick);
  connect(ui->btnMakeMoney, &QPushButton::clicked, this, &TfrmMain::btnMakeMoneyClick);
  connect(ui->bsSkinSpeedButton2, &QToolButton::clicked, this, &TfrmMain::btnHelpClick);
  connect(ui->btnAbout, &QPushButton::clicked, this, &TfrmMain::btnAboutClick);
  connect(ui->btnNews, &QToolButton::clicked, this, &TfrmMain::btnNewsClick);
  connect(ui->bsSkinSpeedButton1, &QToolButton::clicked, this, &TfrmMain::btnUpdateClick);
  connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);

  FormCreate();
}

TfrmMain::~TfrmMain() {
  // The list's model reads blocks_, which goes before the widget's children do.
  ui->lstPassages->setModel(nullptr);
  delete passages_;
  passages_ = nullptr;
  FormDestroy();
}

// ---- Start-up and shutdown ----------------------------------------------------------------------

void TfrmMain::FormCreate() {
  // The six span lists are members, made with the window in the order Words, Sentences,
  // Paragraphs of Article 1, then of Article 2.
  ui->gifBanner->setGeometry(ui->imgBanner->geometry());
  IdHTTP1.SetClosingFlag(&isClosing);
  online_.client = &IdHTTP1;
  online_.closeMainWindow = [this] { close(); };
  LoadBrandSettings();
  if (vellora::BrandSettings.WelcomeHtml.empty()) Timer1->start();
  NewsList.clear();
}

void TfrmMain::FormShow() {
  QTabWidget& pages = *ui->pgcPrinc;
  // Hidden through the tab bar: QTabWidget::setTabVisible would hide the page as well.
  QTabBar& tabs = *pages.tabBar();
  // Every page is laid out once before the window appears.
  for (int i = 0; i < pages.count(); ++i) {
    pages.setCurrentIndex(i);
    QCoreApplication::processEvents();
  }
  pages.setCurrentIndex(0);

  if (!vellora::BrandSettings.WelcomeHtml.empty()) {
    tabs.setTabVisible(pages.indexOf(ui->stsWelcome), false);
    pages.setCurrentIndex(0);
    ui->prfWelcome->setHtml(vellora::AnsiToQString(vellora::BrandSettings.WelcomeHtml));
  } else {
    // The main page becomes current first: the stack then has no current page to replace.
    pages.setCurrentWidget(ui->stsMain);
    delete ui->stsWelcome;
    ui->stsWelcome = nullptr;
    ui->layWelcome = nullptr;
    ui->prfWelcome = nullptr;
    ui->bsSkinPanel14 = nullptr;
    ui->btnThanks = nullptr;
  }
  tabs.setTabVisible(pages.indexOf(ui->stsMain), false);
  tabs.hide();
  pages.setCurrentIndex(0);
  CentreBanner();
}

void TfrmMain::FormResize() {
  CentreBanner();
}

void TfrmMain::CentreBanner() {
  const QWidget& panel = *ui->panBanner;
  for (QWidget* banner :
       {static_cast<QWidget*>(ui->imgBanner), static_cast<QWidget*>(ui->gifBanner)}) {
    banner->move(vellora::CentredOffset(panel.width(), banner->width()),
                 vellora::CentredOffset(panel.height(), banner->height()));
  }
}

void TfrmMain::FormClose() {
  try {
    IdHTTP1.Disconnect();
  } catch (...) {
    // A failing disconnect must not keep the window open.
  }
  isClosing = true;
  QCoreApplication::processEvents();
}

void TfrmMain::FormDestroy() {
  NewsList.clear();
  NewsList.shrink_to_fit();
  try {
    Words1.ClearAll();
    Sentences1.ClearAll();
    Paragraphs1.ClearAll();
    Words2.ClearAll();
    Sentences2.ClearAll();
    Paragraphs2.ClearAll();
  } catch (...) {
    // The window goes in any case; a list that cannot be emptied is freed with it.
  }
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  // The panel also changes size without the window doing so (its height follows the banner).
  if (watched == ui->panBanner && event->type() == QEvent::Resize) CentreBanner();
  return QWidget::eventFilter(watched, event);
}

// ---- Brand ------------------------------------------------------------------------------------

void TfrmMain::LoadBrandSettings() {
  vellora::BrandLoad load = vellora::LoadBrandFromFolder(online_.programDir);
  if (!load.SettingsFilePresent) return;
  vellora::BrandSettings = std::move(load.Settings);
  const vellora::BrandSettingsRecord& brand = vellora::BrandSettings;
  const vellora::BrandLook& look = load.Look;

  setWindowTitle(vellora::AnsiToQString(look.Caption));
  ui->btnNews->setVisible(look.NewsButtonVisible);
  ui->btnMakeMoney->setText(vellora::AnsiToQString(look.MakeMoneyCaption));
  const Qt::CursorShape bannerCursor =
      look.BannerHandCursor ? Qt::PointingHandCursor : Qt::ArrowCursor;
  ui->imgBanner->setCursor(bannerCursor);
  ui->gifBanner->setCursor(bannerCursor);
  ShowBrandBanner(look);

  ui->panLinks->setVisible(look.LinksPanelVisible);
  ui->lblLink1URL->setText(vellora::LinkLabelText(brand.Link1Caption, brand.Link1URL));
  ui->lblLink2URL->setText(vellora::LinkLabelText(brand.Link2Caption, brand.Link2URL));

  if (look.SkinStyleSheet) ApplySkin(QString::fromStdString(*look.SkinStyleSheet));
  if (look.IconPath) {
    const QIcon icon(PathText(*look.IconPath));
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
  }
}

void TfrmMain::ShowBrandBanner(const vellora::BrandLook& look) {
  const std::optional<int> height =
      look.Banner ? vellora::ShowBanner(*look.Banner, *ui->imgBanner, *ui->gifBanner)
                  : std::nullopt;
  if (!height) {
    ui->panBanner->hide();
    return;
  }
  ui->panBanner->setFixedHeight(*height + 10);
  ui->panBanner->show();
}

// ---- Welcome page, banner, Help, Make Money, About ------------------------------------------

void TfrmMain::btnThanksClick() {
  ui->pgcPrinc->setCurrentIndex(1);
  if (!vellora::BrandSettings.WelcomeHtml.empty()) Timer1->start();
}

void TfrmMain::prfWelcomeLinkClick(const QUrl& link) {
  if (link.isRelative() && link.path().isEmpty() && link.hasFragment()) {
    ui->prfWelcome->scrollToAnchor(link.fragment());
    return;
  }
  vellora::OpenAddressOrTell(this, online_, link.toEncoded().toStdString());
}

void TfrmMain::LinkLabelClick(const QString& link) {
  // A link label asks the desktop itself, not the browser routine of the other links.
  if (!QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode)))
    vellora::TellUnopenedAddress(this, link.toStdString());
}

void TfrmMain::imgBannerClick() {
  if (!vellora::BrandSettings.BannerClickURL.empty())
    vellora::OpenAddressOrTell(this, online_, vellora::BrandSettings.BannerClickURL);
}

void TfrmMain::gifBannerClick() {
  imgBannerClick();
}

void TfrmMain::btnMakeMoneyClick() {
  vellora::OpenAddressOrTell(this, online_, vellora::BrandSettings.AffiliateURL);
}

void TfrmMain::btnHelpClick() {
  vellora::OpenAddressOrTell(this, online_, vellora::BrandSettings.AppHelpURL);
}

void TfrmMain::btnAboutClick() {
  vellora::ShowAboutBox(this);
}

// ---- News and updates -------------------------------------------------------------------------

void TfrmMain::btnNewsClick() {
  vellora::ShowNewsWindow(this, online_, NewsList);
}

void TfrmMain::btnUpdateClick() {
  vellora::CheckForUpdate(online_, false);
}

void TfrmMain::Timer1Timer() {
  Timer1->stop();
  vellora::RunStartupChecks(online_, [this](const std::string& Text) { ShowNewsMessage(Text); });
}

void TfrmMain::ShowNewsMessage(const std::string& Text) {
  vellora::ShowNewsMessage(*LMDMessageHint1, *ui->btnNews, Text);
}

void TfrmMain::SetUpPane(Side& side, vellora::ArticlePane* pane, const QString& menuName,
                         const QString& itemName) {
  side.pane = pane;
  QTextEdit* edit = pane->Edit();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(14);
  edit->setFont(font);

  // The scroll bar beside the pane is the pane's own vertical scroll bar.
  auto* bar = findChild<QScrollBar*>(edit->objectName() == QLatin1String("rchArticle1")
                                         ? QStringLiteral("bsSkinScrollBar1")
                                         : QStringLiteral("bsSkinScrollBar2"));
  if (bar != nullptr) {
    edit->setVerticalScrollBar(bar);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }

  // The pane's pop-up menu holds only the hidden Ctrl+V item; right-clicking shows nothing.
  auto* menu = new QMenu(this);
  menu->setObjectName(menuName);
  auto* item = findChild<QAction*>(itemName);
  menu->addAction(item);
  edit->addAction(item);
  edit->setContextMenuPolicy(Qt::NoContextMenu);
}

void TfrmMain::SetFileChooser(FileChooser chooser) {
  chooser_ = std::move(chooser);
}

void TfrmMain::ApplySkin(const QString& styleSheet) {
  vellora::ApplySkin(this, styleSheet);
}

void TfrmMain::showEvent(QShowEvent* event) {
  if (!shownOnce_) {
    shownOnce_ = true;
    if (const QScreen* screen = this->screen()) {
      setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                      screen->availableGeometry()));
    }
    // The skin, the brand's one included, has chosen the fonts by now.
    vellora::FitLabelsToText(this);
    FormShow();
  }
  QWidget::showEvent(event);
}

// ---- Change handling ------------------------------------------------------------------------

void TfrmMain::rchArticle1Change() {
  ArticleChange(side1_);
}
void TfrmMain::rchArticle2Change() {
  ArticleChange(side2_);
}

void TfrmMain::ArticleChange(Side& side) {
  if (Comparing) return;
  ForgetComparison();
  const std::u16string text = side.pane->Text();
  std::u16string stored = text;
  if (vellora::NormalizeArticleTextInPlace(stored)) {
    std::vector<std::int32_t> changed;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != stored[i]) changed.push_back(static_cast<std::int32_t>(i));
    }
    side.pane->ReplaceUnits(changed, stored);
  }
  *side.storedText = std::move(stored);
  if (side.storedText->empty()) side.source.clear();
  vellora::SegmentText(*side.storedText, *side.spans);
  side.words->SetValue(side.spans->Words.Count());
  side.sentences->SetValue(side.spans->Sentences.Count());
  side.paragraphs->SetValue(side.spans->Paragraphs.Count());
  ClearComparisonResults();
}

void TfrmMain::ClearComparisonResults() {
  if (!comparisonShown_) return;
  comparisonShown_ = false;
  for (vellora::NumericField* share : {ui->edtDuplicate, ui->edtDuplicate1}) {
    share->ShowNothing();
    share->setToolTip(QString::fromLatin1(kChangedTextsHint));
  }
}

// ---- Compare and highlighting -----------------------------------------------------------------

void TfrmMain::ApplyWordColors(vellora::ArticlePane& pane, const TListWords& words) {
  ::ApplyWordColors(pane, &pane == pane1_ ? ArticleText1 : ArticleText2, words);
}

void TfrmMain::btnCompareExClick() {
  vellora::ComparisonSettings settings;
  settings.MinLength = ui->minNumWords->value();
  settings.UnitType = ui->cbxType->currentIndex();
  settings.Mode = ui->cbxMatch->currentIndex() == 1 ? vellora::MatchMode::Anywhere
                                                    : vellora::MatchMode::InOrder;
  settings.Gap = ui->spnGap->value();
  ComparingScope comparing;
  vellora::CompareOutcome outcome =
      vellora::CompareArticles(ArticleText1, Article1, ArticleText2, Article2, settings);
  if (!outcome.Compared) {
    ui->edtDuplicate->setToolTip(QString::fromLatin1(kNothingToCompareHint));
    ui->edtDuplicate1->setToolTip(QString::fromLatin1(kNothingToCompareHint));
    return;
  }
  ApplyWordColors(*pane1_, Words1);
  ApplyWordColors(*pane2_, Words2);
  // Each share is taken of the word count shown for its article, which the user may have typed
  // over.
  const QString unit = ui->cbxType->currentText();
  const std::int32_t marked = vellora::CountMarkedWords(Words2);
  const std::int32_t total = ToCount(ui->edtWords2->Value());
  ui->edtDuplicate->SetValue(vellora::ComputeDuplicateShare(marked, total).Percent);
  ui->edtDuplicate->setToolTip(DuplicateStatus(2, marked, total, settings.MinLength, unit));
  const std::int32_t marked1 = vellora::CountMarkedWords(Words1);
  const std::int32_t total1 = ToCount(ui->edtWords1->Value());
  ui->edtDuplicate1->SetValue(vellora::ComputeDuplicateShare(marked1, total1).Percent);
  ui->edtDuplicate1->setToolTip(DuplicateStatus(1, marked1, total1, settings.MinLength, unit));
  comparisonShown_ = true;
  // The report states the shares the window shows.
  outcome.Share = vellora::ComputeDuplicateShare(marked, total);
  outcome.Share1 = vellora::ComputeDuplicateShare(marked1, total1);
  lastCompare_ = outcome;
  ui->btnReport->setEnabled(true);
  ui->btnPrint->setEnabled(true);
  ShowBlocks(std::move(outcome.Blocks));
}

// The blocks, the list and the report all belong to the texts that were compared.
void TfrmMain::ForgetComparison() {
  ClearBlocks();
  lastCompare_.reset();
  ui->btnReport->setEnabled(false);
  ui->btnPrint->setEnabled(false);
}

vellora::ComparisonReport TfrmMain::CurrentReport() const {
  const auto source = [](const Side& side, const char16_t* typed) {
    return side.source.isEmpty() ? std::u16string(typed) : side.source.toStdU16String();
  };
  vellora::ComparisonReport report = vellora::MakeComparisonReport(
      source(side1_, u"Article 1"), ArticleText1, Article1, source(side2_, u"Article 2"),
      ArticleText2, Article2, *lastCompare_);
  report.Brand = vellora::ReportBrandName(
      vellora::AnsiToQString(vellora::BrandSettings.ApplicationName).toStdString());
  report.Version = vellora::AppVersion;
  return report;
}

void TfrmMain::btnReportClick() {
  if (!lastCompare_) return;
  QFileDialog dialog(this);
  vellora::PrepareReportDialog(dialog);
  QString path;
  if (chooser_) {
    path = chooser_(dialog);
  } else if (dialog.exec() == QDialog::Accepted) {
    path = dialog.selectedFiles().value(0);
  }
  path = vellora::ReportPathWithSuffix(path, dialog.selectedNameFilter());
  if (path.isEmpty()) return;
  vellora::RememberReportFolder(path);
  const vellora::ReportResult result = vellora::SaveReportWithProgress(this, CurrentReport(), path);
  if (result.Outcome == vellora::ReportResult::Status::Failed) {
    vellora::ShowErrorReport(this, result.Message);
  }
}

void TfrmMain::btnPrintClick() {
  if (lastCompare_) vellora::PrintReportWithDialog(this, CurrentReport());
}

// ---- Library ----------------------------------------------------------------------------------

void TfrmMain::btnLibraryClick() {
  if (!libraryWindow_) {
    if (libraryFile_.empty()) libraryFile_ = vellora::DefaultLibraryFile();
    libraryWindow_ = new TfrmLibrary(*this, libraryFile_, this);
  }
  libraryWindow_->show();
  libraryWindow_->raise();
  libraryWindow_->activateWindow();
}

std::int32_t TfrmMain::MinimumWords() const {
  return ui->minNumWords->value();
}

void TfrmMain::CompareWithDocument(int pane, const QString& title, const std::u16string& text) {
  Side& side = pane == 1 ? side1_ : side2_;
  side.pane->ReplaceDocument([&text](QTextCursor& cursor) {
    cursor.insertText(QString::fromStdU16String(text), QTextCharFormat());
  });
  side.source = title;
  ui->cbxMatch->setCurrentIndex(1);
  btnCompareExClick();
  raise();
  activateWindow();
}

void TfrmMain::btnClearH1Click() {
  ClearHighlightCommand(side1_);
}
void TfrmMain::btnClearH2Click() {
  ClearHighlightCommand(side2_);
}

void TfrmMain::ClearHighlightCommand(Side& side) {
  ForgetComparison();
  vellora::SegmentText(side.pane->Text(), *side.spans);
  ClearHighlighting(*side.pane);
}

// ---- Keyword density --------------------------------------------------------------------------

void TfrmMain::btnCalculateKwDensity1Click() {
  CalculateKeywordDensity(side1_);
}
void TfrmMain::btnCalculateKwDensity2Click() {
  CalculateKeywordDensity(side2_);
}

void TfrmMain::CalculateKeywordDensity(Side& side) {
  vellora::ArticlePane& pane = *side.pane;
  ClearHighlighting(pane);
  const std::u16string field = side.keyword->text().toStdU16String();
  const std::u16string keyword(vellora::TrimControlAndSpace(field));
  const auto length = static_cast<std::int32_t>(keyword.size());

  QTextCharFormat highlight;
  vellora::ApplyRunFormat(highlight, NoHighlight);
  highlight.setBackground(vellora::ColorFromBgr(vellora::KeywordHighlight));

  std::int32_t count = 0;
  std::int32_t first = -1;
  std::u16string text = pane.Text();
  std::uint64_t version = pane.ContentVersion();
  std::vector<std::int32_t> hits = vellora::FindAllKeywordOccurrences(text, keyword);
  std::size_t next = 0;
  QPointer<TfrmMain> alive(this);
  QElapsedTimer clock;
  clock.start();
  while (next < hits.size()) {
    std::int32_t last = -1;
    {
      vellora::ArticlePane::QuietScope quiet(pane);
      QTextCursor cursor(pane.Edit()->document());
      cursor.beginEditBlock();
      do {
        last = hits[next++];
        if (first < 0) first = last;
        ++count;
        cursor.setPosition(last);
        cursor.setPosition(last + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(highlight);
      } while (next < hits.size() && clock.elapsed() < kEventIntervalMs);
      cursor.endEditBlock();
    }
    QCoreApplication::processEvents();
    if (!alive) return;
    clock.restart();
    if (pane.ContentVersion() != version) {
      // The text changed while events ran: the search goes on from its own position in the text
      // as it is now.
      text = pane.Text();
      version = pane.ContentVersion();
      hits = vellora::FindAllKeywordOccurrences(text, keyword, last + 1);
      next = 0;
    }
  }

  // The view ends on the first occurrence with nothing selected: the caret before it, where
  // typing starts plain.
  if (first >= 0) {
    pane.Select(first, 0);
    pane.Edit()->ensureCursorVisible();
  }
  pane.MakeInsertionPlain();

  side.densityTotal->SetValue(count);
  side.densityPercent->SetDecimalDisplay(true);
  side.densityPercent->SetValue(
      vellora::KeywordDensity(count, ToCount(side.words->Value()), pane.Text()));
}

// ---- Import, Delete All, paste, minimum length ------------------------------------------------

QString TfrmMain::ChooseFile() {
  QString path;
  if (chooser_) {
    path = chooser_(*bsSkinOpenDialog1);
  } else if (bsSkinOpenDialog1->exec() == QDialog::Accepted) {
    path = bsSkinOpenDialog1->selectedFiles().value(0);
  }
  // The dialog opens next time in the folder of the file chosen now, for either pane.
  if (!path.isEmpty()) bsSkinOpenDialog1->setDirectory(QFileInfo(path).absolutePath());
  return path;
}

void TfrmMain::btnImport1Click() {
  Import(side1_);
}
void TfrmMain::btnImport2Click() {
  Import(side2_);
}

void TfrmMain::Import(Side& side) {
  const QString path = ChooseFile();
  if (path.isEmpty()) return;
  // The file is read before the pane is touched: a file that cannot be read leaves the article
  // the user had in place.
  const vellora::ImportResult result =
      vellora::ImportDocument(std::filesystem::path(QFile::encodeName(path).toStdString()));
  if (!result.Ok) {
    vellora::ShowErrorReport(this, QString::fromStdString(result.Error));
    return;
  }
  const vellora::ImportedDocument& document = result.Document;
  side.pane->ReplaceDocument([&document](QTextCursor& cursor) {
    if (document.Runs.empty()) {
      cursor.insertText(QString::fromStdU16String(document.Text), QTextCharFormat());
      return;
    }
    for (const vellora::FormattedRun& run : document.Runs) {
      QTextCharFormat format;
      ApplyImportedFormat(format, run);
      cursor.insertText(QString::fromStdU16String(run.Text), format);
    }
  });
  side.source = QFileInfo(path).fileName();
}

void TfrmMain::btnImportAddress1Click() {
  ImportFromAddress(side1_);
}
void TfrmMain::btnImportAddress2Click() {
  ImportFromAddress(side2_);
}

void TfrmMain::ImportFromAddress(Side& side) {
  TfrmImportAddress dialog(this);
  const int result = addressRunner_ ? addressRunner_(dialog) : dialog.exec();
  // Cancelled or failed: the window showed why, and the pane keeps its text.
  if (result != QDialog::Accepted) return;
  const QString text = QString::fromStdU16String(dialog.ArticleText());
  side.pane->ReplaceDocument(
      [&text](QTextCursor& cursor) { cursor.insertText(text, QTextCharFormat()); });
}

void TfrmMain::btnClear1Click() {
  pane1_->Clear();
}
void TfrmMain::btnClear2Click() {
  pane2_->Clear();
}

void TfrmMain::mnuPasteClick() {
  pane1_->PastePlainText();
}
void TfrmMain::MenuItem1Click() {
  pane2_->PastePlainText();
}

void TfrmMain::minNumWordsChange() {
  if (ui->minNumWords->value() == 0) ui->minNumWords->setValue(1);
}

// ---- Match mode and shared passages -----------------------------------------------------------

void TfrmMain::cbxTypeChange() {
  ui->lblGapUnit->setText(vellora::GapUnitText(ui->cbxType->currentIndex()));
}

void TfrmMain::cbxMatchChange() {
  ui->spnGap->setEnabled(ui->cbxMatch->currentIndex() == 1);
  SaveMatchChoice();
}

void TfrmMain::spnGapChange() {
  SaveMatchChoice();
}

void TfrmMain::SaveMatchChoice() {
  const std::unique_ptr<QSettings> settings = vellora::OpenProgramSettings();
  vellora::SaveMatchChoice(*settings,
                           {ui->cbxMatch->currentIndex() == 1 ? vellora::MatchMode::Anywhere
                                                              : vellora::MatchMode::InOrder,
                            ui->spnGap->value()});
}

void TfrmMain::btnPassagesClick(bool expanded) {
  ShowPassageList(expanded);
  vellora::SavePassagesShown(*vellora::OpenProgramSettings(), expanded);
}

void TfrmMain::ShowPassageList(bool shown) {
  ui->lstPassages->setVisible(shown);
  ui->btnPassages->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
}

void TfrmMain::ShowBlocks(std::vector<vellora::MatchBlock> blocks) {
  blocks_.Set(std::move(blocks), Words1, Words2, ArticleText2);
  passages_->Reload();
  UpdatePassagesCaption();
}

void TfrmMain::ClearBlocks() {
  if (blocks_.Empty() && passages_->rowCount() == 0) return;
  blocks_.Clear();
  passages_->Reload();
  UpdatePassagesCaption();
}

void TfrmMain::UpdatePassagesCaption() {
  ui->btnPassages->setText(blocks_.Empty()
                               ? QStringLiteral("Shared passages")
                               : QStringLiteral("Shared passages (%1)").arg(blocks_.Count()));
}

void TfrmMain::actNextPassageExecute() {
  GoToPassage(blocks_.Next(ui->lstPassages->currentIndex().row()));
}

void TfrmMain::actPreviousPassageExecute() {
  GoToPassage(blocks_.Previous(ui->lstPassages->currentIndex().row()));
}

void TfrmMain::GoToPassage(std::int32_t row) {
  if (row < 0) return;
  MarkPassageRow(row);
  RevealPassage(row);
}

void TfrmMain::MarkPassageRow(std::int32_t row) {
  followingPanes_ = true;
  ui->lstPassages->setCurrentIndex(passages_->index(row, 0));
  followingPanes_ = false;
}

void TfrmMain::RevealPassage(std::int32_t row) {
  if (row < 0 || row >= blocks_.Count()) return;
  const vellora::PaneRange range1 = blocks_.BlockRange(row, 1);
  const vellora::PaneRange range2 = blocks_.BlockRange(row, 2);
  pane1_->Reveal(range1.Start, range1.Length);
  pane2_->Reveal(range2.Start, range2.Length);
}

void TfrmMain::ShowPartner(int side, std::int32_t position) {
  const vellora::PartnerPlace partner = blocks_.PartnerAt(side, position);
  if (partner.Block < 0) return;
  vellora::ArticlePane& other = side == 1 ? *pane2_ : *pane1_;
  other.Reveal(partner.Range.Start, partner.Range.Length);
  MarkPassageRow(partner.Block);
}
