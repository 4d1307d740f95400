// A comparison in two halves: each article is prepared alone (its word dictionary and the part
// of the index that needs that article only), so that the two can be prepared on two threads
// while they are read; ComparePreparedArticles then finishes with exactly the colours, blocks
// and shares that CompareSegmentedArticles gives.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "UAnywhere.h"
#include "UCompare.h"
#include "UMatchBlocks.h"
#include "UWordIds.h"
#include "UWordIndex.h"
#include "UWords.h"

namespace vellora {

enum class ArticleSide { First, Second };  // Article 1 or Article 2

class PreparedArticle {
 public:
  // The lists must be segmented from the text and fresh (no word coloured). Both are kept by
  // reference: the comparison writes the colours into the lists. The settings say what to build
  // ahead: Article 2's ordered lists for In order, Article 1's tiling index for Anywhere.
  PreparedArticle(ArticleSide side, std::u16string_view text, ArticleSpans& spans,
                  const ComparisonSettings& settings);
  PreparedArticle(const PreparedArticle&) = delete;
  PreparedArticle& operator=(const PreparedArticle&) = delete;
  ~PreparedArticle();

  // Blank after trimming codes 0 to 32: such an article is not compared.
  bool Blank() const { return blank_; }
  const WordDictionary& Dictionary() const { return dictionary_; }

 private:
  friend CompareOutcome ComparePreparedArticles(PreparedArticle& article1,
                                                PreparedArticle& article2,
                                                const ComparisonSettings& settings);

  ArticleSide side_;
  ArticleSpans& spans_;
  bool blank_;
  WordDictionary dictionary_;
  std::optional<WordIndex> places_;         // Article 2, In order
  std::unique_ptr<AnywhereSource> source_;  // Article 1, Anywhere
};

// Compares Article 1 with Article 2; what their preparation did not build for these settings is
// built here. Returns what CompareSegmentedArticles returns for the same lists. The prepared
// articles are used up: each pair is compared once.
CompareOutcome ComparePreparedArticles(PreparedArticle& article1, PreparedArticle& article2,
                                       const ComparisonSettings& settings);

}  // namespace vellora
