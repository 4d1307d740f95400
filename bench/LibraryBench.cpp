// The library at scale, whole processes of the real program: 10,000 generated documents of
// 1,000 words added, articles of 1,000 and 100,000 words checked, recall of planted passages,
// database size per stored word, and the pairs of the whole library.
//   vellora_library_bench [--documents N] [--folder DIR]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ArticleGenerator.h"
#include "Library.h"
#include "UPlainText.h"

namespace {

using vellora::bench::CorpusGenerator;

struct Planted {
  int Document = 0;
  int Length = 0;
};

struct Timing {
  double Wall = 0;  // seconds
  double Cpu = 0;   // user and system seconds of the process
};

Timing RunTimed(const std::vector<std::string>& args, const std::string& outFile) {
  std::vector<char*> argv;
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(outFile.c_str(), "w", stdout)) _exit(97);
    execv(argv[0], argv.data());
    _exit(98);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Timing timing;
  timing.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.Cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s %s failed with status %d\n", args[0].c_str(), args[3].c_str(), status);
  }
  return timing;
}

void WriteFile(const std::filesystem::path& file, const std::u16string& text) {
  std::ofstream out(file, std::ios::binary);
  out << vellora::ToUtf8(text);
}

// An article of about `words` words: fresh text with passages of 8 to 40 words planted from
// random documents (one passage in every 50 words).
std::u16string MakeArticle(CorpusGenerator& generator, const std::vector<std::vector<int>>& docs,
                           int words, std::mt19937& rng, std::vector<Planted>& planted) {
  std::vector<int> ids;
  while (static_cast<int>(ids.size()) < words) {
    const std::vector<int> fresh = generator.Words(30);
    ids.insert(ids.end(), fresh.begin(), fresh.end());
    const int doc = static_cast<int>(rng() % docs.size());
    const int length = 8 + static_cast<int>(rng() % 33);
    const int from = static_cast<int>(rng() % (docs[static_cast<std::size_t>(doc)].size() - 40));
    const auto& source = docs[static_cast<std::size_t>(doc)];
    ids.insert(ids.end(), source.begin() + from, source.begin() + from + length);
    planted.push_back(Planted{doc, length});
  }
  return generator.Render(ids);
}

double Recall(vellora::Library& library, const std::u16string& article,
              const std::vector<Planted>& planted, const std::vector<vellora::DocumentId>& ids) {
  const vellora::CheckReport report = library.Check(article);
  std::set<vellora::DocumentId> found;
  for (const auto& hit : report.Hits) found.insert(hit.Document.Id);
  std::size_t hits = 0;
  for (const Planted& p : planted) hits += found.count(ids[static_cast<std::size_t>(p.Document)]);
  return 100.0 * static_cast<double>(hits) / static_cast<double>(planted.size());
}

}  // namespace

int main(int argc, char** argv) {
  int documents = 10'000;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vellora-library-bench";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--documents")) documents = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--folder")) folder = argv[i + 1];
  }
  const std::string tool = VELLORA_LIBRARY_TOOL;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "docs");
  const std::filesystem::path lib = folder / "library.sqlite";

  CorpusGenerator generator(2026);
  std::mt19937 rng(7);
  std::vector<std::vector<int>> docs;
  for (int i = 0; i < documents; ++i) docs.push_back(generator.Words(1000));
  // One document in a hundred copies a passage of 20 to 200 words from another, for pairs.
  for (int i = 0; i < documents / 100; ++i) {
    auto& to = docs[static_cast<std::size_t>(rng() % docs.size())];
    const auto& from = docs[static_cast<std::size_t>(rng() % docs.size())];
    const int length = 20 + static_cast<int>(rng() % 181);
    std::copy(from.begin() + 100, from.begin() + 100 + length, to.begin() + 500);
  }
  std::int64_t totalWords = 0;
  for (int i = 0; i < documents; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "d%05d.txt", i);
    WriteFile(folder / "docs" / name, generator.Render(docs[static_cast<std::size_t>(i)]));
    totalWords += 1000;
  }
  std::vector<Planted> planted1k, planted100k;
  WriteFile(folder / "article-1k.txt", MakeArticle(generator, docs, 1000, rng, planted1k));
  WriteFile(folder / "article-100k.txt", MakeArticle(generator, docs, 100'000, rng, planted100k));
  ::sync();

  std::printf(
      "%d documents of 1,000 words in %s (wall: elapsed time; cpu: user and system time "
      "of the process)\n",
      documents, folder.c_str());
  const Timing add = RunTimed({tool, "--library", lib.string(), "add", (folder / "docs").string()},
                              (folder / "add.out").string());
  std::printf("add: wall %.2f s, cpu %.2f s (%.0f documents/s of wall time)\n", add.Wall, add.Cpu,
              documents / add.Wall);

  const auto median = [&](const std::string& article, int runs) {
    std::vector<Timing> timings;
    for (int i = 0; i < runs; ++i) {
      timings.push_back(
          RunTimed({tool, "--library", lib.string(), "check", (folder / article).string()},
                   (folder / (article + ".out")).string()));
    }
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.Wall < b.Wall; });
    return timings[timings.size() / 2];
  };
  const Timing check1k = median("article-1k.txt", 9);
  std::printf("check, 1,000-word article, whole process: median wall %.1f ms, cpu %.1f ms\n",
              check1k.Wall * 1000, check1k.Cpu * 1000);
  const Timing check100k = median("article-100k.txt", 3);
  std::printf("check, 100,000-word article, whole process: median wall %.2f s, cpu %.2f s\n",
              check100k.Wall, check100k.Cpu);

  {
    vellora::Library library = vellora::Library::OpenFile(lib, false);
    std::vector<vellora::DocumentId> ids;
    for (const auto& doc : library.Documents()) ids.push_back(doc.Id);  // in file name order
    std::ifstream in1(folder / "article-1k.txt"), in2(folder / "article-100k.txt");
    const std::string a1((std::istreambuf_iterator<char>(in1)), {});
    const std::string a2((std::istreambuf_iterator<char>(in2)), {});
    std::printf("recall, 1,000-word article: %.1f%% of %zu planted passages of 8 to 40 words\n",
                Recall(library, vellora::FromUtf8(a1), planted1k, ids), planted1k.size());
    std::printf("recall, 100,000-word article: %.1f%% of %zu planted passages of 8 to 40 words\n",
                Recall(library, vellora::FromUtf8(a2), planted100k, ids), planted100k.size());
  }

  const auto size = std::filesystem::file_size(lib);
  std::printf("database: %.1f MB, %.2f bytes per stored word\n", size / 1e6,
              static_cast<double>(size) / static_cast<double>(totalWords));

  const Timing pairs =
      RunTimed({tool, "--library", lib.string(), "pairs"}, (folder / "pairs.out").string());
  std::ifstream pairsOut(folder / "pairs.out");
  std::string firstLine;
  std::getline(pairsOut, firstLine);
  std::printf("pairs of the whole library: wall %.2f s, cpu %.2f s (%s)\n", pairs.Wall, pairs.Cpu,
              firstLine.c_str());
  return 0;
}
