// The main window's form: controls by name and kind, captions, defaults and states, both pages,
// the focus order, the anchoring on resize, the tool-button pictures and the skin.
#include <gtest/gtest.h>

#include <ostream>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "ArticleEdit.h"
#include "NumericField.h"
#include "Skin.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

// The form's controls as created, before the first show removes the unused page.
class LayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    design = NewWindow();
  }
  void TearDown() override {
    design.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<TfrmMain> design;
};

struct KindCase {
  const char* name;
  const char* className;
};

void PrintTo(const KindCase& c, std::ostream* out) {
  *out << c.name;
}

class ControlKinds : public LayoutTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ControlKinds, ControlExistsWithItsKind) {
  QObject* control = design->findChild<QObject*>(QString::fromLatin1(GetParam().name));
  ASSERT_NE(control, nullptr) << GetParam().name;
  EXPECT_TRUE(control->inherits(GetParam().className)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Form, ControlKinds,
    ::testing::Values(
        KindCase{"pgcPrinc", "QTabWidget"}, KindCase{"stsWelcome", "QWidget"},
        KindCase{"stsMain", "QWidget"}, KindCase{"prfWelcome", "QTextBrowser"},
        KindCase{"bsSkinPanel14", "QFrame"}, KindCase{"btnThanks", "QPushButton"},
        KindCase{"bsSkinPanel9", "QFrame"}, KindCase{"btnCompareEx", "QPushButton"},
        KindCase{"btnMakeMoney", "QPushButton"}, KindCase{"btnAbout", "QPushButton"},
        KindCase{"btnNews", "QToolButton"}, KindCase{"bsSkinSpeedButton1", "QToolButton"},
        KindCase{"bsSkinSpeedButton2", "QToolButton"}, KindCase{"panBanner", "QFrame"},
        KindCase{"imgBanner", "QLabel"}, KindCase{"gifBanner", "QLabel"},
        KindCase{"panLeft", "QGroupBox"}, KindCase{"bsSkinPanel5", "QFrame"},
        KindCase{"bsSkinGroupBox2", "QGroupBox"}, KindCase{"btnImport1", "QPushButton"},
        KindCase{"btnImport2", "QPushButton"}, KindCase{"btnImportAddress1", "QPushButton"},
        KindCase{"btnImportAddress2", "QPushButton"}, KindCase{"btnClearH1", "QPushButton"},
        KindCase{"btnClearH2", "QPushButton"}, KindCase{"btnClear1", "QPushButton"},
        KindCase{"btnClear2", "QPushButton"}, KindCase{"rchArticle1", "QTextEdit"},
        KindCase{"rchArticle2", "QTextEdit"}, KindCase{"bsSkinScrollBar1", "QScrollBar"},
        KindCase{"bsSkinScrollBar2", "QScrollBar"}, KindCase{"edtWords1", "vellora::NumericField"},
        KindCase{"edtSenten1", "vellora::NumericField"},
        KindCase{"edtParag1", "vellora::NumericField"},
        KindCase{"edtWords2", "vellora::NumericField"},
        KindCase{"edtSenten2", "vellora::NumericField"},
        KindCase{"edtParag2", "vellora::NumericField"}, KindCase{"edtKw1", "QLineEdit"},
        KindCase{"edtKw2", "QLineEdit"}, KindCase{"btnCalculateKwDensity1", "QPushButton"},
        KindCase{"btnCalculateKwDensity2", "QPushButton"},
        KindCase{"edtDensPerc1", "vellora::NumericField"},
        KindCase{"edtDensPerc2", "vellora::NumericField"},
        KindCase{"edtDensTotal1", "vellora::NumericField"},
        KindCase{"edtDensTotal2", "vellora::NumericField"}, KindCase{"pan", "QFrame"},
        KindCase{"edtDuplicate", "vellora::NumericField"}, KindCase{"minNumWords", "QSpinBox"},
        KindCase{"cbxType", "QComboBox"}, KindCase{"panLinks", "QFrame"},
        KindCase{"lblLink1URL", "QLabel"}, KindCase{"lblLink2URL", "QLabel"},
        KindCase{"PopupMenu1", "QMenu"}, KindCase{"PopupMenu2", "QMenu"},
        KindCase{"mnuPaste", "QAction"}, KindCase{"MenuItem1", "QAction"},
        KindCase{"bsSkinOpenDialog1", "QFileDialog"}, KindCase{"Timer1", "QTimer"}));

struct CaptionCase {
  const char* name;
  const char16_t* caption;
};

void PrintTo(const CaptionCase& c, std::ostream* out) {
  *out << c.name;
}

class Captions : public LayoutTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(Captions, ControlShowsItsCaption) {
  QWidget* control = design->findChild<QWidget*>(QString::fromLatin1(GetParam().name));
  ASSERT_NE(control, nullptr) << GetParam().name;
  QString shown;
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    shown = button->toolTip().isEmpty() ? button->text() : button->toolTip();
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    shown = box->title();
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    shown = label->text();
  }
  EXPECT_EQ(shown, QString::fromStdU16String(GetParam().caption)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Form, Captions,
    ::testing::Values(
        CaptionCase{"btnCompareEx", u"Compare"}, CaptionCase{"btnMakeMoney", u"Make Money"},
        CaptionCase{"btnAbout", u"About"}, CaptionCase{"btnNews", u"Check News"},
        CaptionCase{"bsSkinSpeedButton1", u"Check Updates"},
        CaptionCase{"bsSkinSpeedButton2", u"Help"},
        CaptionCase{"btnThanks", u"Thanks, just show me the main application"},
        CaptionCase{"panLeft", u"Article 1"}, CaptionCase{"bsSkinGroupBox2", u"Article 2"},
        CaptionCase{"btnImport1", u"Import"}, CaptionCase{"btnImport2", u"Import"},
        CaptionCase{"btnClearH1", u"Clear Highlighting"},
        CaptionCase{"btnClearH2", u"Clear Highlighting"}, CaptionCase{"btnClear1", u"Delete All"},
        CaptionCase{"btnClear2", u"Delete All"},
        CaptionCase{"btnCalculateKwDensity1", u"Calculate Keyword Density"},
        CaptionCase{"btnCalculateKwDensity2", u"Calculate Keyword Density"},
        CaptionCase{"lblContains1", u"Contains"}, CaptionCase{"lblWords2", u" Words,"},
        CaptionCase{"lblSenten1", u"Sentences,"}, CaptionCase{"lblParag2", u"Paragraphs"},
        CaptionCase{"lblKeyword1", u"Keyword phrase:"}, CaptionCase{"lblDensPerc2", u"%"},
        CaptionCase{"lblDensTotal1", u"No:"}, CaptionCase{"lblDuplicate", u"Duplicate Content"},
        CaptionCase{"lblDuplicatePerc", u"%"},
        CaptionCase{"lblMinLength", u"Minimum Length of the Matching Parts = "}));

TEST_F(LayoutTest, WindowHasItsDesignCaptionAndSize) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vellora"));
  EXPECT_EQ(window->size(), QSize(739, 626));
}

TEST_F(LayoutTest, BothPagesExistWithTheirTabsUntilTheFirstShow) {
  auto* pages = design->findChild<QTabWidget*>(QStringLiteral("pgcPrinc"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->widget(0)->objectName(), QStringLiteral("stsWelcome"));
  EXPECT_EQ(pages->widget(1)->objectName(), QStringLiteral("stsMain"));
  EXPECT_TRUE(pages->isTabVisible(0));
  EXPECT_TRUE(pages->isTabVisible(1));
  EXPECT_TRUE(design->findChild<QTextBrowser*>(QStringLiteral("prfWelcome"))->isReadOnly());
  EXPECT_TRUE(design->findChild<QPushButton*>(QStringLiteral("btnThanks"))->isDefault());
}

TEST_F(LayoutTest, NumericFieldsStartAtZeroWithTheirStates) {
  for (const char* name :
       {"edtWords1", "edtSenten1", "edtParag1", "edtWords2", "edtSenten2", "edtParag2"}) {
    auto* field = Control<NumericField>(name);
    EXPECT_EQ(field->text(), QStringLiteral("0")) << name;
    EXPECT_TRUE(field->isEnabled()) << name;
    EXPECT_FALSE(field->isReadOnly()) << name;
    EXPECT_EQ(field->size(), QSize(49, 18)) << name;
  }
  for (const char* name :
       {"edtDensPerc1", "edtDensTotal1", "edtDensPerc2", "edtDensTotal2", "edtDuplicate"}) {
    auto* field = Control<NumericField>(name);
    EXPECT_EQ(field->text(), QStringLiteral("0")) << name;
    EXPECT_FALSE(field->isEnabled()) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
  }
}

TEST_F(LayoutTest, CompareBarDefaults) {
  auto* minimum = Control<QSpinBox>("minNumWords");
  EXPECT_EQ(minimum->value(), 1);
  EXPECT_EQ(minimum->singleStep(), 1);
  EXPECT_LT(minimum->minimum(), -1000000);
  EXPECT_GT(minimum->maximum(), 1000000);
  auto* unit = Control<QComboBox>("cbxType");
  ASSERT_EQ(unit->count(), 3);
  EXPECT_EQ(unit->itemText(0), QStringLiteral("Word(s)"));
  EXPECT_EQ(unit->itemText(1), QStringLiteral("Sentence(s)"));
  EXPECT_EQ(unit->itemText(2), QStringLiteral("Paragraph(s)"));
  EXPECT_EQ(unit->currentIndex(), 0);
  EXPECT_FALSE(unit->isEditable());
  EXPECT_EQ(unit->maxVisibleItems(), 8);
  EXPECT_TRUE(Control<QLineEdit>("edtKw1")->text().isEmpty());
}

TEST_F(LayoutTest, ToolButtonsShowTheirPictures) {
  struct Picture {
    const char* name;
    QSize size;
  };
  for (const Picture& picture :
       {Picture{"btnNews", QSize(34, 34)}, Picture{"bsSkinSpeedButton1", QSize(23, 31)},
        Picture{"bsSkinSpeedButton2", QSize(28, 28)}}) {
    auto* button = Control<QToolButton>(picture.name);
    EXPECT_EQ(button->iconSize(), picture.size) << picture.name;
    const QPixmap pixmap = button->icon().pixmap(picture.size);
    ASSERT_FALSE(pixmap.isNull()) << picture.name;
    const QImage image = pixmap.toImage();
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    EXPECT_GT(opaque, image.width() * image.height() / 4) << picture.name;
    EXPECT_EQ(button->size(), QSize(41, 34)) << picture.name;
  }
}

TEST_F(LayoutTest, ButtonsThatTakeNoFocus) {
  for (const char* name :
       {"btnCompareEx", "btnMakeMoney", "btnAbout", "btnNews", "bsSkinSpeedButton1",
        "bsSkinSpeedButton2", "btnThanks", "lblLink1URL", "lblLink2URL"}) {
    auto* control = design->findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->focusPolicy(), Qt::NoFocus) << name;
  }
  for (const char* name :
       {"btnCompareEx", "btnImport1", "btnClearH2", "btnClear1", "btnCalculateKwDensity2"}) {
    EXPECT_EQ(Control<QWidget>(name)->cursor().shape(), Qt::PointingHandCursor) << name;
  }
}

TEST_F(LayoutTest, FocusGoesRoundTheMainPageInItsOrder) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const std::vector<QString> order = {"minNumWords",
                                      "cbxType",
                                      "cbxMatch",
                                      "btnPassages",
                                      "edtWords1",
                                      "edtSenten1",
                                      "edtParag1",
                                      "edtKw1",
                                      "btnCalculateKwDensity1",
                                      "btnImport1",
                                      "btnImportAddress1",
                                      "btnClearH1",
                                      "btnClear1",
                                      "rchArticle1",
                                      "edtWords2",
                                      "edtSenten2",
                                      "edtParag2",
                                      "btnCalculateKwDensity2",
                                      "edtKw2",
                                      "btnImport2",
                                      "btnImportAddress2",
                                      "btnClearH2",
                                      "btnClear2",
                                      "rchArticle2"};
  Control<QWidget>("minNumWords")->setFocus(Qt::TabFocusReason);
  std::vector<QString> visited;
  for (std::size_t i = 0; i < order.size() + 1; ++i) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    // Compound controls hand focus to an inner editor; name the control the user sees.
    while (focus->objectName().isEmpty() || focus->objectName().startsWith(QLatin1String("qt_"))) {
      focus = focus->parentWidget();
    }
    visited.push_back(focus->objectName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  std::vector<QString> expected = order;
  expected.push_back(order.front());
  EXPECT_EQ(visited, expected);
}

TEST_F(LayoutTest, ResizingKeepsArticleOneWidthAndRightEdgeDistances) {
  auto rightGap = [](QWidget* w) { return w->parentWidget()->width() - w->geometry().right(); };
  const char* anchored[] = {"btnNews",      "bsSkinSpeedButton1", "bsSkinSpeedButton2",
                            "lblMinLength", "minNumWords",        "cbxType",
                            "lblLink2URL"};
  std::map<std::string, int> gaps;
  for (const char* name : anchored) gaps[name] = rightGap(Control<QWidget>(name));
  EXPECT_EQ(gaps["bsSkinSpeedButton2"], 737 - 727 + 1);
  const int pane1Height = Control<QWidget>("rchArticle1")->height();
  const int pane2Width = Control<QWidget>("rchArticle2")->width();
  const QPoint compareAt = Control<QWidget>("btnCompareEx")->pos();

  window->resize(1039, 826);
  QApplication::processEvents();

  EXPECT_EQ(Control<QWidget>("panLeft")->width(), 364);
  EXPECT_EQ(Control<QWidget>("bsSkinPanel5")->width(), 5);
  EXPECT_EQ(Control<QWidget>("bsSkinGroupBox2")->width(),
            Control<QWidget>("stsMain")->width() - 369);
  EXPECT_EQ(Control<QWidget>("rchArticle1")->height(), pane1Height + 200);
  EXPECT_EQ(Control<QWidget>("rchArticle2")->height(), pane1Height + 200);
  EXPECT_EQ(Control<QWidget>("rchArticle2")->width(), pane2Width + 300);
  EXPECT_EQ(Control<QWidget>("btnCompareEx")->pos(), compareAt);
  for (const char* name : anchored) {
    EXPECT_EQ(rightGap(Control<QWidget>(name)), gaps[name]) << name;
  }
  EXPECT_EQ(Control<QWidget>("pan")->height(), 43);
  EXPECT_EQ(Control<QWidget>("bsSkinPanel9")->height(), 43);
  EXPECT_EQ(Control<QWidget>("panLinks")->height(), 36);
  EXPECT_EQ(Control<QWidget>("panFigures2")->height(), 113);
  auto* line = Control<QWidget>("lineContains2");
  EXPECT_EQ(line->parentWidget()->width() - line->geometry().right(), 9);

  window->resize(739, 626);
  QApplication::processEvents();
  for (const char* name : anchored) {
    EXPECT_EQ(rightGap(Control<QWidget>(name)), gaps[name]) << name;
  }
}

TEST_F(LayoutTest, PaneScrollBarIsTheBarBesideIt) {
  auto* pane = Control<QTextEdit>("rchArticle1");
  auto* bar = Control<QScrollBar>("bsSkinScrollBar1");
  EXPECT_EQ(pane->verticalScrollBar(), bar);
  EXPECT_EQ(bar->width(), 19);
  EXPECT_EQ(Control<QTextEdit>("rchArticle2")->verticalScrollBar(),
            Control<QScrollBar>("bsSkinScrollBar2"));
}

TEST_F(LayoutTest, PanesUseArialFourteenPixelsAndWrapAtTheirWidth) {
  auto* pane = Control<QTextEdit>("rchArticle1");
  EXPECT_EQ(pane->font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(pane->font().pixelSize(), 14);
  EXPECT_EQ(pane->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_TRUE(pane->tabChangesFocus());
}

TEST_F(LayoutTest, HiddenPasteItemsCarryCtrlV) {
  auto* menu1 = Control<QMenu>("PopupMenu1");
  auto* item1 = Control<QAction>("mnuPaste");
  EXPECT_TRUE(menu1->actions().contains(item1));
  EXPECT_EQ(item1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
  EXPECT_TRUE(item1->text().isEmpty());
  EXPECT_TRUE(Control<QWidget>("rchArticle1")->actions().contains(item1));
  EXPECT_EQ(Control<QWidget>("rchArticle1")->contextMenuPolicy(), Qt::NoContextMenu);
  auto* item2 = Control<QAction>("MenuItem1");
  EXPECT_TRUE(Control<QMenu>("PopupMenu2")->actions().contains(item2));
  EXPECT_TRUE(Control<QWidget>("rchArticle2")->actions().contains(item2));
}

TEST_F(LayoutTest, OpenDialogSettings) {
  auto* dialog = Control<QFileDialog>("bsSkinOpenDialog1");
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open file"));
  EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("All files (*)")});
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(dialog->directory().absolutePath(), QDir(FirstImportFolder()).absolutePath());
}

TEST_F(LayoutTest, TimerIsAOneShotOf100MsAndStopsAfterItsTick) {
  auto* timer = Control<QTimer>("Timer1");
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_TRUE(timer->isSingleShot());
}

TEST_F(LayoutTest, SkinIsAStyleSheetThatCanBeReplaced) {
  EXPECT_EQ(window->styleSheet(), DefaultSkin());
  EXPECT_FALSE(DefaultSkin().isEmpty());
  const QString other = QStringLiteral("QPushButton { color: rgb(200, 10, 10); }");
  window->ApplySkin(other);
  EXPECT_EQ(window->styleSheet(), other);
  auto* button = Control<QPushButton>("btnCompareEx");
  button->ensurePolished();
  EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(200, 10, 10));
}

TEST_F(LayoutTest, WindowRendersOffscreen) {
  const QPixmap shot = window->grab();
  EXPECT_EQ(shot.size(), window->size() * shot.devicePixelRatio());
}

}  // namespace
}  // namespace vellora::test
