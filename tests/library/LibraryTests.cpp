// The library through its public interface, on a real SQLite file and real files in temporary
// folders: recall of planted passages, boundaries between documents, ranking, re-adding,
// removing, and pairs against a comparison of every pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Library.h"
#include "LibraryError.h"
#include "LibraryTestText.h"
#include "TempFolder.h"
#include "UCompare.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora {
namespace {

using test::Concat;
using test::Join;
using test::RandomWords;
using test::Slice;
using test::Words;

class LibraryTest : public ::testing::Test {
 protected:
  std::filesystem::path WriteDoc(const std::string& name, const Words& words) {
    return folder_.Write("docs/" + name, Join(words));
  }
  Library Open() { return Library::OpenFile(folder_ / "library.sqlite", true); }
  static std::map<std::string, CheckHit> ByTitle(const CheckReport& report) {
    std::map<std::string, CheckHit> hits;
    for (const CheckHit& hit : report.Hits) hits[hit.Document.Title] = hit;
    return hits;
  }

  test::TempFolder folder_;
};

TEST_F(LibraryTest, PlantedPassagesOfEightWordsAndLongerAreAllFound) {
  std::vector<Words> docs;
  for (std::uint32_t i = 0; i < 40; ++i) {
    docs.push_back(RandomWords(100 + i, 400));
    WriteDoc("d" + std::to_string(i) + ".txt", docs.back());
  }
  Library library = Open();
  const AddReport added = library.Add({folder_ / "docs"});
  ASSERT_EQ(added.Added, 40u);
  ASSERT_TRUE(added.Failures.empty());

  // Passage lengths planted, one document each; the 7-word one is below the minimum.
  const std::vector<std::size_t> lengths = {8, 8, 9, 10, 12, 16, 25, 60, 7};
  std::vector<Words> parts;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    parts.push_back(RandomWords(7000 + static_cast<std::uint32_t>(i), 30));
    parts.push_back(Slice(docs[i * 4], 17 * i + 3, lengths[i]));
  }
  Words article;
  for (const Words& part : parts) article.insert(article.end(), part.begin(), part.end());
  const CheckReport report = library.Check(FromUtf8(Join(article)));

  const auto hits = ByTitle(report);
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const std::string title = "d" + std::to_string(i * 4) + ".txt";
    if (lengths[i] < 8) {
      EXPECT_EQ(hits.count(title), 0u) << title;
      continue;
    }
    ASSERT_EQ(hits.count(title), 1u) << title << " with a passage of " << lengths[i];
    const CheckHit& hit = hits.at(title);
    EXPECT_EQ(hit.LongestPassage, static_cast<std::int32_t>(lengths[i]));
    EXPECT_EQ(hit.ArticleShare.Marked, static_cast<std::int32_t>(lengths[i]));
    EXPECT_EQ(hit.DocumentShare.Marked, static_cast<std::int32_t>(lengths[i]));
    EXPECT_EQ(hit.ArticleShare.Total, static_cast<std::int32_t>(article.size()));
    EXPECT_EQ(hit.DocumentShare.Total, 400);
    EXPECT_EQ(hit.Blocks, 1);
  }
  EXPECT_EQ(report.Hits.size(), lengths.size() - 1);
  // At a minimum of 7 the short passage is found too, by looking at every document.
  EXPECT_EQ(ByTitle(library.Check(FromUtf8(Join(article)), 7)).count("d32.txt"), 1u);
}

// Texts over a vocabulary of three words repeat runs of every length everywhere: the figures of
// every document found must be those of comparing it with the whole article, and every document
// that comparison finds must be found.
TEST_F(LibraryTest, CheckFiguresEqualComparingEachDocumentWithTheWholeArticle) {
  for (std::uint32_t i = 0; i < 12; ++i) {
    WriteDoc("d" + std::to_string(i) + ".txt", test::SmallVocabularyWords(i, 300 + 20 * i, 3));
  }
  Library library = Open();
  library.Add({folder_ / "docs"});
  const std::u16string article = FromUtf8(Join(test::SmallVocabularyWords(99, 2000, 3)));
  for (const std::int32_t minimum : {8, 10, 12}) {
    const CheckReport report = library.Check(article, minimum);
    std::map<DocumentId, CheckHit> found;
    for (const CheckHit& hit : report.Hits) found[hit.Document.Id] = hit;
    std::size_t expected = 0;
    for (const StoredDocument& doc : library.Documents()) {
      std::u16string docText = library.Text(doc.Id);
      std::u16string articleText = article;
      ArticleSpans s1, s2;
      const CompareOutcome direct = CompareArticles(
          docText, s1, articleText, s2, ComparisonSettings{MatchMode::Anywhere, minimum, 0, 0});
      if (direct.Blocks.empty()) {
        EXPECT_EQ(found.count(doc.Id), 0u);
        continue;
      }
      ++expected;
      ASSERT_EQ(found.count(doc.Id), 1u) << doc.Title << " at " << minimum;
      const CheckHit& hit = found.at(doc.Id);
      EXPECT_EQ(hit.ArticleShare.Marked, direct.Share.Marked) << doc.Title << " at " << minimum;
      EXPECT_EQ(hit.ArticleShare.Total, direct.Share.Total);
      EXPECT_EQ(hit.DocumentShare.Marked, direct.Share1.Marked) << doc.Title << " at " << minimum;
      EXPECT_EQ(hit.LongestPassage, direct.LongestPassage());
      EXPECT_EQ(hit.Blocks, static_cast<std::int32_t>(direct.Blocks.size()));
    }
    EXPECT_EQ(report.Hits.size(), expected);
    EXPECT_GT(expected, 0u);
  }
}

// The article's stretches are joined by a private-use character the document lacks; a document
// that holds all of them is compared with the whole article, with the same figures.
TEST_F(LibraryTest, ADocumentHoldingEveryPrivateUseCharacterIsStillComparedExactly) {
  std::u16string everyPrivateUse;
  for (char16_t c = 0xE000; c <= 0xF8FF; ++c) {
    everyPrivateUse += c;
    everyPrivateUse += u' ';
  }
  const Words shared = RandomWords(5, 30);
  folder_.Write("docs/odd.txt", Join(shared) + " " + ToUtf8(everyPrivateUse));
  Library library = Open();
  library.Add({folder_ / "docs"});
  const Words article =
      Concat({RandomWords(6, 20), Slice(shared, 3, 12), RandomWords(7, 20), Slice(shared, 20, 9)});
  const CheckReport report = library.Check(FromUtf8(Join(article)));
  ASSERT_EQ(report.Hits.size(), 1u);
  EXPECT_EQ(report.Hits[0].ArticleShare.Marked, 21);
  EXPECT_EQ(report.Hits[0].ArticleShare.Total, static_cast<std::int32_t>(article.size()));
  EXPECT_EQ(report.Hits[0].LongestPassage, 12);
  EXPECT_EQ(report.Hits[0].Blocks, 2);
}

TEST_F(LibraryTest, PassageAcrossTwoDocumentsDoesNotCount) {
  const Words first = RandomWords(1, 100);
  const Words second = RandomWords(2, 100);
  WriteDoc("a.txt", first);
  WriteDoc("b.txt", second);
  Library library = Open();
  library.Add({folder_ / "docs"});
  // The last 5 words of one document and the first 5 of the next, in a row: 10 words that
  // no single document holds.
  const Words article =
      Concat({RandomWords(3, 40), Slice(first, 95, 5), Slice(second, 0, 5), RandomWords(4, 40)});
  EXPECT_TRUE(library.Check(FromUtf8(Join(article))).Hits.empty());
  EXPECT_TRUE(library.Pairs({}).Pairs.empty());
  // Each half does count at its own length.
  EXPECT_EQ(library.Check(FromUtf8(Join(article)), 5).Hits.size(), 2u);
}

TEST_F(LibraryTest, ResultsAreRankedBySharedWordsOfTheArticle) {
  const Words a = RandomWords(11, 300);
  const Words b = RandomWords(12, 300);
  const Words c = RandomWords(13, 300);
  WriteDoc("a.txt", a);
  WriteDoc("b.txt", b);
  WriteDoc("c.txt", c);
  Library library = Open();
  library.Add({folder_ / "docs"});
  const Words article = Concat({Slice(a, 0, 10), RandomWords(14, 20), Slice(c, 50, 40),
                                RandomWords(15, 20), Slice(b, 100, 20), Slice(b, 200, 9)});
  const CheckReport report = library.Check(FromUtf8(Join(article)));
  ASSERT_EQ(report.Hits.size(), 3u);
  EXPECT_EQ(report.Hits[0].Document.Title, "c.txt");
  EXPECT_EQ(report.Hits[1].Document.Title, "b.txt");
  EXPECT_EQ(report.Hits[1].ArticleShare.Marked, 29);
  EXPECT_EQ(report.Hits[1].Blocks, 2);
  EXPECT_EQ(report.Hits[1].LongestPassage, 20);
  EXPECT_EQ(report.Hits[2].Document.Title, "a.txt");
  EXPECT_EQ(report.ArticleWords, static_cast<std::int64_t>(article.size()));

  const CheckReport top = library.Check(FromUtf8(Join(article)), 8, 2);
  ASSERT_EQ(top.Hits.size(), 2u);
  EXPECT_EQ(top.Hits[1].Document.Title, "b.txt");
}

TEST_F(LibraryTest, ReaddingAnUnchangedFileDoesNothing) {
  WriteDoc("a.txt", RandomWords(1, 200));
  Library library = Open();
  library.Add({folder_ / "docs"});
  const std::vector<StoredDocument> before = library.Documents();
  const AddReport again = library.Add({folder_ / "docs" / "a.txt", folder_ / "docs"});
  EXPECT_EQ(again.Unchanged, 1u);
  EXPECT_EQ(again.Added, 0u);
  const std::vector<StoredDocument> after = library.Documents();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].Id, before[0].Id);
  EXPECT_EQ(after[0].AddedMs, before[0].AddedMs);
}

TEST_F(LibraryTest, AChangedFileReplacesItsEntry) {
  const Words oldWords = RandomWords(1, 200);
  const Words newWords = RandomWords(2, 250);
  WriteDoc("a.txt", oldWords);
  Library library = Open();
  library.Add({folder_ / "docs"});
  WriteDoc("a.txt", newWords);
  const AddReport again = library.Add({folder_ / "docs"});
  EXPECT_EQ(again.Replaced, 1u);
  const std::vector<StoredDocument> docs = library.Documents();
  ASSERT_EQ(docs.size(), 1u);
  EXPECT_EQ(docs[0].Words, 250);
  EXPECT_EQ(library.Text(docs[0].Id), FromUtf8(Join(newWords)));
  EXPECT_TRUE(library.Check(FromUtf8(Join(Slice(oldWords, 10, 30)))).Hits.empty());
  EXPECT_EQ(library.Check(FromUtf8(Join(Slice(newWords, 10, 30)))).Hits.size(), 1u);
  // The old fingerprints went with the old entry: nothing is left to be a candidate.
  EXPECT_EQ(library.Check(FromUtf8(Join(Slice(oldWords, 10, 30)))).Candidates, 0u);
}

TEST_F(LibraryTest, RemovedDocumentsAreNoLongerFound) {
  const Words a = RandomWords(1, 200);
  const Words b = RandomWords(2, 200);
  const Words c = RandomWords(3, 200);
  WriteDoc("a.txt", a);
  WriteDoc("sub/b.txt", b);
  WriteDoc("sub/c.txt", c);
  Library library = Open();
  library.Add({folder_ / "docs"});
  const std::string article = Join(Concat({Slice(a, 0, 20), Slice(b, 0, 20), Slice(c, 0, 20)}));
  ASSERT_EQ(library.Check(FromUtf8(article)).Hits.size(), 3u);

  const DocumentId idOfA = library.Documents().front().Id;
  const RemoveReport byId = library.Remove({std::to_string(idOfA)});
  ASSERT_EQ(byId.Removed.size(), 1u);
  EXPECT_EQ(byId.Removed[0].Title, "a.txt");
  const RemoveReport byFolder = library.Remove({(folder_ / "docs" / "sub").string(), "999"});
  EXPECT_EQ(byFolder.Removed.size(), 2u);
  ASSERT_EQ(byFolder.NotFound.size(), 1u);
  EXPECT_NE(byFolder.NotFound[0].find("999"), std::string::npos);
  EXPECT_TRUE(library.Documents().empty());
  const CheckReport after = library.Check(FromUtf8(article));
  EXPECT_TRUE(after.Hits.empty());
  EXPECT_EQ(after.Candidates, 0u);
}

TEST_F(LibraryTest, UnreadableFilesAreReportedByNameAndTheOthersAdded) {
  WriteDoc("good.txt", RandomWords(1, 100));
  // A zip signature with nothing of a package behind it.
  folder_.Write("docs/broken.docx", std::string("PK\x03\x04", 4) + std::string(200, '\x01'));
  Library library = Open();
  const AddReport report = library.Add({folder_ / "docs", folder_ / "missing.txt"});
  EXPECT_EQ(report.Added, 1u);
  ASSERT_EQ(report.Failures.size(), 2u);
  std::set<std::string> named;
  for (const AddFailure& failure : report.Failures) {
    EXPECT_FALSE(failure.Cause.empty());
    if (failure.Cause.find("broken.docx") != std::string::npos) named.insert("broken");
    if (failure.Cause.find("missing.txt") != std::string::npos) named.insert("missing");
  }
  EXPECT_EQ(named, (std::set<std::string>{"broken", "missing"}));
  ASSERT_EQ(library.Documents().size(), 1u);
  EXPECT_EQ(library.Documents()[0].Title, "good.txt");
}

TEST_F(LibraryTest, FoldersContributeArticleFilesOnly) {
  WriteDoc("a.txt", RandomWords(1, 50));
  WriteDoc("deep/er/b.TXT", RandomWords(2, 50));
  folder_.Write("docs/picture.png", "\x89PNG");
  folder_.Write("docs/.hidden.txt", "hidden");
  Library library = Open();
  const AddReport report = library.Add({folder_ / "docs"});
  EXPECT_EQ(report.Added, 2u);
  EXPECT_TRUE(report.Failures.empty());
}

TEST_F(LibraryTest, SavedWebPagesInAFolderAreAddedAsTheirReadableText) {
  folder_.Write("docs/page.html",
                "<!DOCTYPE html><title>Spring</title><nav>Home Menu</nav>"
                "<main><h1>Spring</h1><p>Gar<em>den</em>ers plant early.</p></main>");
  Library library = Open();
  const AddReport report = library.Add({folder_ / "docs"});
  EXPECT_EQ(report.Added, 1u);
  ASSERT_EQ(library.Documents().size(), 1u);
  EXPECT_EQ(library.Text(library.Documents()[0].Id), u"Spring\nGardeners plant early.");
}

TEST_F(LibraryTest, StoredTextAndHashAreTheFilesText) {
  const std::string text = "Caf\xc3\xa9 and tea,\r\nsecond line\xc2\xa0here.";
  folder_.Write("docs/a.txt", text);
  Library library = Open();
  library.Add({folder_ / "docs"});
  const StoredDocument doc = library.Documents().at(0);
  // As a pane would hold it: line breaks as LF, a no-break space as a space.
  EXPECT_EQ(library.Text(doc.Id), FromUtf8("Caf\xc3\xa9 and tea,\nsecond line here."));
  EXPECT_EQ(doc.Words, 6);
  EXPECT_EQ(doc.Source, std::filesystem::weakly_canonical(folder_ / "docs" / "a.txt").string());
}

// Every pair of a small folder compared directly must give the same pairs and figures as the
// fingerprint search.
TEST_F(LibraryTest, PairsAgreeWithComparingEveryPair) {
  std::vector<Words> docs;
  for (std::uint32_t i = 0; i < 14; ++i) docs.push_back(RandomWords(300 + i, 150));
  // Planted passages between some pairs, of lengths around the minimum.
  const struct {
    std::size_t from, to, length;
  } plants[] = {{0, 1, 8},  {0, 2, 30}, {3, 4, 7},  {5, 6, 9},
                {5, 7, 60}, {8, 9, 12}, {1, 10, 8}, {11, 12, 100}};
  for (const auto& p : plants) {
    const Words passage = Slice(docs[p.from], 20, p.length);
    std::copy(passage.begin(), passage.end(), docs[p.to].begin() + 40);
  }
  for (std::size_t i = 0; i < docs.size(); ++i) WriteDoc("d" + std::to_string(i) + ".txt", docs[i]);
  Library library = Open();
  library.Add({folder_ / "docs"});
  const PairsReport report = library.Pairs({folder_ / "docs"});

  std::map<std::pair<std::string, std::string>, PairHit> found;
  for (const PairHit& pair : report.Pairs) found[{pair.First.Title, pair.Second.Title}] = pair;

  const std::vector<StoredDocument> stored = library.Documents();
  std::size_t expected = 0;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    for (std::size_t j = i + 1; j < stored.size(); ++j) {
      std::u16string t1 = library.Text(stored[i].Id);
      std::u16string t2 = library.Text(stored[j].Id);
      ArticleSpans s1, s2;
      const CompareOutcome direct =
          CompareArticles(t1, s1, t2, s2, ComparisonSettings{MatchMode::Anywhere, 8, UnitWords, 0});
      const auto key = std::pair(stored[i].Title, stored[j].Title);
      if (direct.Blocks.empty()) {
        EXPECT_EQ(found.count(key), 0u) << key.first << " " << key.second;
        continue;
      }
      ++expected;
      ASSERT_EQ(found.count(key), 1u) << key.first << " " << key.second;
      const PairHit& hit = found.at(key);
      EXPECT_EQ(hit.FirstShare.Marked, direct.Share1.Marked);
      EXPECT_EQ(hit.SecondShare.Marked, direct.Share.Marked);
      EXPECT_EQ(hit.LongestPassage, direct.LongestPassage());
    }
  }
  // The seven plants of 8 words or more, and two pairs that received the same passage of 8
  // and 9 words from one document (1 and 2 from 0, 6 and 7 from 5).
  EXPECT_EQ(expected, 9u);
  EXPECT_EQ(report.Pairs.size(), expected);
  for (std::size_t i = 1; i < report.Pairs.size(); ++i) {
    const auto share = [](const PairHit& p) {
      return std::max(p.FirstShare.Percent, p.SecondShare.Percent);
    };
    EXPECT_GE(share(report.Pairs[i - 1]), share(report.Pairs[i]));
  }
  // Limited to a folder, pairs stay inside it.
  EXPECT_TRUE(library.Pairs({folder_ / "elsewhere"}).Pairs.empty());
}

TEST_F(LibraryTest, CancellingStopsAfterTheCurrentBatch) {
  for (int i = 0; i < 30; ++i) WriteDoc("d" + std::to_string(i) + ".txt", RandomWords(i, 50));
  Library library = Open();
  std::atomic<bool> cancel{false};
  AddOptions options;
  options.BatchSize = 10;
  const AddReport report = library.Add(
      {folder_ / "docs"}, options,
      [&](std::size_t done, std::size_t) {
        if (done >= 10) cancel = true;
      },
      &cancel);
  EXPECT_TRUE(report.Cancelled);
  EXPECT_EQ(library.Documents().size(), 10u);
}

}  // namespace
}  // namespace vellora
