#include "UPreparedComparison.h"

#include "USegment.h"

namespace vellora {
namespace {

bool AnywhereCompares(const ComparisonSettings& settings) {
  return settings.MinLength != 0 && settings.UnitType >= UnitWords &&
         settings.UnitType <= UnitParagraphs;
}

// Each word's id in the other article's numbering: the dictionary's distinct words are looked up
// once, then every word takes its word's answer, in place of its own id.
std::vector<std::uint32_t> IdsInOther(WordDictionary& own, const WordDictionary& other) {
  const std::vector<std::uint32_t> mapped = own.MapInto(other);
  std::vector<std::uint32_t> ids = own.TakeIds();
  for (std::uint32_t& id : ids) id = mapped[id];
  return ids;
}

}  // namespace

PreparedArticle::PreparedArticle(ArticleSide side, std::u16string_view text, ArticleSpans& spans,
                                 const ComparisonSettings& settings)
    : side_(side), spans_(spans), blank_(TrimControlAndSpace(text).empty()) {
  if (blank_) return;
  dictionary_ = WordDictionary(text, spans.Words);
  if (side_ == ArticleSide::Second && settings.Mode == MatchMode::InOrder) {
    places_.emplace(dictionary_.Ids(), dictionary_.Size(),
                    DuplicateComparison::GramWordsFor(settings.MinLength, settings.UnitType));
  } else if (side_ == ArticleSide::First && settings.Mode == MatchMode::Anywhere &&
             AnywhereCompares(settings)) {
    source_ = std::make_unique<AnywhereSource>(spans, dictionary_.Ids(), settings.UnitType,
                                               settings.MinLength);
  }
}

PreparedArticle::~PreparedArticle() = default;

CompareOutcome ComparePreparedArticles(PreparedArticle& article1, PreparedArticle& article2,
                                       const ComparisonSettings& settings) {
  CompareOutcome outcome;
  outcome.Settings = settings;
  if (article1.blank_ || article2.blank_) return outcome;
  ArticleSpans& spans1 = article1.spans_;
  ArticleSpans& spans2 = article2.spans_;
  if (settings.Mode == MatchMode::Anywhere) {
    if (AnywhereCompares(settings)) {
      if (!article1.source_ || !article1.source_->Serves(settings.UnitType, settings.MinLength)) {
        article1.source_ = std::make_unique<AnywhereSource>(spans1, article1.dictionary_.Ids(),
                                                            settings.UnitType, settings.MinLength);
      }
      // Article 1's numbering: a word it lacks keeps kAbsentWord, which none of its words has.
      outcome.Blocks = article1.source_->Compare(
          spans1, spans2, IdsInOther(article2.dictionary_, article1.dictionary_), settings.Gap);
      article1.source_.reset();
    }
  } else {
    // Article 2's numbering, in which its lists are ordered.
    const std::int32_t gramWords =
        DuplicateComparison::GramWordsFor(settings.MinLength, settings.UnitType);
    if (!article2.places_ || article2.places_->GramWords() != gramWords) {
      article2.places_.emplace(article2.dictionary_.Ids(), article2.dictionary_.Size(), gramWords);
    }
    article2.places_->SetIds1(IdsInOther(article1.dictionary_, article2.dictionary_));
    DuplicateComparison comparison(spans1.Words, spans1.Sentences, spans1.Paragraphs, spans2.Words,
                                   std::move(*article2.places_), settings.MinLength,
                                   settings.UnitType);
    article2.places_.reset();
    comparison.Run();
    outcome.Blocks = comparison.Blocks();
  }
  outcome.Compared = true;
  outcome.Share = ComputeDuplicateShare(CountMarkedWords(spans2.Words), spans2.Words.Count());
  outcome.Share1 = ComputeDuplicateShare(CountMarkedWords(spans1.Words), spans1.Words.Count());
  return outcome;
}

}  // namespace vellora
