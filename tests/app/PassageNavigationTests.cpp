// The shared-passage helpers of the window without the window: block ranges in the panes, the
// next and previous block, a word's partner, the rows of the passage list and the stored match
// choice.
#include <gtest/gtest.h>

#include <QBrush>
#include <QColor>
#include <QSettings>
#include <QTemporaryDir>
#include <ostream>

#include "ComparedBlocks.h"
#include "MatchChoice.h"
#include "PassageListModel.h"
#include "UCompare.h"
#include "UWords.h"

namespace vellora {

void PrintTo(const PaneRange& range, std::ostream* out) {
  *out << "{start " << range.Start << ", length " << range.Length << "}";
}

namespace test {
namespace {

// Two articles compared as the window compares them, the blocks kept as the window keeps them.
struct Compared {
  std::u16string text1;
  std::u16string text2;
  ArticleSpans spans1;
  ArticleSpans spans2;
  CompareOutcome outcome;
  ComparedBlocks blocks;

  Compared(std::u16string a1, std::u16string a2, int minimum, MatchMode mode, int gap = 0)
      : text1(std::move(a1)), text2(std::move(a2)) {
    ComparisonSettings settings;
    settings.Mode = mode;
    settings.MinLength = minimum;
    settings.Gap = gap;
    outcome = CompareArticles(text1, spans1, text2, spans2, settings);
    blocks.Set(outcome.Blocks, spans1.Words, spans2.Words, text2);
  }

  // The range of a piece of text that occurs once in an article.
  PaneRange In(int side, std::u16string_view piece) const {
    const std::u16string& text = side == 1 ? text1 : text2;
    const std::size_t at = text.find(piece);
    EXPECT_NE(at, std::u16string::npos);
    EXPECT_EQ(text.find(piece, at + 1), std::u16string::npos) << "occurs twice";
    return {static_cast<std::int32_t>(at), static_cast<std::int32_t>(piece.size())};
  }
};

const char16_t* kMoved1 = u"alpha beta gamma delta. one two three four";
const char16_t* kMoved2 = u"one two three four, and then alpha beta gamma.";

TEST(ComparedBlocks, BlockRangesRunFromFirstToLastWordOnEachSide) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  ASSERT_EQ(c.blocks.Count(), 2);
  EXPECT_EQ(c.blocks.BlockRange(0, 1), c.In(1, u"one two three four"));
  EXPECT_EQ(c.blocks.BlockRange(0, 2), c.In(2, u"one two three four"));
  EXPECT_EQ(c.blocks.BlockRange(1, 1), c.In(1, u"alpha beta gamma"));
  EXPECT_EQ(c.blocks.BlockRange(1, 2), c.In(2, u"alpha beta gamma"));
}

TEST(ComparedBlocks, RangeOfNoBlockIsEmpty) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  EXPECT_EQ(c.blocks.BlockRange(-1, 1), PaneRange{});
  EXPECT_EQ(c.blocks.BlockRange(2, 2), PaneRange{});
}

TEST(ComparedBlocks, NextAndPreviousGoRoundAtTheEnds) {
  const Compared c(u"a b c d e f g h i", u"g h i x d e f y a b c", 3, MatchMode::Anywhere);
  ASSERT_EQ(c.blocks.Count(), 3);
  EXPECT_EQ(c.blocks.Next(-1), 0);
  EXPECT_EQ(c.blocks.Next(0), 1);
  EXPECT_EQ(c.blocks.Next(2), 0);
  EXPECT_EQ(c.blocks.Previous(-1), 2);
  EXPECT_EQ(c.blocks.Previous(2), 1);
  EXPECT_EQ(c.blocks.Previous(0), 2);
}

TEST(ComparedBlocks, WithoutBlocksThereIsNoNextOrPrevious) {
  const Compared c(u"a b c", u"x y z", 1, MatchMode::Anywhere);
  EXPECT_TRUE(c.blocks.Empty());
  EXPECT_EQ(c.blocks.Next(-1), -1);
  EXPECT_EQ(c.blocks.Previous(-1), -1);
}

TEST(ComparedBlocks, PartnerOfAWordOfArticleTwoIsItsSourcePassage) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  const PartnerPlace partner = c.blocks.PartnerAt(2, c.In(2, u"beta").Start + 1);
  EXPECT_EQ(partner.Block, 1);
  EXPECT_EQ(partner.Range, c.In(1, u"alpha beta gamma"));
}

TEST(ComparedBlocks, PartnerOfAWordOfArticleOneIsItsCopy) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  const PartnerPlace partner = c.blocks.PartnerAt(1, c.In(1, u"three").Start);
  EXPECT_EQ(partner.Block, 0);
  EXPECT_EQ(partner.Range, c.In(2, u"one two three four"));
}

TEST(ComparedBlocks, CaretJustAfterAWordFindsThatWord) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  const PaneRange gamma = c.In(2, u"gamma");
  EXPECT_EQ(c.blocks.PartnerAt(2, gamma.Start + gamma.Length).Block, 1);
}

TEST(ComparedBlocks, UnmarkedWordsAndPlacesOutsideTheTextHaveNoPartner) {
  const Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  EXPECT_EQ(c.blocks.PartnerAt(2, c.In(2, u"then").Start).Block, -1);
  EXPECT_EQ(c.blocks.PartnerAt(1, c.In(1, u"delta").Start).Block, -1);
  EXPECT_EQ(c.blocks.PartnerAt(2, -5).Block, -1);
  EXPECT_EQ(c.blocks.PartnerAt(2, 100000).Block, -1);
  EXPECT_EQ(c.blocks.PartnerAt(3, 0).Block, -1);
}

TEST(ComparedBlocks, PassageCopiedTwiceShowsTheLaterCopyFromArticleOne) {
  // Both copies come from the one place in Article 1; the later block's colour wins there.
  const Compared c(u"red green blue", u"red green blue and red green blue", 3, MatchMode::Anywhere);
  ASSERT_EQ(c.blocks.Count(), 2);
  const PartnerPlace partner = c.blocks.PartnerAt(1, 0);
  EXPECT_EQ(partner.Block, 1);
  EXPECT_EQ(partner.Range, c.blocks.BlockRange(1, 2));
  EXPECT_EQ(c.blocks.PartnerAt(2, 0).Range, c.In(1, u"red green blue"));
}

TEST(ComparedBlocks, InOrderBlocksAreNavigatedTheSameWay) {
  const Compared c(u"The quick brown fox jumps over the lazy dog.",
                   u"A quick brown fox jumps over a lazy dog.", 3, MatchMode::InOrder);
  ASSERT_GE(c.blocks.Count(), 1);
  EXPECT_EQ(c.blocks.BlockRange(0, 2), c.In(2, u"quick brown fox jumps over"));
  EXPECT_EQ(c.blocks.PartnerAt(2, c.In(2, u"fox").Start).Range,
            c.In(1, u"quick brown fox jumps over"));
}

TEST(ComparedBlocks, FirstWordsStopAtEightWordsAndMarkTheCut) {
  const Compared c(u"w1 w2 w3 w4 w5 w6 w7 w8 w9 w10", u"x w1 w2 w3 w4 w5 w6 w7 w8 w9 w10", 3,
                   MatchMode::Anywhere);
  ASSERT_EQ(c.blocks.Count(), 1);
  EXPECT_EQ(c.blocks.FirstWords(0), u"w1 w2 w3 w4 w5 w6 w7 w8\u2026");
  EXPECT_EQ(c.blocks.FirstWords(0, 20), u"w1 w2 w3 w4 w5 w6 w7 w8 w9 w10");
  EXPECT_EQ(c.blocks.FirstWords(0, 20, 5), u"w1 w2\u2026");
}

TEST(ComparedBlocks, FirstWordsShowLineBreaksAsSpaces) {
  const Compared c(u"one two\nthree four", u"one two\nthree four", 4, MatchMode::Anywhere);
  ASSERT_EQ(c.blocks.Count(), 1);
  EXPECT_EQ(c.blocks.FirstWords(0), u"one two three four");
}

TEST(ComparedBlocks, FirstWordsNeverEndInHalfASurrogatePair) {
  const Compared c(u"ab \U0001F600x cd", u"ab \U0001F600x cd", 1, MatchMode::Anywhere);
  ASSERT_GE(c.blocks.Count(), 1);
  const std::u16string first = c.blocks.FirstWords(0, 8, 4);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first, u"ab \u2026");
}

TEST(ComparedBlocks, ClearForgetsEverything) {
  Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  c.blocks.Clear();
  EXPECT_EQ(c.blocks.Count(), 0);
  EXPECT_EQ(c.blocks.PartnerAt(2, 0).Block, -1);
  EXPECT_EQ(c.blocks.FirstWords(0), u"");
}

TEST(PassageListModel, OneRowPerBlockWithColourLengthsAndFirstWords) {
  const Compared c(u"a b c d e f g h i", u"g h i x d e f y z a b c", 3, MatchMode::Anywhere);
  PassageListModel model(c.blocks);
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.columnCount(), PassageListModel::ColumnCount);
  for (int row = 0; row < 3; ++row) {
    const MatchBlock& block = c.outcome.Blocks[static_cast<std::size_t>(row)];
    EXPECT_EQ(model.index(row, PassageListModel::ColumnBlock).data().toInt(), row + 1);
    EXPECT_EQ(model.index(row, PassageListModel::ColumnWords1).data().toInt(), block.Words1);
    EXPECT_EQ(model.index(row, PassageListModel::ColumnWords2).data().toInt(), block.Words2);
    const QColor colour = model.index(row, PassageListModel::ColumnBlock)
                              .data(Qt::BackgroundRole)
                              .value<QBrush>()
                              .color();
    EXPECT_EQ(colour, QColor(block.Color & 0xFF, (block.Color >> 8) & 0xFF, block.Color >> 16));
  }
  EXPECT_EQ(model.index(0, PassageListModel::ColumnFirstWords).data().toString(),
            QStringLiteral("g h i"));
  EXPECT_EQ(model.index(2, PassageListModel::ColumnFirstWords).data().toString(),
            QStringLiteral("a b c"));
  EXPECT_EQ(model.index(0, PassageListModel::ColumnWords1).data().toInt(), 3);
  EXPECT_FALSE(model.index(3, 0).data().isValid());
}

TEST(PassageListModel, ReloadAfterClearingLeavesNoRows) {
  Compared c(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  PassageListModel model(c.blocks);
  ASSERT_EQ(model.rowCount(), 2);
  int resets = 0;
  QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
  c.blocks.Clear();
  model.Reload();
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(PassageListModel, HeadersNameTheColumns) {
  ComparedBlocks none;
  PassageListModel model(none);
  EXPECT_EQ(model.headerData(PassageListModel::ColumnWords1, Qt::Horizontal).toString(),
            QStringLiteral("Article 1 words"));
  EXPECT_EQ(model.headerData(PassageListModel::ColumnWords2, Qt::Horizontal).toString(),
            QStringLiteral("Article 2 words"));
}

class MatchChoiceStore : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QSettings Open() { return QSettings(folder.filePath("vellora.ini"), QSettings::IniFormat); }
  QTemporaryDir folder;
};

TEST_F(MatchChoiceStore, NothingStoredGivesInOrderWithoutGaps) {
  QSettings settings = Open();
  EXPECT_EQ(LoadMatchChoice(settings), MatchChoice{});
}

TEST_F(MatchChoiceStore, SavedChoiceComesBack) {
  {
    QSettings settings = Open();
    SaveMatchChoice(settings, {MatchMode::Anywhere, 3});
  }
  QSettings settings = Open();
  EXPECT_EQ(LoadMatchChoice(settings), (MatchChoice{MatchMode::Anywhere, 3}));
}

struct StoredCase {
  const char* mode;
  const char* gap;
  MatchMode expectedMode;
  int expectedGap;
};

class MatchChoiceBadValues : public MatchChoiceStore,
                             public ::testing::WithParamInterface<StoredCase> {};

TEST_P(MatchChoiceBadValues, OutOfRangePartsFallBackToTheDefault) {
  {
    QSettings settings = Open();
    settings.setValue("Compare/Match", QString::fromLatin1(GetParam().mode));
    settings.setValue("Compare/Gap", QString::fromLatin1(GetParam().gap));
  }
  QSettings settings = Open();
  const MatchChoice choice = LoadMatchChoice(settings);
  EXPECT_EQ(choice.Mode, GetParam().expectedMode);
  EXPECT_EQ(choice.Gap, GetParam().expectedGap);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, MatchChoiceBadValues,
    ::testing::Values(StoredCase{"anywhere", "-1", MatchMode::Anywhere, 0},
                      StoredCase{"sideways", "2", MatchMode::InOrder, 2},
                      StoredCase{"", "x", MatchMode::InOrder, 0},
                      StoredCase{"ANYWHERE", "1001", MatchMode::InOrder, 0},
                      StoredCase{"in-order", "99999999999999", MatchMode::InOrder, 0},
                      StoredCase{"anywhere", "1000", MatchMode::Anywhere, 1000}));

TEST_F(MatchChoiceStore, PassageListIsHiddenUnlessStoredShown) {
  {
    QSettings settings = Open();
    EXPECT_FALSE(LoadPassagesShown(settings));
    SavePassagesShown(settings, true);
  }
  {
    QSettings settings = Open();
    EXPECT_TRUE(LoadPassagesShown(settings));
    settings.setValue("Compare/PassagesShown", "garbage");
    EXPECT_FALSE(LoadPassagesShown(settings));
  }
}

TEST(GapUnit, FollowsTheUnitChoice) {
  EXPECT_EQ(GapUnitText(0), QStringLiteral("word(s)"));
  EXPECT_EQ(GapUnitText(1), QStringLiteral("sentence(s)"));
  EXPECT_EQ(GapUnitText(2), QStringLiteral("paragraph(s)"));
  EXPECT_EQ(GapUnitText(-1), QStringLiteral("word(s)"));
}

}  // namespace
}  // namespace test
}  // namespace vellora
