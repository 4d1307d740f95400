// Import into a pane from real files: plain text, RTF with its formatting, Word and OpenDocument
// files; cancelling; a failed import that keeps the pane's text; the shared dialog's folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>

#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

QString SampleDir() {
  return QStringLiteral(VELLORA_TEST_DATA_DIR) + QStringLiteral("/import");
}

class ImportWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(temp.isValid());
  }

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = temp.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  // Imports path into the pane of the given article as if the user had chosen it.
  QStringList Import(const QString& path, int article = 1) {
    window->SetFileChooser([path](QFileDialog&) { return path; });
    ModalCatcher catcher;
    if (article == 1) {
      window->findChild<QPushButton*>(QStringLiteral("btnImport1"))->click();
    } else {
      window->btnImport2Click();
    }
    return catcher.Texts();
  }

  QString Words(int article) {
    return Control<NumericField>(article == 1 ? "edtWords1" : "edtWords2")->text();
  }

  QTemporaryDir temp;
};

TEST_F(ImportWindowTest, TextFileArrivesAsPlainTextAndIsCounted) {
  const QString path = Write(QStringLiteral("article.txt"), "First line.\r\nSecond line here.\r\n");
  EXPECT_TRUE(Import(path).isEmpty());
  EXPECT_EQ(window->Pane1().Text(), u"First line.\nSecond line here.\n");
  EXPECT_EQ(window->ArticleText1, u"First line.\nSecond line here.\n");
  EXPECT_EQ(Words(1), QStringLiteral("5"));
  EXPECT_EQ(Control<NumericField>("edtParag1")->text(), QStringLiteral("2"));
}

TEST_F(ImportWindowTest, ImportedTextIsNormalised) {
  const QString path = Write(QStringLiteral("quotes.txt"), "don\xE2\x80\x99t\xC2\xA0stop");
  Import(path);
  EXPECT_EQ(window->Pane1().Text(), u"don't stop");
  EXPECT_EQ(Words(1), QStringLiteral("2"));
}

TEST_F(ImportWindowTest, RtfFileKeepsItsFormatting) {
  Import(SampleDir() + QStringLiteral("/features.rtf"));
  const std::u16string text = window->Pane1().Text();
  const auto bold = text.find(u"Bold words");
  const auto italic = text.find(u"italic words");
  ASSERT_NE(bold, std::u16string::npos);
  ASSERT_NE(italic, std::u16string::npos);
  EXPECT_TRUE(BoldAt(window->Pane1(), static_cast<int>(bold) + 2));
  EXPECT_TRUE(FormatAt(window->Pane1(), static_cast<int>(italic) + 2).fontItalic());
  EXPECT_FALSE(BoldAt(window->Pane1(), static_cast<int>(italic) + 2));
  EXPECT_NE(text.find(u"Caf\u00E9"), std::u16string::npos);
  EXPECT_EQ(window->ArticleText1, text);
  EXPECT_GT(Control<NumericField>("edtWords1")->Value(), 10);
}

TEST_F(ImportWindowTest, DocumentsWithThreeParagraphsGiveThreeLines) {
  for (const char* name : {"three.docx", "three.odt", "three.rtf"}) {
    Import(SampleDir() + QLatin1Char('/') + QLatin1String(name));
    const std::u16string text = window->Pane1().Text();
    EXPECT_NE(text.find(u"First paragraph.\nSecond paragraph.\nThird paragraph."),
              std::u16string::npos)
        << name;
    EXPECT_EQ(Words(1), QStringLiteral("6")) << name;
    EXPECT_EQ(Control<NumericField>("edtParag1")->text(), QStringLiteral("3")) << name;
  }
}

TEST_F(ImportWindowTest, FolderNamedWithDocSendsAnOpenDocumentFileTheWordWay) {
  QFile sample(SampleDir() + QStringLiteral("/three.odt"));
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
  const QString path = Write(QStringLiteral("my.docs/three.odt"), sample.readAll());
  EXPECT_TRUE(Import(path).isEmpty());
  EXPECT_NE(window->Pane1().Text().find(u"First paragraph.\nSecond paragraph."),
            std::u16string::npos);
  EXPECT_EQ(Words(1), QStringLiteral("6"));
}

TEST_F(ImportWindowTest, OpenDocumentFileIsReadAsADocument) {
  EXPECT_TRUE(Import(SampleDir() + QStringLiteral("/three.odt")).isEmpty());
  EXPECT_NE(window->Pane1().Text().find(u"First paragraph.\nSecond paragraph.\nThird paragraph."),
            std::u16string::npos);
  EXPECT_EQ(Words(1), QStringLiteral("6"));
  EXPECT_EQ(window->ArticleText1, window->Pane1().Text());
}

TEST_F(ImportWindowTest, FeatureDocumentsImportIntoPaneTwo) {
  for (const char* name : {"features.docx", "features.odt"}) {
    EXPECT_TRUE(Import(SampleDir() + QLatin1Char('/') + QLatin1String(name), 2).isEmpty()) << name;
    const std::u16string text = window->Pane2().Text();
    EXPECT_NE(text.find(u"Last line."), std::u16string::npos) << name;
    EXPECT_NE(text.find(u"Caf\u00E9"), std::u16string::npos) << name;
    EXPECT_EQ(window->ArticleText2, text) << name;
    EXPECT_TRUE(window->Pane1().Text().empty()) << name;
  }
}

TEST_F(ImportWindowTest, CancellingChangesNothing) {
  Type(window->Pane1(), QStringLiteral("a b"));
  Type(window->Pane2(), QStringLiteral("a b"));
  window->btnCompareExClick();
  const std::vector<PaneRun> before = RunsOf(window->Pane1());
  window->SetFileChooser([](QFileDialog&) { return QString(); });
  window->btnImport1Click();
  EXPECT_EQ(RunsOf(window->Pane1()), before);
  EXPECT_EQ(Words(1), QStringLiteral("2"));
  EXPECT_NE(window->Words1[0].Color, NoHighlight);
}

TEST_F(ImportWindowTest, FailedImportKeepsThePaneAndNamesFileAndCause) {
  Type(window->Pane1(), QStringLiteral("My precious article."));
  const QString missing = temp.filePath(QStringLiteral("gone.txt"));
  const QStringList reports = Import(missing);
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains(QStringLiteral("gone.txt"))) << reports[0].toStdString();
  EXPECT_EQ(window->Pane1().Text(), u"My precious article.");
  EXPECT_EQ(window->ArticleText1, u"My precious article.");
  EXPECT_EQ(Words(1), QStringLiteral("3"));
}

TEST_F(ImportWindowTest, CorruptWordDocumentKeepsThePane) {
  Type(window->Pane2(), QStringLiteral("Keep me."));
  const QString broken =
      Write(QStringLiteral("broken.docx"), QByteArray("PK\x03\x04", 4) + "garbage");
  const QStringList reports = Import(broken, 2);
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains(QStringLiteral("broken.docx"))) << reports[0].toStdString();
  EXPECT_EQ(window->Pane2().Text(), u"Keep me.");
  EXPECT_EQ(Words(2), QStringLiteral("2"));
}

TEST_F(ImportWindowTest, BinaryGarbageNeverCrashes) {
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i) bytes.append(static_cast<char>((i * 73 + 11) % 256));
  for (const char* name : {"noise.bin", "noise.rtf", "noise.doc", "noise.odt"}) {
    Type(window->Pane1(), QStringLiteral("before"));
    Import(Write(QLatin1String(name), bytes));
    // Either the bytes were read as text or the pane kept its article; both are consistent.
    EXPECT_EQ(window->ArticleText1, window->Pane1().Text()) << name;
  }
}

TEST_F(ImportWindowTest, EmptyTextFileEmptiesThePane) {
  Type(window->Pane1(), QStringLiteral("old words"));
  Import(Write(QStringLiteral("empty.txt"), QByteArray()));
  EXPECT_EQ(window->Pane1().Text(), u"");
  EXPECT_EQ(Words(1), QStringLiteral("0"));
  EXPECT_EQ(Control<NumericField>("edtSenten1")->text(), QStringLiteral("0"));
}

TEST_F(ImportWindowTest, ImportLeavesTheOtherPaneAndTheDensitiesAloneAndEmptiesTheShare) {
  Type(window->Pane1(), QStringLiteral("a b c"));
  Type(window->Pane2(), QStringLiteral("a b c"));
  window->btnCompareExClick();
  Control<QLineEdit>("edtKw2")->setText(QStringLiteral("b"));
  window->btnCalculateKwDensity2Click();
  const std::vector<PaneRun> pane2 = RunsOf(window->Pane2());
  Import(Write(QStringLiteral("new.txt"), "entirely new text"));
  EXPECT_EQ(RunsOf(window->Pane2()), pane2);
  // The share described the texts before the import: it no longer holds.
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QString());
  EXPECT_EQ(Control<NumericField>("edtDensTotal2")->text(), QStringLiteral("1"));
  EXPECT_EQ(Control<NumericField>("edtDensPerc2")->text(), QStringLiteral("33.33"));
  EXPECT_FALSE(Comparing);
  // The imported text is plain: no highlight format carried over from before.
  for (const PaneRun& run : RunsOf(window->Pane1())) EXPECT_FALSE(run.bold);
}

TEST_F(ImportWindowTest, DialogOpensInTheDocumentsFolderThenInTheLastFilesFolder) {
  const QString first = Write(QStringLiteral("one/first.txt"), "first");
  const QString second = Write(QStringLiteral("two/second.txt"), "second");
  QStringList seen;
  QString next = first;
  window->SetFileChooser([&](QFileDialog& dialog) {
    seen << dialog.directory().absolutePath();
    return next;
  });
  window->btnImport1Click();
  next = second;
  window->btnImport2Click();
  next = QString();
  window->btnImport1Click();
  ASSERT_EQ(seen.size(), 3);
  EXPECT_EQ(seen[0], QDir(FirstImportFolder()).absolutePath());
  EXPECT_NE(seen[0], QDir(QCoreApplication::applicationDirPath()).absolutePath());
  EXPECT_EQ(seen[1], QFileInfo(first).absolutePath());
  EXPECT_EQ(seen[2], QFileInfo(second).absolutePath());
  EXPECT_EQ(window->Pane1().Text(), u"first");
  EXPECT_EQ(window->Pane2().Text(), u"second");
}

}  // namespace
}  // namespace vellora::test
