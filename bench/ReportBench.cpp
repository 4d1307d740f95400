// Speed of saving reports of two 100,000-word articles: the web page (rendered and written) and
// the PDF (built, laid out, painted and written). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <map>
#include <tuple>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "ArticleGenerator.h"
#include "HtmlReport.h"
#include "ReportFile.h"
#include "UCompare.h"

namespace {

// A comparison of the generated pair, as the window would report it.
const vellora::ComparisonReport& Report(int words, vellora::MatchMode mode, int minimum) {
  static std::map<std::tuple<int, int, int>, vellora::ComparisonReport> cache;
  const auto key = std::make_tuple(words, static_cast<int>(mode), minimum);
  auto it = cache.find(key);
  if (it == cache.end()) {
    const vellora::bench::ArticlePair pair = vellora::bench::GenerateArticlePair(words);
    vellora::ArticleSpans spans1;
    vellora::ArticleSpans spans2;
    vellora::ComparisonReport report;
    report.Version = "2.0";
    report.DateTime = "2026-12-09 22:00";
    report.Outcome = vellora::CompareArticles(pair.text1, spans1, pair.text2, spans2,
                                              vellora::ComparisonSettings{mode, minimum, 0, 0});
    report.Article1 = {u"first.txt", pair.text1, std::move(spans1.Words), spans1.Sentences.Count(),
                       spans1.Paragraphs.Count()};
    report.Article2 = {u"second.txt", pair.text2, std::move(spans2.Words), spans2.Sentences.Count(),
                       spans2.Paragraphs.Count()};
    it = cache.emplace(key, std::move(report)).first;
  }
  return it->second;
}

void Describe(benchmark::State& state, const vellora::ComparisonReport& report) {
  state.counters["blocks"] = static_cast<double>(report.Outcome.Blocks.size());
  state.counters["words"] =
      static_cast<double>(report.Article1.Words.Count() + report.Article2.Words.Count());
}

void BM_HtmlReport(benchmark::State& state) {
  const auto& report =
      Report(static_cast<int>(state.range(0)), static_cast<vellora::MatchMode>(state.range(1)),
             static_cast<int>(state.range(2)));
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("report.html"));
  for (auto _ : state) {
    const vellora::ReportResult result = vellora::WriteHtmlReport(report, path);
    if (!result.Written()) state.SkipWithError(result.Message.toStdString().c_str());
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
  Describe(state, report);
}
BENCHMARK(BM_HtmlReport)
    ->Args({100000, 0, 8})
    ->Args({100000, 1, 8})
    ->Args({100000, 1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PdfReport(benchmark::State& state) {
  const auto& report =
      Report(static_cast<int>(state.range(0)), static_cast<vellora::MatchMode>(state.range(1)),
             static_cast<int>(state.range(2)));
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("report.pdf"));
  for (auto _ : state) {
    const vellora::ReportResult result = vellora::WritePdfReport(report, path);
    if (!result.Written()) state.SkipWithError(result.Message.toStdString().c_str());
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
  Describe(state, report);
}
BENCHMARK(BM_PdfReport)
    ->Args({100000, 0, 8})
    ->Args({100000, 1, 8})
    ->Args({100000, 1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
