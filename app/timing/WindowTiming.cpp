// Offscreen timing of the main window on two big articles: a keystroke's change handling, Compare
// with the rebuild of both panes (in order and anywhere, with the shared-passage list), moving
// through a long passage list, and the keyword density with many occurrences.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "ArticlePane.h"
#include "FMain.h"
#include "NumericField.h"
#include "PaneHighlight.h"
#include "UCompare.h"
#include "URuns.h"
#include "VelloraApplication.h"

namespace {

// An article of the given number of words from a Zipf-like vocabulary; share of its sentences
// taken from base gives the comparison something to find.
QString MakeArticle(int words, unsigned seed, const QString& base = QString(), double shared = 0) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  QStringList baseSentences = base.split(QLatin1Char('.'), Qt::SkipEmptyParts);
  QString text;
  text.reserve(words * 6);
  int count = 0;
  int inSentence = 0;
  int inParagraph = 0;
  while (count < words) {
    if (inSentence == 0 && !baseSentences.isEmpty() && unit(random) < shared) {
      const QString& sentence = baseSentences[random() % baseSentences.size()];
      text += sentence.trimmed() + QStringLiteral(". ");
      count += static_cast<int>(sentence.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
      continue;
    }
    // Log-uniform ranks: word frequencies fall roughly as 1 / rank over 5,000 words.
    const int rank = static_cast<int>(std::exp(unit(random) * std::log(5000.0)));
    text += QStringLiteral("w%1").arg(rank);
    ++count;
    ++inSentence;
    if (inSentence >= 12) {
      text += QLatin1Char('.');
      inSentence = 0;
      if (++inParagraph >= 6) {
        text += QLatin1Char('\n');
        inParagraph = 0;
        continue;
      }
    }
    text += QLatin1Char(' ');
  }
  return text;
}

double Ms(const QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vellora::Application application(argc, argv);
  // The match mode is switched below; the user's own remembered choice stays as it is.
  QTemporaryDir settingsFolder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  TfrmMain window;
  window.show();
  Settle();

  const int words = 100000;
  const QString article1 = MakeArticle(words, 1);
  const QString article2 = MakeArticle(words, 2, article1, 0.3);

  QElapsedTimer clock;
  clock.start();
  window.Pane1().Edit()->setPlainText(article1);
  const double load1 = Ms(clock);
  window.Pane2().Edit()->setPlainText(article2);
  Settle();
  std::printf("articles: %d and %d words\n", window.Words1.Count(), window.Words2.Count());
  std::printf("load article 1 (setPlainText + change handling): %.1f ms\n", load1);

  // A keystroke in the middle of Article 1: the change handler alone, and the whole insertion.
  vellora::ArticlePane& pane = window.Pane1();
  QTextCursor cursor = pane.Edit()->textCursor();
  cursor.setPosition(pane.Length() / 2);
  pane.Edit()->setTextCursor(cursor);
  double worstHandler = 0;
  double worstKey = 0;
  double totalHandler = 0;
  const int keys = 20;
  for (int i = 0; i < keys; ++i) {
    clock.restart();
    window.rchArticle1Change();
    const double handler = Ms(clock);
    clock.restart();
    pane.Edit()->insertPlainText(QStringLiteral("x"));
    const double key = Ms(clock);
    totalHandler += handler;
    worstHandler = std::max(worstHandler, handler);
    worstKey = std::max(worstKey, key);
  }
  std::printf(
      "keystroke change handling (read, normalise, segment, counters): mean %.2f ms, "
      "worst %.2f ms\n",
      totalHandler / keys, worstHandler);
  std::printf("keystroke including the control's own insertion: worst %.2f ms\n", worstKey);

  // A keystroke that brings a no-break space, normalised in place.
  clock.restart();
  pane.Edit()->insertPlainText(QString(QChar(0x00A0)));
  std::printf("keystroke with a no-break space replaced in place: %.2f ms\n", Ms(clock));

  // The parts of Compare on their own: the engine's walk, then the rebuild of one pane.
  {
    vellora::ArticleSpans a1;
    vellora::ArticleSpans a2;
    clock.restart();
    vellora::CompareArticles(window.ArticleText1, a1, window.ArticleText2, a2, 3, 0);
    std::printf("  engine comparison alone: %.1f ms\n", Ms(clock));
    clock.restart();
    const auto runs = BuildRuns(window.ArticleText1, a1.Words);
    std::printf("  BuildRuns: %.1f ms (%zu runs)\n", Ms(clock), runs.size());
    TfrmMain other;
    other.show();
    Settle();
    clock.restart();
    other.Pane1().RebuildFromRuns(window.ArticleText1, runs);
    std::printf("  one pane rebuilt off screen and swapped in: %.1f ms\n", Ms(clock));
    // Worst case for the rebuild: every word in a colour other than its neighbours'.
    for (int i = 0; i < a1.Words.Count(); ++i) a1.Words[i].Color = PaletteColor(1 + i % 2);
    const auto alternating = BuildRuns(window.ArticleText1, a1.Words);
    clock.restart();
    other.Pane1().RebuildFromRuns(window.ArticleText1, alternating);
    std::printf("  worst case, colours alternating word by word (%zu runs): %.1f ms\n",
                alternating.size(), Ms(clock));
  }

  // Compare through the window, both panes rebuilt; minimum 1 word gives the most colour changes.
  for (const int minimum : {3, 1}) {
    window.findChild<QSpinBox*>("minNumWords")->setValue(minimum);
    clock.restart();
    window.btnCompareExClick();
    const double compare = Ms(clock);
    clock.restart();
    Settle();
    const double settle = Ms(clock);
    std::printf(
        "Compare at minimum %d word(s) with rebuild of both panes: %.1f ms (then %.1f ms "
        "of pending events); duplicate share %s%%\n",
        minimum, compare, settle,
        qPrintable(window.findChild<vellora::NumericField*>("edtDuplicate")->text()));
  }

  // Anywhere: the engine's tiling, both panes rebuilt and the passage list filled. The list is
  // painted once before the clock stops, as the user sees it.
  auto* mode = window.findChild<QComboBox*>("cbxMatch");
  auto* list = window.findChild<QTableView*>("lstPassages");
  mode->setCurrentIndex(1);
  window.findChild<QToolButton*>("btnPassages")->setChecked(true);
  // From here on the main page shows, as it does for the user, whatever page the brand next to
  // the program starts on: the panes and the list are laid out and painted for real.
  auto* pages = window.findChild<QTabWidget*>("pgcPrinc");
  pages->setCurrentWidget(window.findChild<QWidget*>("stsMain"));
  Settle();
  std::printf("main page shown: %s; passage list shown: %s\n",
              window.findChild<QWidget*>("stsMain")->isVisible() ? "yes" : "no",
              list->isVisible() ? "yes" : "no");
  for (const int minimum : {8, 3, 1}) {
    window.findChild<QSpinBox*>("minNumWords")->setValue(minimum);
    {
      vellora::ArticleSpans a1;
      vellora::ArticleSpans a2;
      vellora::ComparisonSettings settings;
      settings.Mode = vellora::MatchMode::Anywhere;
      settings.MinLength = minimum;
      clock.restart();
      vellora::CompareArticles(window.ArticleText1, a1, window.ArticleText2, a2, settings);
      std::printf("  anywhere engine alone at minimum %d: %.1f ms\n", minimum, Ms(clock));
    }
    clock.restart();
    window.btnCompareExClick();
    list->viewport()->repaint();
    const double compare = Ms(clock);
    clock.restart();
    Settle();
    const double settle = Ms(clock);
    std::printf(
        "Compare anywhere at minimum %d word(s) with rebuild of both panes and the list: %.1f ms "
        "(then %.1f ms of pending events); %d blocks; shares %s%% (Article 2), %s%% (Article 1)\n",
        minimum, compare, settle, window.Blocks().Count(),
        qPrintable(window.findChild<vellora::NumericField*>("edtDuplicate")->text()),
        qPrintable(window.findChild<vellora::NumericField*>("edtDuplicate1")->text()));
  }

  // The longest list of the three: scrolled page by page and rows selected across it, each
  // selection moving both panes to its block.
  {
    const int rows = list->model()->rowCount();
    QScrollBar* bar = list->verticalScrollBar();
    const int pages = 100;
    double worstPage = 0;
    clock.restart();
    for (int i = 0; i <= pages; ++i) {
      QElapsedTimer page;
      page.start();
      bar->setValue(bar->maximum() * i / pages);
      list->viewport()->repaint();
      worstPage = std::max(worstPage, Ms(page));
    }
    std::printf(
        "passage list of %d rows (%d shown at a time) scrolled in %d steps: %.1f ms in all, worst "
        "step %.2f ms\n",
        rows,
        list->viewport()->height() / std::max(1, list->verticalHeader()->defaultSectionSize()),
        pages, Ms(clock), worstPage);
    double worstSelect = 0;
    double totalSelect = 0;
    const int picks = 20;
    for (int i = 0; i < picks; ++i) {
      const int row =
          static_cast<int>((static_cast<long long>(rows - 1) * ((i * 7) % picks)) / (picks - 1));
      clock.restart();
      list->setCurrentIndex(list->model()->index(row, 0));
      list->viewport()->repaint();
      window.Pane1().Edit()->viewport()->repaint();
      window.Pane2().Edit()->viewport()->repaint();
      const double took = Ms(clock);
      totalSelect += took;
      worstSelect = std::max(worstSelect, took);
    }
    std::printf(
        "selecting a row (both panes scrolled to its block and repainted): mean %.1f ms, worst "
        "%.1f ms\n",
        totalSelect / picks, worstSelect);
    clock.restart();
    for (int i = 0; i < picks; ++i) window.actNextPassageExecute();
    std::printf("F3 to the next block: mean %.2f ms\n", Ms(clock) / picks);
  }
  mode->setCurrentIndex(0);

  // The literal run-by-run rebuild of one pane, for comparison (capped at 10,000 words).
  {
    TfrmMain small;
    small.show();
    small.Pane1().Edit()->setPlainText(MakeArticle(10000, 3));
    small.Pane2().Edit()->setPlainText(
        MakeArticle(10000, 4, small.Pane1().Edit()->toPlainText(), 0.3));
    small.btnCompareExClick();
    clock.restart();
    vellora::ApplyWordColorsRunByRun(small.Pane1(), small.ArticleText1, small.Words1);
    std::printf("run-by-run rebuild of a 10,000-word pane (reference path): %.1f ms\n", Ms(clock));
  }

  // Keyword density with 5,000 occurrences in Article 2.
  QString withKeyword = MakeArticle(words - 5000, 5);
  {
    QStringList parts = withKeyword.split(QLatin1Char(' '));
    const int step = static_cast<int>(parts.size() / 5000);
    for (int i = 0; i < 5000; ++i) parts[i * step] = QStringLiteral("zebra");
    withKeyword = parts.join(QLatin1Char(' '));
  }
  window.Pane2().Edit()->setPlainText(withKeyword);
  window.findChild<QLineEdit*>("edtKw2")->setText(QStringLiteral("zebra"));
  Settle();
  clock.restart();
  window.btnCalculateKwDensity2Click();
  const double density = Ms(clock);
  std::printf("Calculate Keyword Density, %s occurrences: %.1f ms (density %s%%)\n",
              qPrintable(window.findChild<vellora::NumericField*>("edtDensTotal2")->text()),
              density,
              qPrintable(window.findChild<vellora::NumericField*>("edtDensPerc2")->text()));

  // The same after a Compare has coloured the pane, so that clearing has many runs to undo.
  window.findChild<QSpinBox*>("minNumWords")->setValue(1);
  window.btnCompareExClick();
  Settle();
  clock.restart();
  window.btnCalculateKwDensity2Click();
  std::printf("Calculate Keyword Density after Compare at minimum 1 (%s%% duplicate): %.1f ms\n",
              qPrintable(window.findChild<vellora::NumericField*>("edtDuplicate")->text()),
              Ms(clock));
  return 0;
}
