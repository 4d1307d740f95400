// Whole-process speed of vellora-compare against a peer, the similarity tester's sim_text, on
// the same generated article pairs: both match modes and the peer run side by side, pair by pair,
// several times each; prints medians and ratios, and the Anywhere share of Article 2 next to the
// exact share of Article 2's words that lie inside shared runs of the minimum length.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ArticleGenerator.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Settings {
  std::string compare;   // path of vellora-compare
  std::string baseline;  // optional: an earlier vellora-compare, run alongside for before/after
  std::string sim = "sim_text";
  int pairs = 5;
  int repeats = 5;
  int words = 100000;
  int minimum = 8;
  fs::path folder;
};

struct Timing {
  double wall = 0;  // seconds
  double cpu = 0;   // user + system seconds
  long peakKiB = 0;
};

// Runs the command with its output in outputFile; exits the benchmark when it fails.
Timing Run(const std::vector<std::string>& command, const fs::path& outputFile) {
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::cerr << "cannot start " << command[0] << "\n";
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::cerr << command[0] << " failed (status " << status << ")\n";
    std::exit(1);
  }
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return Timing{std::chrono::duration<double>(end - start).count(),
                seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

double NumberAfter(const std::string& text, const std::string& marker) {
  const auto at = text.find(marker);
  if (at == std::string::npos) return -1;
  return std::strtod(text.c_str() + at + marker.size(), nullptr);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
  std::vector<double> wall, cpu;
  long peakKiB = 0;
  void Add(const Timing& t) {
    wall.push_back(t.wall);
    cpu.push_back(t.cpu);
    peakKiB = std::max(peakKiB, t.peakKiB);
  }
};

// Generates and writes the pair, and measures its exact shared-run share, in a child process:
// the peak memory the kernel reports for a command started later includes the memory of the
// process that started it, so this one stays small.
double GenerateInChild(const Settings& settings, std::uint32_t seed, const fs::path& file1,
                       const fs::path& file2) {
  int channel[2];
  if (pipe(channel) != 0) std::exit(1);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const auto pair = vellora::bench::GenerateArticlePair(settings.words, 0.3, seed, 0.1);
    double exact = -1;
    if (vellora::bench::WriteUtf8File(file1, pair.text1) &&
        vellora::bench::WriteUtf8File(file2, pair.text2)) {
      exact = vellora::bench::SharedRunPercent(pair.text1, pair.text2, settings.minimum);
    }
    const bool sent = write(channel[1], &exact, sizeof exact) == sizeof exact;
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  double exact = -1;
  const bool received = read(channel[0], &exact, sizeof exact) == sizeof exact;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!received || exact < 0) {
    std::cerr << "cannot write the articles into " << settings.folder << "\n";
    std::exit(1);
  }
  return exact;
}

Settings ParseArguments(int argc, char** argv) {
  Settings s;
  s.compare = (fs::path(argv[0]).parent_path() / "vellora-compare").string();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << arg << " needs a value\n";
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--compare") {
      s.compare = value();
    } else if (arg == "--sim") {
      s.sim = value();
    } else if (arg == "--pairs") {
      s.pairs = std::stoi(value());
    } else if (arg == "--repeats") {
      s.repeats = std::stoi(value());
    } else if (arg == "--words") {
      s.words = std::stoi(value());
    } else if (arg == "--min") {
      s.minimum = std::stoi(value());
    } else if (arg == "--baseline") {
      s.baseline = value();
    } else if (arg == "--keep") {
      s.folder = value();
    } else {
      std::cerr << "usage: vellora_tool_bench [--compare PATH] [--sim PATH] [--pairs N] "
                   "[--repeats N] [--words N] [--min N] [--keep FOLDER] [--baseline PATH]\n";
      std::exit(arg == "--help" ? 0 : 2);
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings = ParseArguments(argc, argv);
  const bool keep = !settings.folder.empty();
  if (!keep) {
    char pattern[] = "/tmp/vellora-tool-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    settings.folder = pattern;
  }
  fs::create_directories(settings.folder);
  const std::string minimum = std::to_string(settings.minimum);
  std::printf("%d pairs of %d words, %d runs of each command per pair, minimum %d\n",
              settings.pairs, settings.words, settings.repeats, settings.minimum);
  std::printf("%-5s | %-23s | %-23s | %-15s | %-13s | %-11s | %s\n", "pair", "in-order wall/cpu ms",
              "anywhere wall/cpu ms", "sim wall/cpu ms", "wall ratio in/any", "exact share",
              "anywhere, in-order, sim share");

  std::vector<double> allInOrder, allAnywhere, allSim, ratioInOrder, ratioAnywhere, shareGap;
  std::vector<double> beforeInOrder, beforeAnywhere;
  std::vector<double> cpuInOrder, cpuAnywhere, cpuSim, cpuRatioInOrder, cpuRatioAnywhere;
  long peak[3] = {0, 0, 0};
  for (int p = 0; p < settings.pairs; ++p) {
    const fs::path file1 = settings.folder / ("pair" + std::to_string(p) + "-article1.txt");
    const fs::path file2 = settings.folder / ("pair" + std::to_string(p) + "-article2.txt");
    const double exact =
        GenerateInChild(settings, static_cast<std::uint32_t>(1000 + p), file1, file2);
    const fs::path out = settings.folder / "output.txt";
    // Timed in text mode, which prints a few lines as the peer does; the JSON, which lists every
    // word, is read once per mode for the exact shares.
    const std::vector<std::string> inOrder = {settings.compare, "--min", minimum, "--match",
                                              "in-order",       file1,   file2};
    const std::vector<std::string> anywhere = {settings.compare, "--min", minimum, "--match",
                                               "anywhere",       file1,   file2};
    const auto withJson = [](std::vector<std::string> command) {
      command.insert(command.begin() + 1, "--json");
      return command;
    };
    // Article 2 first: the peer reports the share of its first file found in the second.
    const std::vector<std::string> sim = {settings.sim, "-r", minimum, "-p", file2, file1};
    Series s[3];
    Series baseline[2];
    double shares[3] = {0, 0, 0};
    Run(withJson(inOrder), out);
    shares[0] = NumberAfter(ReadAll(out), "\"duplicate_percent\": ");
    Run(withJson(anywhere), out);
    shares[1] = NumberAfter(ReadAll(out), "\"duplicate_percent\": ");
    for (int r = 0; r < settings.repeats; ++r) {
      s[0].Add(Run(inOrder, out));
      s[1].Add(Run(anywhere, out));
      s[2].Add(Run(sim, out));
      shares[2] = NumberAfter(ReadAll(out), "consists for ");
      if (!settings.baseline.empty()) {
        std::vector<std::string> before = inOrder;
        before[0] = settings.baseline;
        baseline[0].Add(Run(before, out));
        before = anywhere;
        before[0] = settings.baseline;
        baseline[1].Add(Run(before, out));
      }
    }
    const double wall[3] = {Median(s[0].wall), Median(s[1].wall), Median(s[2].wall)};
    const double cpu[3] = {Median(s[0].cpu), Median(s[1].cpu), Median(s[2].cpu)};
    for (int k = 0; k < 3; ++k) peak[k] = std::max(peak[k], s[k].peakKiB);
    allInOrder.push_back(wall[0]);
    allAnywhere.push_back(wall[1]);
    allSim.push_back(wall[2]);
    ratioInOrder.push_back(wall[0] / wall[2]);
    ratioAnywhere.push_back(wall[1] / wall[2]);
    cpuInOrder.push_back(cpu[0]);
    cpuAnywhere.push_back(cpu[1]);
    cpuSim.push_back(cpu[2]);
    cpuRatioInOrder.push_back(cpu[0] / cpu[2]);
    cpuRatioAnywhere.push_back(cpu[1] / cpu[2]);
    shareGap.push_back(shares[1] - exact);
    std::printf(
        "%-5d | %10.1f / %10.1f | %10.1f / %10.1f | %6.1f / %6.1f | %5.2f / %5.2f | %9.2f %% | "
        "%.2f %%, %.2f %%, %.0f %%\n",
        p, wall[0] * 1e3, cpu[0] * 1e3, wall[1] * 1e3, cpu[1] * 1e3, wall[2] * 1e3, cpu[2] * 1e3,
        wall[0] / wall[2], wall[1] / wall[2], exact, shares[1], shares[0], shares[2]);
    if (!settings.baseline.empty()) {
      const double before[2] = {Median(baseline[0].cpu), Median(baseline[1].cpu)};
      beforeInOrder.push_back(before[0]);
      beforeAnywhere.push_back(before[1]);
      std::printf("  baseline CPU ms: in-order %.1f, anywhere %.1f\n", before[0] * 1e3,
                  before[1] * 1e3);
    }
  }
  std::printf(
      "\nmedian whole-process wall time: in-order %.1f ms, anywhere %.1f ms, sim_text %.1f ms\n",
      Median(allInOrder) * 1e3, Median(allAnywhere) * 1e3, Median(allSim) * 1e3);
  std::printf(
      "median ratio to sim_text: in-order %.2f, anywhere %.2f (goal at most 0.5, at least below "
      "1)\n",
      Median(ratioInOrder), Median(ratioAnywhere));
  std::printf(
      "median whole-process CPU time: in-order %.1f ms, anywhere %.1f ms, sim_text %.1f ms\n",
      Median(cpuInOrder) * 1e3, Median(cpuAnywhere) * 1e3, Median(cpuSim) * 1e3);
  std::printf("median CPU ratio to sim_text: in-order %.2f, anywhere %.2f\n",
              Median(cpuRatioInOrder), Median(cpuRatioAnywhere));
  if (!settings.baseline.empty()) {
    std::printf("median baseline CPU time: in-order %.1f ms, anywhere %.1f ms\n",
                Median(beforeInOrder) * 1e3, Median(beforeAnywhere) * 1e3);
  }
  std::printf("peak memory: in-order %ld KiB, anywhere %ld KiB, sim_text %ld KiB\n", peak[0],
              peak[1], peak[2]);
  const auto [low, high] = std::minmax_element(shareGap.begin(), shareGap.end());
  std::printf("anywhere share minus exact shared-run share: %.2f to %.2f points (goal within 1)\n",
              *low, *high);
  if (!keep) fs::remove_all(settings.folder);
  return 0;
}
