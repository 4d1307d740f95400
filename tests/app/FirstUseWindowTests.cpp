// The window as a new user meets it: typing never continues a highlight, a changed text empties
// the duplicate share, results read clearly, failures of Check Updates and of the links are told,
// the spin field shows its arrows, Compare and keyword density leave the view where it helps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <string>

#include "AddressOpening.h"
#include "LiveUpdate.h"
#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

// Relative luminance and contrast ratio as the web content accessibility guidelines define them.
double Luminance(const QColor& colour) {
  auto channel = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
         0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// True when text typed at the pane's caret would be plain black on white.
::testing::AssertionResult InsertionIsPlain(ArticlePane& pane) {
  const QTextCharFormat format = pane.Edit()->currentCharFormat();
  const bool whiteGround = format.background().style() == Qt::NoBrush ||
                           format.background().color() == QColor(Qt::white);
  const bool blackText = format.foreground().style() == Qt::NoBrush ||
                         format.foreground().color() == QColor(Qt::black);
  if (whiteGround && blackText && format.fontWeight() <= QFont::Normal) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "background " << format.background().color().name().toStdString() << ", text "
         << format.foreground().color().name().toStdString() << ", weight " << format.fontWeight();
}

class FirstUseTest : public WindowTest {
 protected:
  void Click(const char* name) { Control<QAbstractButton>(name)->click(); }
  void Density(ArticlePane& pane, const QString& keyword) {
    const bool first = &pane == &window->Pane1();
    Control<QLineEdit>(first ? "edtKw1" : "edtKw2")->setText(keyword);
    Click(first ? "btnCalculateKwDensity1" : "btnCalculateKwDensity2");
  }
  void Compare(const QString& a1, const QString& a2, int minimum = 1) {
    Type(window->Pane1(), a1);
    Type(window->Pane2(), a2);
    Control<QSpinBox>("minNumWords")->setValue(minimum);
    Click("btnCompareEx");
  }
  // Types text at the caret as a user does.
  void KeyIn(ArticlePane& pane, const QString& text) { QTest::keyClicks(pane.Edit(), text); }
  NumericField* Duplicate() { return Control<NumericField>("edtDuplicate"); }
};

// ---- Item: the insertion format never carries a highlight -------------------------------------

TEST_F(FirstUseTest, DeleteAllAfterKeywordDensityLeavesPlainTyping) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("apple pie and apple"));
  Density(pane, QStringLiteral("apple"));
  ASSERT_EQ(BackgroundAt(pane, 0), 0x00FFFF);  // highlighted yellow
  pane.Select(19, 0);                          // right after the last occurrence
  Click("btnClear1");
  EXPECT_TRUE(InsertionIsPlain(pane));
  KeyIn(pane, QStringLiteral("new"));
  ASSERT_EQ(pane.Text(), u"new");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(BackgroundAt(pane, i), NoHighlight) << i;
    EXPECT_FALSE(BoldAt(pane, i)) << i;
  }
}

TEST_F(FirstUseTest, EachCommandLeavesAPlainInsertionFormat) {
  struct Step {
    const char* name;
    std::function<void()> run;
  };
  ArticlePane& pane = window->Pane2();
  const QString text = QStringLiteral("one two three. one two three.");
  const std::vector<Step> steps = {
      {"keyword density",
       [&] {
         Type(pane, text);
         Density(pane, QStringLiteral("two"));
       }},
      {"compare",
       [&] {
         Type(window->Pane1(), text);
         Type(pane, text);
         Click("btnCompareEx");
       }},
      {"clear highlighting",
       [&] {
         Type(pane, text);
         Density(pane, QStringLiteral("three"));
         pane.Select(13, 0);
         Click("btnClearH2");
       }},
      {"delete all",
       [&] {
         Type(pane, text);
         Density(pane, QStringLiteral("one"));
         pane.Select(3, 0);
         Click("btnClear2");
       }},
  };
  for (const Step& step : steps) {
    step.run();
    EXPECT_TRUE(InsertionIsPlain(pane)) << step.name;
    EXPECT_EQ(pane.SelLength(), 0) << step.name;
  }
}

TEST_F(FirstUseTest, TypingRightAfterAKeywordHighlightIsPlain) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("red apple pie"));
  Density(pane, QStringLiteral("apple"));
  ASSERT_EQ(BackgroundAt(pane, 8), 0x00FFFF);
  pane.Select(9, 0);  // just after "apple"
  KeyIn(pane, QStringLiteral("s"));
  ASSERT_EQ(pane.Text(), u"red apples pie");
  EXPECT_EQ(BackgroundAt(pane, 9), NoHighlight);
  EXPECT_EQ(BackgroundAt(pane, 8), 0x00FFFF);  // the occurrence itself stays highlighted
}

TEST_F(FirstUseTest, TypingRightAfterACompareHighlightIsPlain) {
  Compare(QStringLiteral("alpha beta gamma"), QStringLiteral("alpha beta gamma"));
  ArticlePane& pane = window->Pane2();
  ASSERT_TRUE(BoldAt(pane, 15));
  pane.Select(16, 0);
  KeyIn(pane, QStringLiteral(" x"));
  ASSERT_EQ(pane.Text(), u"alpha beta gamma x");
  for (int i = 16; i < 18; ++i) {
    EXPECT_EQ(BackgroundAt(pane, i), NoHighlight) << i;
    EXPECT_FALSE(BoldAt(pane, i)) << i;
  }
  // A line break typed there starts a plain line too.
  pane.Select(18, 0);
  QTest::keyClick(pane.Edit(), Qt::Key_Return);
  KeyIn(pane, QStringLiteral("y"));
  ASSERT_EQ(pane.Text(), u"alpha beta gamma x\ny");
  EXPECT_EQ(BackgroundAt(pane, 19), NoHighlight);
  EXPECT_FALSE(BoldAt(pane, 19));
}

TEST_F(FirstUseTest, TypingOverAHighlightedSelectionIsPlainAndOneUndoStep) {
  Compare(QStringLiteral("alpha beta gamma"), QStringLiteral("alpha beta gamma"));
  ArticlePane& pane = window->Pane1();
  pane.Select(6, 4);  // "beta", highlighted
  KeyIn(pane, QStringLiteral("B"));
  ASSERT_EQ(pane.Text(), u"alpha B gamma");
  EXPECT_EQ(BackgroundAt(pane, 6), NoHighlight);
  EXPECT_FALSE(BoldAt(pane, 6));
  pane.Edit()->undo();
  EXPECT_EQ(pane.Text(), u"alpha beta gamma");
}

TEST_F(FirstUseTest, PastingRightAfterAHighlightIsPlain) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("red apple pie"));
  Density(pane, QStringLiteral("apple"));
  pane.Select(9, 0);
  QGuiApplication::clipboard()->setText(QStringLiteral("XY"));
  pane.Edit()->setFocus();
  QTest::keyClick(pane.Edit(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(pane.Text(), u"red appleXY pie");
  EXPECT_EQ(BackgroundAt(pane, 9), NoHighlight);
  EXPECT_EQ(BackgroundAt(pane, 10), NoHighlight);
}

// ---- Item: a changed text empties the duplicate share ----------------------------------------

struct ChangeCase {
  const char* name;
  std::function<void(FirstUseTest&, TfrmMain&)> change;
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
  *out << c.name;
}

class StaleShare : public FirstUseTest, public ::testing::WithParamInterface<ChangeCase> {
 public:
  using FirstUseTest::KeyIn;
  using FirstUseTest::Type;
  QTemporaryDir files;
};

TEST_P(StaleShare, AnyChangeOfEitherPaneEmptiesTheShare) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  ASSERT_EQ(Duplicate()->text(), QStringLiteral("78"));
  GetParam().change(*this, *window);
  EXPECT_TRUE(Duplicate()->text().isEmpty());
  EXPECT_TRUE(Duplicate()->ShowsNothing());
  EXPECT_EQ(Duplicate()->toolTip(), QString::fromLatin1(kChangedTextsHint));
  // The next Compare shows the share of the texts as they are now, when both have text.
  Click("btnCompareEx");
  const bool bothHaveText = !window->Pane1().Text().empty() && !window->Pane2().Text().empty();
  EXPECT_EQ(Duplicate()->text().isEmpty(), !bothHaveText);
  EXPECT_NE(Duplicate()->toolTip(), QString::fromLatin1(kChangedTextsHint));
}

QString WriteFile(QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  QFile file(dir.filePath(QString::fromLatin1(name)));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StaleShare,
    ::testing::Values(
        ChangeCase{"DeleteAll1", [](FirstUseTest&, TfrmMain& w) { w.btnClear1Click(); }},
        ChangeCase{"DeleteAll2", [](FirstUseTest&, TfrmMain& w) { w.btnClear2Click(); }},
        ChangeCase{"Typing1",
                   [](FirstUseTest& t, TfrmMain& w) {
                     w.Pane1().Select(3, 0);
                     static_cast<StaleShare&>(t).KeyIn(w.Pane1(), QStringLiteral("x"));
                   }},
        ChangeCase{"Typing2",
                   [](FirstUseTest& t, TfrmMain& w) {
                     static_cast<StaleShare&>(t).KeyIn(w.Pane2(), QStringLiteral("y"));
                   }},
        ChangeCase{"Backspace2",
                   [](FirstUseTest&, TfrmMain& w) {
                     w.Pane2().Select(5, 0);
                     QTest::keyClick(w.Pane2().Edit(), Qt::Key_Backspace);
                   }},
        ChangeCase{"Paste1",
                   [](FirstUseTest&, TfrmMain& w) {
                     QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
                     w.mnuPasteClick();
                   }},
        ChangeCase{"Import1",
                   [](FirstUseTest& t, TfrmMain& w) {
                     auto& test = static_cast<StaleShare&>(t);
                     const QString path = WriteFile(test.files, "a.txt", "imported text");
                     w.SetFileChooser([path](QFileDialog&) { return path; });
                     w.btnImport1Click();
                   }},
        ChangeCase{"Import2",
                   [](FirstUseTest& t, TfrmMain& w) {
                     auto& test = static_cast<StaleShare&>(t);
                     const QString path = WriteFile(test.files, "b.txt", "other text");
                     w.SetFileChooser([path](QFileDialog&) { return path; });
                     w.btnImport2Click();
                   }},
        ChangeCase{"Cut2",
                   [](FirstUseTest&, TfrmMain& w) {
                     w.Pane2().Select(0, 2);
                     w.Pane2().Edit()->cut();
                   }}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

TEST_F(FirstUseTest, CommandsThatKeepTheTextsKeepTheShare) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  Click("btnClearH1");
  Density(window->Pane2(), QStringLiteral("fox"));
  Control<QSpinBox>("minNumWords")->setValue(4);
  EXPECT_EQ(Duplicate()->text(), QStringLiteral("78"));
}

TEST_F(FirstUseTest, CompareThatFindsNothingSaysSo) {
  Compare(QStringLiteral("x y z"), QStringLiteral("a b c"), 2);
  EXPECT_EQ(Duplicate()->text(), QStringLiteral("0"));
  EXPECT_EQ(Duplicate()->toolTip(),
            QStringLiteral("Compare found no matching parts of at least 2 Word(s)."));
  Compare(QStringLiteral("a b c d"), QStringLiteral("a b c x"), 1);
  EXPECT_EQ(Duplicate()->toolTip(),
            QStringLiteral("3 of the 4 words of Article 2 are in matching parts."));
  Type(window->Pane1(), QString());
  Click("btnCompareEx");
  EXPECT_EQ(Duplicate()->toolTip(), QString::fromLatin1(kNothingToCompareHint));
}

// ---- Item: result fields read clearly -----------------------------------------------------------

TEST_F(FirstUseTest, ResultFieldsReadWithEnoughContrastAndStayNonEditable) {
  Compare(QStringLiteral("a b c d"), QStringLiteral("a b c x"), 1);
  Density(window->Pane1(), QStringLiteral("b"));
  Density(window->Pane2(), QStringLiteral("c"));
  for (const char* name :
       {"edtDuplicate", "edtDensPerc1", "edtDensTotal1", "edtDensPerc2", "edtDensTotal2"}) {
    auto* field = Control<NumericField>(name);
    field->ensurePolished();
    EXPECT_TRUE(field->isReadOnly()) << name;
    EXPECT_FALSE(field->isEnabled()) << name;  // takes neither focus nor typing
    const QPalette::ColorGroup group = field->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor text = field->palette().color(group, QPalette::Text);
    const QColor ground = field->palette().color(group, field->backgroundRole());
    EXPECT_GE(Contrast(text, ground), 4.5)
        << name << ": " << text.name().toStdString() << " on " << ground.name().toStdString();
    // The colours drawn are the ones the palette gives: the middle of the field left of the
    // text is its background, and its darkest pixel reads against it.
    const QImage image = field->grab().toImage();
    const QColor drawnGround = image.pixelColor(image.width() - 4, image.height() / 2);
    EXPECT_EQ(drawnGround, ground) << name;
    QColor darkest = drawnGround;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 2; x < image.width() - 2; ++x) {
        const QColor c = image.pixelColor(x, y);
        if (Luminance(c) < Luminance(darkest)) darkest = c;
      }
    }
    EXPECT_GE(Contrast(darkest, drawnGround), 4.5) << name << ": " << darkest.name().toStdString();
  }
  EXPECT_TRUE(Duplicate()->font().bold());
  EXPECT_FALSE(Control<NumericField>("edtDensPerc1")->font().bold());
}

// ---- Item: the spin field shows its arrows
// -------------------------------------------------------

TEST_F(FirstUseTest, MinimumSpinFieldShowsBothArrows) {
  auto* spin = Control<QSpinBox>("minNumWords");
  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.subControls = QStyle::SC_All;
  option.buttonSymbols = spin->buttonSymbols();
  option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
  option.frame = spin->hasFrame();
  const QImage image = spin->grab().toImage();
  for (const QStyle::SubControl part : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
    const QRect button = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, part, spin);
    ASSERT_TRUE(button.isValid());
    ASSERT_GE(button.width(), 9);
    int dark = 0;
    for (int y = button.top(); y <= button.bottom(); ++y) {
      for (int x = button.left(); x <= button.right(); ++x) {
        if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 110) ++dark;
      }
    }
    EXPECT_GE(dark, 4) << (part == QStyle::SC_SpinBoxUp ? "up" : "down");
  }
}

// ---- Item: links tell when no browser can be started -------------------------------------------

// Answers the modal message box that appears with OK, keeping its text and whether the user can
// select that text.
class BoxReader {
 public:
  BoxReader() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.append(box->text());
        selectable.append(box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        box->accept();
      }
    });
    timer_.start(10);
  }
  QStringList texts;
  QList<bool> selectable;

 private:
  QTimer timer_;
};

// No browser to be found: an empty search path and no browser named in the environment.
class NoBrowser {
 public:
  NoBrowser() {
    for (const char* name : {"PATH", "BROWSER", "DEFAULT_BROWSER"}) {
      saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    }
    qputenv("PATH", QFile::encodeName(empty_.path()));
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
  }
  ~NoBrowser() {
    for (const Saved& s : saved_) {
      if (s.set) {
        qputenv(s.name, s.value);
      } else {
        qunsetenv(s.name);
      }
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  QTemporaryDir empty_;
  std::vector<Saved> saved_;
};

TEST_F(FirstUseTest, LinksWithoutABrowserSayWhichAddressCouldNotBeOpened) {
  NoBrowser noBrowser;
  window->Online().openURL = nullptr;  // the real desktop opener
  BrandSettings.AppHelpURL = "https://help.example.com/vellora";
  BrandSettings.AffiliateURL = "https://money.example.com/?id=7";
  BrandSettings.BannerClickURL = "https://banner.example.com/";
  BoxReader boxes;
  Click("bsSkinSpeedButton2");
  Click("btnMakeMoney");
  window->imgBannerClick();
  auto* link = Control<QLabel>("lblLink1URL");
  ASSERT_FALSE(link->openExternalLinks());
  emit link->linkActivated(QStringLiteral("https://www.example.com/"));
  const QStringList expected = {
      UnopenedAddressText("https://help.example.com/vellora"),
      UnopenedAddressText("https://money.example.com/?id=7"),
      UnopenedAddressText("https://banner.example.com/"),
      UnopenedAddressText("https://www.example.com/"),
  };
  EXPECT_EQ(boxes.texts, expected);
  EXPECT_TRUE(boxes.texts.value(0).startsWith(QString::fromLatin1(kNoBrowserMessage)));
  EXPECT_TRUE(boxes.texts.value(0).endsWith(QStringLiteral("\nhttps://help.example.com/vellora")));
  EXPECT_EQ(boxes.selectable, QList<bool>(4, true));
}

TEST_F(FirstUseTest, HelpWithoutAnAddressSaysThereIsNone) {
  window->Online().openURL = nullptr;
  BrandSettings.AppHelpURL.clear();
  BoxReader boxes;
  Click("bsSkinSpeedButton2");
  EXPECT_EQ(boxes.texts, QStringList{QString::fromLatin1(kNoAddressMessage)});
}

TEST_F(FirstUseTest, AnOpenedAddressShowsNoMessage) {
  std::vector<std::string> opened;
  window->Online().openURL = [&opened](const std::string& address) {
    opened.push_back(address);
    return true;
  };
  BrandSettings.AppHelpURL = "https://help.example.com/";
  BoxReader boxes;
  Click("bsSkinSpeedButton2");
  EXPECT_EQ(opened, std::vector<std::string>{"https://help.example.com/"});
  EXPECT_TRUE(boxes.texts.isEmpty());
}

// ---- Item: Check Updates tells a failed check --------------------------------------------------

TEST_F(FirstUseTest, CheckUpdatesWithTheServerUnreachableSaysTheCheckFailed) {
  BoxReader boxes;
  Click("bsSkinSpeedButton1");
  ASSERT_EQ(boxes.texts.size(), 1);
  const QString expectedStart = QString::fromLatin1(kUpdateCheckFailedStart) +
                                QString::fromStdString(ClosedUpdateBaseURL()) +
                                QString::fromLatin1(kUpdateInfoFileName) + QStringLiteral(": ");
  EXPECT_TRUE(boxes.texts[0].startsWith(expectedStart)) << boxes.texts[0].toStdString();
  EXPECT_NE(boxes.texts[0], QString::fromLatin1(kNoUpdatesMessage));
}

// ---- Item: the view stays where it helps ------------------------------------------------------

QString LongText(int paragraphs) {
  QStringList lines;
  for (int i = 0; i < paragraphs; ++i) {
    lines << QStringLiteral("Paragraph %1 tells of the river, the hills and the long road home.")
                 .arg(i);
  }
  return lines.join(QLatin1Char('\n'));
}

int TopPosition(ArticlePane& pane) {
  return pane.Edit()->cursorForPosition(QPoint(0, 0)).position();
}

TEST_F(FirstUseTest, CompareKeepsThePartOfEachPaneThatWasInView) {
  const QString text = LongText(600);
  Type(window->Pane1(), text);
  Type(window->Pane2(), text);
  QApplication::processEvents();
  struct Seen {
    int top;
    int caret;
  };
  std::vector<Seen> before;
  for (ArticlePane* pane : {&window->Pane1(), &window->Pane2()}) {
    QScrollBar* bar = pane->Edit()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 1000);
    bar->setValue(bar->maximum() / 2);
    QApplication::processEvents();
    const int top = TopPosition(*pane);
    pane->Select(top + 10, 0);
    bar->setValue(bar->maximum() / 2);  // the caret in view, the view unchanged
    before.push_back({TopPosition(*pane), pane->SelStart()});
  }
  Click("btnCompareEx");
  QApplication::processEvents();
  ASSERT_TRUE(BoldAt(window->Pane1(), 0));  // the whole text is now highlighted and bold
  int i = 0;
  for (ArticlePane* pane : {&window->Pane1(), &window->Pane2()}) {
    const int top = TopPosition(*pane);
    // The same line of text stands at the top: its first position moved by less than a line.
    EXPECT_NEAR(top, before[i].top, 70) << i;
    EXPECT_GT(top, 1000) << i;
    EXPECT_EQ(pane->SelStart(), before[i].caret) << i;
    ++i;
  }
}

TEST_F(FirstUseTest, KeywordDensityShowsTheFirstOccurrenceWithNothingSelected) {
  QString text = LongText(400);
  const int first = text.indexOf(QStringLiteral("Paragraph 150 "));
  text.replace(QStringLiteral("Paragraph 150 "), QStringLiteral("Paragraph 150 needle "));
  text.replace(QStringLiteral("Paragraph 390 "), QStringLiteral("Paragraph 390 needle "));
  ArticlePane& pane = window->Pane2();
  Type(pane, text);
  Density(pane, QStringLiteral("needle"));
  ASSERT_EQ(Control<NumericField>("edtDensTotal2")->text(), QStringLiteral("2"));
  EXPECT_EQ(pane.SelLength(), 0);
  const int needle = first + 14;
  EXPECT_EQ(pane.SelStart(), needle);
  QTextCursor at(pane.Edit()->document());
  at.setPosition(needle);
  const QRect shown = pane.Edit()->cursorRect(at);
  EXPECT_TRUE(pane.Edit()->viewport()->rect().contains(shown)) << shown.y();
  EXPECT_TRUE(InsertionIsPlain(pane));
}

// ---- Item: the open dialog --------------------------------------------------------------------

TEST_F(FirstUseTest, OpenDialogStartsInTheDocumentsAndShowsItsSideBarWhole) {
  auto* dialog = Control<QFileDialog>("bsSkinOpenDialog1");
  EXPECT_EQ(dialog->directory().absolutePath(), QDir(FirstImportFolder()).absolutePath());
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  auto* sideBar = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
  ASSERT_NE(sideBar, nullptr);
  ASSERT_GT(sideBar->model()->rowCount(), 0);
  int widest = 0;
  for (int row = 0; row < sideBar->model()->rowCount(); ++row) {
    widest = std::max(widest, sideBar->sizeHintForIndex(sideBar->model()->index(row, 0)).width());
  }
  EXPECT_GE(sideBar->viewport()->width(), widest);
  dialog->hide();
}

}  // namespace
}  // namespace vellora::test
