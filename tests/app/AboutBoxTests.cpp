// The about box: texts composed from the brand fields and the version, the box without a settings
// file, Windows-1252 text, the scroll bar beside a long about text, and a new box for every use.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AesLib.h"
#include "BrandSettings.h"
#include "FAbout.h"
#include "UUtils.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

BrandSettingsRecord Brand(std::string name, std::string years, std::string company,
                          std::string about) {
  BrandSettingsRecord settings;
  settings.ApplicationName = std::move(name);
  settings.CopyrightYears = std::move(years);
  settings.CopyrightCompany = std::move(company);
  settings.AboutText = std::move(about);
  return settings;
}

// The controls of one box, found by their names.
struct AboutControls {
  explicit AboutControls(QWidget& box)
      : name(box.findChild<QLabel*>(QStringLiteral("lblProductName"))),
        version(box.findChild<QLabel*>(QStringLiteral("lblProductVersion"))),
        copyright(box.findChild<QLabel*>(QStringLiteral("lblCopyright1"))),
        panel(box.findChild<QFrame*>(QStringLiteral("bsSkinPanel1"))),
        text(box.findChild<QPlainTextEdit*>(QStringLiteral("memAbout"))),
        bar(box.findChild<QScrollBar*>(QStringLiteral("bsSkinScrollBar1"))),
        ok(box.findChild<QPushButton*>(QStringLiteral("editAbout"))) {}
  bool Complete() const { return name && version && copyright && panel && text && bar && ok; }

  QLabel* name;
  QLabel* version;
  QLabel* copyright;
  QFrame* panel;
  QPlainTextEdit* text;
  QScrollBar* bar;
  QPushButton* ok;
};

std::string ManyLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "Line " + std::to_string(i) + "\r\n";
  return text;
}

// Shows a box without a modal loop and waits until it is laid out on the offscreen screen.
void ShowAndSettle(TfrmAbout& box) {
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QCoreApplication::processEvents();
}

// The first block visible at the top of the text area.
int FirstVisibleBlock(QPlainTextEdit& text) {
  return text.cursorForPosition(QPoint(2, 2)).blockNumber();
}

// Keeps the process-wide brand record as the test found it.
class AboutBoxWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    saved_ = BrandSettings;
    WindowTest::SetUp();
  }
  void TearDown() override {
    WindowTest::TearDown();
    BrandSettings = saved_;
  }

 private:
  BrandSettingsRecord saved_;
};

// What a box looked like while it was open modally, then closed with "Ok".
struct SeenBox {
  QPointer<TfrmAbout> box;
  QString caption;
  Qt::WindowModality modality = Qt::NonModal;
};

// Runs the About command over parent, answering the box with a click on "Ok".
SeenBox RunAboutCommand(QWidget* parent) {
  SeenBox seen;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget());
    if (box == nullptr || !seen.box.isNull()) return;
    seen.box = box;
    seen.caption = box->windowTitle();
    seen.modality = box->windowModality();
    AboutControls(*box).ok->click();
  });
  answer.start(10);
  ShowAboutBox(parent);
  return seen;
}

// ---------------------------------------------------------------------------------------------

struct TextCase {
  const char* label;
  BrandSettingsRecord settings;
  QString caption, name, copyright;
};

class AboutTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(AboutTexts, ComposeCaptionAndLinesFromBrandFields) {
  const TextCase& c = GetParam();
  EXPECT_EQ(AboutCaption(c.settings), c.caption);
  EXPECT_EQ(CopyrightLine(c.settings), c.copyright);
  EXPECT_EQ(ProductVersionLine(), QStringLiteral("Product Version: 2.0"));

  TfrmAbout box(c.settings);
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(box.windowTitle(), c.caption);
  EXPECT_EQ(controls.name->text(), c.name);
  EXPECT_EQ(controls.version->text(), QStringLiteral("Product Version: 2.0"));
  EXPECT_EQ(controls.copyright->text(), c.copyright);
}

INSTANTIATE_TEST_SUITE_P(
    AboutBox, AboutTexts,
    ::testing::Values(TextCase{"AllFields", Brand("Vellora Pro", "2009-2011", "Acme Ltd", "x"),
                               "About Vellora Pro...", "Vellora Pro",
                               "Copyright (c) 2009-2011 Acme Ltd"},
                      TextCase{"EmptyName", Brand("", "2010", "Acme", ""), "About ...", "",
                               "Copyright (c) 2010 Acme"},
                      TextCase{"YearsOnly", Brand("Tool", "2010", "", ""), "About Tool...", "Tool",
                               "Copyright (c) 2010 "},
                      TextCase{"CompanyOnly", Brand("Tool", "", "Acme", ""), "About Tool...",
                               "Tool", "Copyright (c)  Acme"},
                      TextCase{"BlanksKept", Brand(" Tool ", " 2010", "Acme ", ""),
                               "About  Tool ...", " Tool ", "Copyright (c)  2010 Acme "},
                      TextCase{"MarkupShownAsText", Brand("<b>Tool</b>", "", "", ""),
                               "About <b>Tool</b>...", "<b>Tool</b>", "Copyright (c)  "}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.label; });

struct LinesCase {
  const char* label;
  std::string about;
  QString shown;
};

class AboutTextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(AboutTextLines, SplitAtEveryKindOfLineBreak) {
  const LinesCase& c = GetParam();
  EXPECT_EQ(AboutTextForDisplay(c.about), c.shown);
  TfrmAbout box(Brand("Tool", "", "", c.about));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(controls.text->toPlainText(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    AboutBox, AboutTextLines,
    ::testing::Values(LinesCase{"Empty", "", ""}, LinesCase{"OneLine", "Hello", "Hello"},
                      LinesCase{"CrLf", "a\r\nb", "a\nb"}, LinesCase{"LoneCr", "a\rb", "a\nb"},
                      LinesCase{"LoneLf", "a\nb", "a\nb"},
                      LinesCase{"Mixed", "a\r\nb\rc\nd", "a\nb\nc\nd"},
                      LinesCase{"EmptyLineKept", "a\r\n\r\nb", "a\n\nb"},
                      LinesCase{"FinalBreakAddsNoLine", "a\r\nb\r\n", "a\nb"},
                      LinesCase{"LeadingBreakKeepsEmptyLine", "\r\na", "\na"},
                      LinesCase{"TabsAndBlanksKept", " \ta b ", " \ta b "}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return info.param.label; });

// ---------------------------------------------------------------------------------------------

TEST(AboutBox, WithoutSettingsFileShowsEmptyNameVersionAndBareCopyright) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const BrandLoad load = LoadBrandFromFolder(std::filesystem::path(dir.path().toStdString()));
  ASSERT_FALSE(load.SettingsFilePresent);

  TfrmAbout box(load.Settings);
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About ..."));
  EXPECT_EQ(controls.name->text(), QString());
  EXPECT_EQ(controls.version->text(), QStringLiteral("Product Version: 2.0"));
  EXPECT_EQ(controls.copyright->text(), QStringLiteral("Copyright (c)  "));
  EXPECT_EQ(controls.text->toPlainText(), QString());
  EXPECT_EQ(controls.bar->maximum(), 0);
}

TEST(AboutBox, ShowsTheFieldsOfAnEncryptedSettingsFileDecodedAsWindows1252) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::filesystem::path folder(dir.path().toStdString());
  const std::string plain =
      "<%%ApplicationName%%>Caf\xE9 Checker<%%/ApplicationName%%>\r\n"
      "<%%CopyrightYears%%>2009\x96"
      "2011<%%/CopyrightYears%%>\r\n"
      "<%%CopyrightCompany%%>M\xFCller \xA9 Co<%%/CopyrightCompany%%>\r\n"
      "<%%AboutText%%>Price: 5 \x80\r\n"
      "\x93Quoted\x94 Brand\x99<%%/AboutText%%>\r\n";
  ASSERT_TRUE(EncryptStringToFile(plain, folder / kSettingsFileName, kBrandPassword).Ok());
  const BrandLoad load = LoadBrandFromFolder(folder);
  ASSERT_TRUE(load.SettingsFilePresent);

  TfrmAbout box(load.Settings);
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(box.windowTitle(), QString::fromUtf8("About Caf\u00E9 Checker..."));
  EXPECT_EQ(controls.name->text(), QString::fromUtf8("Caf\u00E9 Checker"));
  EXPECT_EQ(controls.copyright->text(),
            QString::fromUtf8("Copyright (c) 2009\u20132011 M\u00FCller \u00A9 Co"));
  EXPECT_EQ(controls.text->toPlainText(),
            QString::fromUtf8("Price: 5 \u20AC\n\u201CQuoted\u201D Brand\u2122"));
}

TEST(AboutBox, UnassignedWindows1252BytesStayVisibleAsControls) {
  TfrmAbout box(Brand("A\x81Z", "", "", "\x8D\x8F\x90\x9D"));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(controls.name->text(), QString::fromUtf16(u"A\u0081Z"));
  EXPECT_EQ(controls.text->toPlainText(), QString::fromUtf16(u"\u008D\u008F\u0090\u009D"));
}

TEST(AboutBox, EmptyProcessWideSettingsGiveTheBareBox) {
  const BrandSettingsRecord saved = BrandSettings;
  BrandSettings = BrandSettingsRecord{};
  TfrmAbout box;
  BrandSettings = saved;
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About ..."));
  EXPECT_EQ(controls.copyright->text(), QStringLiteral("Copyright (c)  "));
}

// ---------------------------------------------------------------------------------------------

struct Placement {
  const char* name;
  QRect geometry;  // in the coordinates of the control's container in the form
};

TEST(AboutBox, ControlsSitWhereTheFormPutsThem) {
  TfrmAbout box(Brand("Tool", "2010", "Acme", "About"));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  EXPECT_EQ(box.size(), QSize(368, 211));
  EXPECT_EQ(box.minimumSize(), QSize(368, 211));
  EXPECT_EQ(box.maximumSize(), QSize(368, 211));

  const std::vector<Placement> table = {
      {"lblProductName", QRect(9, 7, 350, 16)}, {"lblProductVersion", QRect(9, 32, 350, 16)},
      {"lblCopyright1", QRect(9, 58, 350, 16)}, {"bsSkinPanel1", QRect(8, 88, 348, 71)},
      {"memAbout", QRect(0, 0, 329, 71)},       {"bsSkinScrollBar1", QRect(329, 0, 19, 71)},
      {"editAbout", QRect(129, 171, 87, 21)},
  };
  for (const Placement& p : table) {
    auto* control = box.findChild<QWidget*>(QString::fromLatin1(p.name));
    ASSERT_NE(control, nullptr) << p.name;
    EXPECT_EQ(control->geometry(), p.geometry) << p.name;
  }
  EXPECT_EQ(controls.text->parentWidget(), controls.panel);
  EXPECT_EQ(controls.bar->parentWidget(), controls.panel);
  EXPECT_EQ(controls.panel->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(controls.text->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(controls.bar->orientation(), Qt::Vertical);
  EXPECT_EQ(controls.ok->text(), QStringLiteral("Ok"));
  EXPECT_TRUE(controls.ok->isDefault());
  EXPECT_TRUE(controls.text->isReadOnly());
  EXPECT_EQ(controls.text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(controls.text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
  EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowTitleHint));
}

TEST(AboutBox, OkTakesTheFocusAndComesFirstInTheFocusOrder) {
  TfrmAbout box(Brand("Tool", "", "", "About"));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  EXPECT_EQ(QApplication::focusWidget(), controls.ok);
  QTest::keyClick(&box, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), controls.text);
  QTest::keyClick(&box, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), controls.ok);
}

TEST(AboutBox, OkClosesTheBoxAsAccepted) {
  TfrmAbout box(Brand("Tool", "", "", ""));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  QTest::mouseClick(controls.ok, Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(AboutBoxWindowTest, SkinOfTheMainWindowLeavesTheTextAreaArialFourteenPixelsBlack) {
  TfrmAbout box(Brand("Tool", "", "", "About"), window.get());
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  EXPECT_EQ(controls.text->font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(controls.text->font().pixelSize(), 14);
  EXPECT_EQ(controls.text->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_TRUE(controls.name->font().bold());
  EXPECT_EQ(controls.name->font().pixelSize(), 11);
  EXPECT_FALSE(controls.version->font().bold());
}

TEST_F(AboutBoxWindowTest, BoxIsCentredOnTheScreen) {
  TfrmAbout box(Brand("Tool", "", "", ""), window.get());
  ShowAndSettle(box);
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_LE(std::abs(box.geometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(box.geometry().center().y() - screen.center().y()), 1);
}

// ---------------------------------------------------------------------------------------------

TEST(AboutBox, ShortTextLeavesNothingToScroll) {
  TfrmAbout box(Brand("Tool", "", "", "One line"));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  EXPECT_EQ(controls.bar->minimum(), 0);
  EXPECT_EQ(controls.bar->maximum(), 0);
}

TEST(AboutBox, ScrollBarScrollsALongText) {
  TfrmAbout box(Brand("Tool", "", "", ManyLines(60)));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  QScrollBar* own = controls.text->verticalScrollBar();
  ASSERT_GT(controls.bar->maximum(), 0);
  EXPECT_EQ(controls.bar->maximum(), own->maximum());
  EXPECT_EQ(controls.bar->pageStep(), own->pageStep());
  EXPECT_EQ(controls.bar->value(), 0);
  EXPECT_EQ(FirstVisibleBlock(*controls.text), 0);

  controls.bar->setValue(controls.bar->maximum());
  EXPECT_EQ(own->value(), own->maximum());
  const int bottom = FirstVisibleBlock(*controls.text);
  EXPECT_GT(bottom, 40);

  controls.bar->setValue(10);
  EXPECT_EQ(FirstVisibleBlock(*controls.text), 10);
  controls.bar->setValue(0);
  EXPECT_EQ(FirstVisibleBlock(*controls.text), 0);
}

TEST(AboutBox, ScrollingTheTextMovesTheScrollBar) {
  TfrmAbout box(Brand("Tool", "", "", ManyLines(60)));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  controls.text->verticalScrollBar()->setValue(25);
  EXPECT_EQ(controls.bar->value(), 25);
}

TEST(AboutBox, CaretReadsALongTextToItsEndWithoutChangingIt) {
  const std::string about = ManyLines(60) + "The last line";
  TfrmAbout box(Brand("Tool", "", "", about));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  controls.text->setFocus();
  const QString before = controls.text->toPlainText();

  QTest::keyClick(controls.text, Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(controls.text->textCursor().atEnd());
  // The view scrolls just far enough to show the last line; the bar beside it follows.
  EXPECT_EQ(controls.bar->value(), controls.text->verticalScrollBar()->value());
  EXPECT_GT(controls.bar->value(), 40);
  const QRect caret = controls.text->cursorRect();
  EXPECT_TRUE(controls.text->viewport()->rect().contains(caret.center()));

  QTest::keyClicks(controls.text, QStringLiteral("typed"));
  QTest::keyClick(controls.text, Qt::Key_Backspace);
  EXPECT_EQ(controls.text->toPlainText(), before);

  QTest::keyClick(controls.text, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(controls.bar->value(), 0);
}

TEST(AboutBox, OneLongLineWrapsAndCanBeScrolled) {
  std::string words;
  for (int i = 0; i < 400; ++i) words += "word ";
  TfrmAbout box(Brand("Tool", "", "", words));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  EXPECT_EQ(controls.text->document()->blockCount(), 1);
  EXPECT_GT(controls.text->document()->firstBlock().layout()->lineCount(), 3);
  EXPECT_GT(controls.bar->maximum(), 0);
}

// Every line of the text area that shows at all shows whole: none is cut at the lower edge.
void ExpectNoLineCut(QPlainTextEdit& text, const std::string& what) {
  const int height = text.viewport()->height();
  int shown = 0;
  for (QTextBlock block = text.document()->firstBlock(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    for (int i = 0; i < layout->lineCount(); ++i) {
      QTextCursor start(text.document());
      start.setPosition(block.position() + layout->lineAt(i).textStart());
      const QRect caret = text.cursorRect(start);  // as tall as its line, in view coordinates
      const QRectF line(caret.left(), caret.top(), 1, layout->lineAt(i).height());
      if (line.top() >= height) continue;
      ++shown;
      EXPECT_LE(line.bottom(), height + 0.01)
          << what << ": line " << shown << " from " << line.top() << " to " << line.bottom()
          << " in a view " << height << " high";
    }
  }
  EXPECT_GT(shown, 0) << what;
}

TEST(AboutBox, TextAreaShowsTheAboutTextWithoutCuttingALine) {
  for (int lines : {1, 3, 4, 6, 10}) {
    TfrmAbout box(Brand("Tool", "", "", ManyLines(lines) + "End"));
    AboutControls controls(box);
    ASSERT_TRUE(controls.Complete());
    ShowAndSettle(box);
    const std::string what = std::to_string(lines + 1) + " lines";
    ExpectNoLineCut(*controls.text, what);
    // All of a short text shows: nothing to scroll.
    EXPECT_EQ(controls.bar->maximum(), 0) << what;
    // The button stays below the text, inside the box.
    EXPECT_GE(controls.ok->y(), controls.panel->geometry().bottom()) << what;
    EXPECT_TRUE(box.rect().contains(controls.ok->geometry())) << what;
    EXPECT_EQ(box.width(), 368) << what;
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << what;  // still a fixed dialog
  }
}

TEST(AboutBox, VeryLongTextGrowsTheBoxOnlyToItsLimitThenScrolls) {
  TfrmAbout box(Brand("Tool", "", "", ManyLines(200)));
  AboutControls controls(box);
  ASSERT_TRUE(controls.Complete());
  ShowAndSettle(box);
  EXPECT_LE(box.height(), 520);
  EXPECT_GT(controls.panel->height(), 71);
  EXPECT_GT(controls.bar->maximum(), 0);
  ExpectNoLineCut(*controls.text, "200 lines");
}

// ---------------------------------------------------------------------------------------------

TEST_F(AboutBoxWindowTest, EveryUseShowsANewModalBoxThatIsDestroyedWhenClosed) {
  BrandSettings = Brand("First", "2010", "Acme", "Text one");
  const SeenBox first = RunAboutCommand(window.get());
  EXPECT_EQ(first.caption, QStringLiteral("About First..."));
  EXPECT_EQ(first.modality, Qt::ApplicationModal);
  EXPECT_TRUE(first.box.isNull()) << "the box outlives its command";

  // A second use reads the settings anew: nothing is kept from the first box.
  BrandSettings = Brand("Second", "2011", "Acme", "Text two");
  const SeenBox second = RunAboutCommand(window.get());
  EXPECT_EQ(second.caption, QStringLiteral("About Second..."));
  EXPECT_TRUE(second.box.isNull());
  EXPECT_TRUE(window->findChildren<TfrmAbout*>().isEmpty());
  EXPECT_TRUE(window->isEnabled());
}

}  // namespace
}  // namespace vellora::test
