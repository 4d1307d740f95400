// Report and Print... from the window: enabled by Compare and disabled by a pane change, the save
// dialog with its two filters and remembered folder, web page and PDF written, a write error
// naming the file, a cancelled PDF and printing the PDF's layout.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

#include "NumericField.h"
#include "ReportCommands.h"
#include "UCompare.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

const QString kArticle1 =
    QStringLiteral("The quick brown fox jumps over the lazy dog. Alpha beta.");
const QString kArticle2 =
    QStringLiteral("Something else. The quick brown fox jumps over the lazy dog.");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReportWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // The remembered folder goes to settings of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
  }

  QPushButton* Report() { return Control<QPushButton>("btnReport"); }
  QPushButton* Print() { return Control<QPushButton>("btnPrint"); }

  void Compare() {
    Type(window->Pane1(), kArticle1);
    Type(window->Pane2(), kArticle2);
    Control<QSpinBox>("minNumWords")->setValue(3);
    Control<QPushButton>("btnCompareEx")->click();
  }

  // Clicks Report as if the user chose path with the given filter; returns the boxes shown.
  QStringList SaveReport(const QString& path, const QString& filter = QString()) {
    window->SetFileChooser([this, path, filter](QFileDialog& dialog) {
      seenFilters_ = dialog.nameFilters();
      seenFolder_ = dialog.directory().absolutePath();
      seenSave_ = dialog.acceptMode() == QFileDialog::AcceptSave;
      if (!filter.isEmpty()) dialog.selectNameFilter(filter);
      return path;
    });
    ModalCatcher catcher;
    Report()->click();
    return catcher.Texts();
  }

  QTemporaryDir settingsDir_;
  QTemporaryDir out_;
  QStringList seenFilters_;
  QString seenFolder_;
  bool seenSave_ = false;
};

TEST_F(ReportWindowTest, ReportAndPrintWaitForACompareAndStopAtAPaneChange) {
  EXPECT_FALSE(Report()->isEnabled());
  EXPECT_FALSE(Print()->isEnabled());
  Compare();
  EXPECT_TRUE(Report()->isEnabled());
  EXPECT_TRUE(Print()->isEnabled());
  Type(window->Pane2(), kArticle2 + QStringLiteral(" More."));
  EXPECT_FALSE(Report()->isEnabled());
  EXPECT_FALSE(Print()->isEnabled());
  Compare();
  EXPECT_TRUE(Report()->isEnabled());
  Control<QPushButton>("btnClearH1")->click();
  EXPECT_FALSE(Report()->isEnabled());
}

TEST_F(ReportWindowTest, ShortcutsAreCtrlSAndCtrlP) {
  EXPECT_EQ(Report()->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(Print()->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

TEST_F(ReportWindowTest, WebPageIsSavedThroughASaveDialogWithBothFilters) {
  Compare();
  const QString path = out_.filePath(QStringLiteral("mein Bericht ü.html"));
  EXPECT_TRUE(SaveReport(path).isEmpty());
  EXPECT_TRUE(seenSave_);
  EXPECT_EQ(seenFilters_,
            (QStringList{QStringLiteral("Web page (*.html)"), QStringLiteral("PDF (*.pdf)")}));
  const QString page = QString::fromUtf8(ReadAll(path));
  EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<h1>Vellora 2.0")));
  EXPECT_TRUE(page.contains(QStringLiteral("<h2>Article 1: Article 1</h2>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<dd>Anywhere</dd>")) ||
              page.contains(QStringLiteral("<dd>In order</dd>")));
  EXPECT_TRUE(page.contains(QStringLiteral("id=\"a1-b1\"")));
  EXPECT_TRUE(page.contains(QStringLiteral("id=\"a2-b1\"")));
  // The share the window shows.
  EXPECT_TRUE(
      page.contains(Control<NumericField>("edtDuplicate")->text() + QStringLiteral(" % (")));
}

TEST_F(ReportWindowTest, PdfFilterAddsTheExtensionAndWritesAPdf) {
  Compare();
  EXPECT_TRUE(
      SaveReport(out_.filePath(QStringLiteral("report")), QStringLiteral("PDF (*.pdf)")).isEmpty());
  EXPECT_TRUE(ReadAll(out_.filePath(QStringLiteral("report.pdf"))).startsWith("%PDF-"));
}

TEST_F(ReportWindowTest, TheDialogOpensWhereTheLastReportWent) {
  Compare();
  QDir(out_.path()).mkdir(QStringLiteral("reports here"));
  const QString folder = out_.filePath(QStringLiteral("reports here"));
  SaveReport(folder + QStringLiteral("/one.html"));
  SaveReport(out_.filePath(QStringLiteral("two.html")));
  EXPECT_EQ(seenFolder_, QDir(folder).absolutePath());
}

TEST_F(ReportWindowTest, WriteErrorNamesTheFileAndTheCause) {
  Compare();
  const QString path = out_.filePath(QStringLiteral("no such folder/report.html"));
  const QStringList boxes = SaveReport(path);
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].contains(QDir::toNativeSeparators(path))) << boxes[0].toStdString();
  EXPECT_TRUE(boxes[0].contains(QStringLiteral("No such file or directory")))
      << boxes[0].toStdString();
}

TEST_F(ReportWindowTest, CancelledDialogWritesNothing) {
  Compare();
  EXPECT_TRUE(SaveReport(QString()).isEmpty());
  EXPECT_TRUE(QDir(out_.path()).entryList(QDir::Files).isEmpty());
}

ComparisonReport LongReport() {
  std::u16string text1;
  std::u16string text2;
  for (int i = 0; i < 30000; ++i) {
    const std::u16string word = u"w" + std::u16string(1, char16_t(u'a' + i % 26)) +
                                std::u16string(1, char16_t(u'a' + i / 26 % 26));
    text1 += word + u" ";
    text2 += (i % 3 == 0 ? u"x" : u"") + word + u" ";
  }
  ArticleSpans spans1;
  ArticleSpans spans2;
  const CompareOutcome outcome = CompareArticles(text1, spans1, text2, spans2,
                                                 ComparisonSettings{MatchMode::Anywhere, 2, 0, 0});
  return MakeComparisonReport(u"Article 1", text1, spans1, u"Article 2", text2, spans2, outcome);
}

TEST_F(ReportWindowTest, CancellingTheProgressDialogLeavesNoPdf) {
  const QString path = out_.filePath(QStringLiteral("big.pdf"));
  QTimer cancel;
  QObject::connect(&cancel, &QTimer::timeout, [this] {
    if (auto* progress = window->findChild<QProgressDialog*>()) progress->cancel();
  });
  cancel.start(0);
  const ReportResult result = SaveReportWithProgress(window.get(), LongReport(), path);
  EXPECT_EQ(result.Outcome, ReportResult::Status::Cancelled);
  EXPECT_TRUE(
      QDir(out_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(ReportWindowTest, PrintingUsesThePdfLayout) {
  Compare();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = out_.filePath(QStringLiteral("printed.pdf"));
  printer.setOutputFileName(path);
  ComparisonReport report = LongReport();
  ASSERT_TRUE(PrintReportOn(printer, report));
  const QByteArray bytes = ReadAll(path);
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_GT(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 3);
}

}  // namespace
}  // namespace vellora::test
