// The main window: its start-up and shutdown, the brand shown in it, the two article panes with
// their counters, the compare bar and the commands that drive the analysis engine, the importers
// and the online services.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BrandSettings.h"
#include "ComparedBlocks.h"
#include "HttpClient.h"
#include "OnlineContext.h"
#include "UMatchBlocks.h"
#include "UWords.h"

class QFileDialog;
class TfrmImportAddress;
class QLineEdit;
class QMenu;
class QTimer;
class QUrl;
class TfrmLibrary;

namespace Ui {
class TfrmMain;
}

namespace vellora {
struct ComparisonReport;
class ArticlePane;
class MessageBalloon;
class NumericField;
class PassageListModel;

// The folder the open dialog shows the first time; later it shows the folder of the last file
// chosen.
QString FirstImportFolder();
}  // namespace vellora

// Set while Compare rewrites the panes; the pane change handlers do nothing meanwhile.
extern bool Comparing;

// Tool tips of the duplicate field when it shows no share: the texts changed after the last
// Compare, or Compare found a blank article.
inline constexpr char kChangedTextsHint[] = "Press Compare to compare the changed texts";
inline constexpr char kNothingToCompareHint[] = "Compare needs text in both articles.";

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  // Finds every file of the system in the folder of the program file.
  explicit TfrmMain(QWidget* parent = nullptr);
  // Finds them in programDir instead (tests start the window on a folder of their own).
  explicit TfrmMain(std::filesystem::path programDir, QWidget* parent = nullptr);
  ~TfrmMain() override;

  const std::filesystem::path& ProgramDir() const { return online_.programDir; }
  // What the online commands work with. Before the event loop runs, a caller may point the
  // update server, the message boxes and the address opener elsewhere; the Help, Make Money,
  // banner and welcome page links open addresses through the same opener.
  vellora::OnlineContext& Online() { return online_; }
  bool IsClosing() const { return isClosing; }
  const std::vector<std::string>& News() const { return NewsList; }

  // Shows Text (8-bit) in the balloon that points at the News button.
  void ShowNewsMessage(const std::string& Text);

  // The import commands ask this for the file to read; an empty result means cancelled. By
  // default it runs bsSkinOpenDialog1 modally.
  using FileChooser = std::function<QString(QFileDialog& dialog)>;
  void SetFileChooser(FileChooser chooser);

  // The library file the Library button opens; by default library.sqlite in the user's data
  // folder, as vellora-library uses.
  void SetLibraryFile(std::filesystem::path file) { libraryFile_ = std::move(file); }
  // The library window once the Library button has opened it.
  TfrmLibrary* LibraryWindow() { return libraryWindow_; }
  // The minimum length in the compare bar.
  std::int32_t MinimumWords() const;
  // Puts a library document into pane 1 or 2 and compares the panes in the Anywhere mode.
  void CompareWithDocument(int pane, const QString& title, const std::u16string& text);

  // Import from address runs its window through this; it returns the window's result. By
  // default the window runs modally.
  using AddressDialogRunner = std::function<int(TfrmImportAddress& dialog)>;
  void SetAddressDialogRunner(AddressDialogRunner runner) { addressRunner_ = std::move(runner); }

  // Replaces the whole look of the window and the dialogs it opens.
  void ApplySkin(const QString& styleSheet);

  vellora::ArticlePane& Pane1() { return *pane1_; }
  vellora::ArticlePane& Pane2() { return *pane2_; }
  QFileDialog& OpenDialog() { return *bsSkinOpenDialog1; }

  // The blocks of the comparison shown, as the passage list lists them; empty once either pane,
  // or its highlighting, changed.
  const vellora::ComparedBlocks& Blocks() const { return blocks_; }

  // Rebuilds a pane from its article's stored text with the colours of words.
  void ApplyWordColors(vellora::ArticlePane& pane, const TListWords& words);

  // Per-article state, as the change handlers and Compare leave it.
  std::u16string ArticleText1;
  std::u16string ArticleText2;
  vellora::ArticleSpans Article1;
  vellora::ArticleSpans Article2;
  TListWords& Words1 = Article1.Words;
  TListSentences& Sentences1 = Article1.Sentences;
  TListParagraphs& Paragraphs1 = Article1.Paragraphs;
  TListWords& Words2 = Article2.Words;
  TListSentences& Sentences2 = Article2.Sentences;
  TListParagraphs& Paragraphs2 = Article2.Paragraphs;

 public slots:
  void rchArticle1Change();
  void rchArticle2Change();
  void btnCompareExClick();
  void btnReportClick();
  void btnPrintClick();
  void btnLibraryClick();
  void btnClearH1Click();
  void btnClearH2Click();
  void btnCalculateKwDensity1Click();
  void btnCalculateKwDensity2Click();
  void btnImport1Click();
  void btnImport2Click();
  void btnImportAddress1Click();
  void btnImportAddress2Click();
  void btnClear1Click();
  void btnClear2Click();
  void mnuPasteClick();
  void MenuItem1Click();
  void minNumWordsChange();
  void cbxTypeChange();
  void cbxMatchChange();
  void spnGapChange();
  void btnPassagesClick(bool expanded);
  void actNextPassageExecute();
  void actPreviousPassageExecute();

  void btnThanksClick();
  void imgBannerClick();
  void gifBannerClick();
  void btnMakeMoneyClick();
  void btnHelpClick();
  void btnAboutClick();
  void btnNewsClick();
  void btnUpdateClick();
  void Timer1Timer();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void FormDestroy();
  void LoadBrandSettings();
  void ShowBrandBanner(const vellora::BrandLook& look);
  void CentreBanner();
  void prfWelcomeLinkClick(const QUrl& link);

  // The controls and state of one article; the twin handlers differ only in this.
  struct Side {
    vellora::ArticlePane* pane = nullptr;
    std::u16string* storedText = nullptr;
    vellora::ArticleSpans* spans = nullptr;
    vellora::NumericField* words = nullptr;
    vellora::NumericField* sentences = nullptr;
    vellora::NumericField* paragraphs = nullptr;
    QLineEdit* keyword = nullptr;
    vellora::NumericField* densityPercent = nullptr;
    vellora::NumericField* densityTotal = nullptr;
    QString source;  // name of the file imported into the pane; empty for typed text
  };

  void SetUpPane(Side& side, vellora::ArticlePane* pane, const QString& menuName,
                 const QString& itemName);
  void ArticleChange(Side& side);
  // Empties every result of the last Compare that describes the texts as they were (the
  // duplicate share; whatever else shows a comparison's result belongs here too). The colours in
  // the panes stay. Runs on every change of either pane after a Compare.
  void ClearComparisonResults();
  void LinkLabelClick(const QString& link);
  void ClearHighlightCommand(Side& side);
  void CalculateKeywordDensity(Side& side);
  void Import(Side& side);
  void ImportFromAddress(Side& side);
  QString ChooseFile();
  // What the last Compare found, as its report shows it; pane changes forget it.
  vellora::ComparisonReport CurrentReport() const;
  void ForgetComparison();

  // The shared-passage list and the navigation between blocks.
  void ShowBlocks(std::vector<vellora::MatchBlock> blocks);
  void ClearBlocks();
  void UpdatePassagesCaption();
  void ShowPassageList(bool shown);
  void GoToPassage(std::int32_t row);
  void MarkPassageRow(std::int32_t row);
  void RevealPassage(std::int32_t row);
  void ShowPartner(int side, std::int32_t position);
  void SaveMatchChoice();

  std::unique_ptr<Ui::TfrmMain> ui;
  vellora::ArticlePane* pane1_ = nullptr;
  vellora::ArticlePane* pane2_ = nullptr;
  Side side1_;
  Side side2_;
  QFileDialog* bsSkinOpenDialog1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QMenu* PopupMenu2 = nullptr;
  QTimer* Timer1 = nullptr;
  FileChooser chooser_;
  std::filesystem::path libraryFile_;
  TfrmLibrary* libraryWindow_ = nullptr;
  AddressDialogRunner addressRunner_;
  bool shownOnce_ = false;
  vellora::ComparedBlocks blocks_;
  vellora::PassageListModel* passages_ = nullptr;
  // Set while the list's current row is moved to follow the panes, not to lead them.
  bool followingPanes_ = false;
  // The duplicate field shows the share of the last Compare, which the texts still match.
  bool comparisonShown_ = false;
  std::optional<vellora::CompareOutcome> lastCompare_;

  // The closing flag outlives the client that reads it.
  bool isClosing = false;
  vellora::HttpClient IdHTTP1;
  std::vector<std::string> NewsList;
  vellora::MessageBalloon* LMDMessageHint1 = nullptr;
  vellora::OnlineContext online_;
};
