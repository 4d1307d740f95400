// Speed of the analysis engine on generated articles: segmentation throughput, a whole Compare
// at several sizes, and the literal walk for the ratio.
#include <benchmark/benchmark.h>

#include <map>

#include "ArticleGenerator.h"
#include "LiteralComparison.h"
#include "UCompare.h"
#include "UPlainText.h"
#include "USegment.h"

namespace {

const vellora::bench::ArticlePair& Pair(int words) {
  static std::map<int, vellora::bench::ArticlePair> cache;
  auto it = cache.find(words);
  if (it == cache.end())
    it = cache.emplace(words, vellora::bench::GenerateArticlePair(words)).first;
  return it->second;
}

void BM_SegmentText(benchmark::State& state) {
  const std::u16string text =
      vellora::bench::GenerateArticle(static_cast<std::size_t>(state.range(0)));
  vellora::ArticleSpans spans;
  for (auto _ : state) {
    vellora::SegmentText(text, spans);
    benchmark::DoNotOptimize(spans.Words.Count());
  }
  // Counted in bytes of the 8-bit text the same article would be.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.counters["words"] = spans.Words.Count();
}
BENCHMARK(BM_SegmentText)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// A whole Compare: segmentation of both texts, the index and the walk.
void BM_Compare(benchmark::State& state) {
  const auto& pair = Pair(static_cast<int>(state.range(0)));
  const auto unit = static_cast<std::int32_t>(state.range(1));
  const auto minLength = static_cast<std::int32_t>(state.range(2));
  vellora::ArticleSpans a1, a2;
  vellora::CompareOutcome outcome;
  for (auto _ : state) {
    outcome = vellora::CompareArticles(pair.text1, a1, pair.text2, a2, minLength, unit);
    benchmark::DoNotOptimize(outcome);
  }
  state.counters["dup%"] = outcome.Share.Percent;
  // Lists of both articles plus the index, per word of both articles.
  vellora::DuplicateComparison comparison(pair.text1, a1.Words, a1.Sentences, a1.Paragraphs,
                                          pair.text2, a2.Words, minLength, unit);
  const double bytes = static_cast<double>(
      a1.Words.MemoryBytes() + a1.Sentences.MemoryBytes() + a1.Paragraphs.MemoryBytes() +
      a2.Words.MemoryBytes() + a2.Sentences.MemoryBytes() + a2.Paragraphs.MemoryBytes() +
      comparison.IndexMemoryBytes());
  state.counters["bytes/word"] = bytes / (a1.Words.Count() + a2.Words.Count());
}
BENCHMARK(BM_Compare)
    ->ArgNames({"words", "unit", "min"})
    ->Args({1000, vellora::UnitWords, 3})
    ->Args({10000, vellora::UnitWords, 3})
    ->Args({100000, vellora::UnitWords, 3})
    ->Args({1000, vellora::UnitSentences, 1})
    ->Args({10000, vellora::UnitSentences, 1})
    ->Args({100000, vellora::UnitSentences, 1})
    ->Args({100000, vellora::UnitWords, 1})
    ->Args({100000, vellora::UnitWords, 8})
    ->Unit(benchmark::kMillisecond);

// A whole Compare in Anywhere mode: segmentation, word ids, the tiling, blocks and colours.
void BM_CompareAnywhere(benchmark::State& state) {
  const auto& pair = Pair(static_cast<int>(state.range(0)));
  const vellora::ComparisonSettings settings{
      vellora::MatchMode::Anywhere, static_cast<std::int32_t>(state.range(2)),
      static_cast<std::int32_t>(state.range(1)), static_cast<std::int32_t>(state.range(3))};
  vellora::ArticleSpans a1, a2;
  vellora::CompareOutcome outcome;
  for (auto _ : state) {
    outcome = vellora::CompareArticles(pair.text1, a1, pair.text2, a2, settings);
    benchmark::DoNotOptimize(outcome);
  }
  state.counters["dup%"] = outcome.Share.Percent;
  state.counters["blocks"] = static_cast<double>(outcome.Blocks.size());
}
BENCHMARK(BM_CompareAnywhere)
    ->ArgNames({"words", "unit", "min", "gap"})
    ->Args({10000, vellora::UnitWords, 8, 0})
    ->Args({100000, vellora::UnitWords, 8, 0})
    ->Args({100000, vellora::UnitWords, 3, 0})
    ->Args({100000, vellora::UnitWords, 8, 2})
    ->Args({100000, vellora::UnitSentences, 1, 0})
    ->Unit(benchmark::kMillisecond);

// Two articles of 100,000 words drawn from two words, three in four of them the same: every run
// recurs everywhere, which the hash indexes of both modes must survive without slowing down.
void BM_CompareRepetitive(benchmark::State& state) {
  std::u16string text1, text2;
  std::uint32_t seed = 5;
  for (int i = 0; i < 100000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    text1 += (seed >> 24) % 4 == 0 ? u"u " : u"t ";
    seed = seed * 1664525u + 1013904223u;
    text2 += (seed >> 24) % 4 == 0 ? u"u " : u"t ";
  }
  const vellora::ComparisonSettings settings{static_cast<vellora::MatchMode>(state.range(0)),
                                             static_cast<std::int32_t>(state.range(1)),
                                             vellora::UnitWords, 0};
  vellora::ArticleSpans a1, a2;
  vellora::CompareOutcome outcome;
  for (auto _ : state) {
    outcome = vellora::CompareArticles(text1, a1, text2, a2, settings);
    benchmark::DoNotOptimize(outcome);
  }
  state.counters["dup%"] = outcome.Share.Percent;
}
BENCHMARK(BM_CompareRepetitive)
    ->ArgNames({"anywhere", "min"})
    ->Args({0, 8})
    ->Args({1, 8})
    ->Args({1, 30})
    ->Unit(benchmark::kMillisecond);

// Reading a file's bytes into a pane's text: UTF-8 check, decoding and line breaks.
void BM_DecodeArticleBytes(benchmark::State& state) {
  const std::string bytes =
      vellora::ToUtf8(vellora::bench::GenerateArticle(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    std::u16string text = vellora::DecodeArticleBytes(bytes);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeArticleBytes)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_LiteralWalk(benchmark::State& state) {
  const auto& pair = Pair(static_cast<int>(state.range(0)));
  const auto unit = static_cast<std::int32_t>(state.range(1));
  const auto minLength = static_cast<std::int32_t>(state.range(2));
  vellora::ArticleSpans a1, a2;
  for (auto _ : state) {
    vellora::SegmentText(pair.text1, a1);
    vellora::SegmentText(pair.text2, a2);
    vellora::reference::LiteralComparison walk(pair.text1, a1.Words, a1.Sentences, a1.Paragraphs,
                                               pair.text2, a2.Words, minLength, unit);
    walk.Run();
    benchmark::DoNotOptimize(a2.Words[0].Color);
  }
}
BENCHMARK(BM_LiteralWalk)
    ->ArgNames({"words", "unit", "min"})
    ->Args({1000, vellora::UnitWords, 3})
    ->Args({10000, vellora::UnitWords, 3})
    ->Args({1000, vellora::UnitSentences, 1})
    ->Args({10000, vellora::UnitSentences, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
