// The built vellora-compare program: a plain comparison and a web page report need Qt Core only,
// a PDF report loads vellora-compare-extras.so from the program's folder, and a program without
// that module says so and fails.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int code = -1;
  std::string output;  // standard output and standard error together
};

ProgramRun RunProgram(const std::string& command) {
  ProgramRun run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class CompareProgram : public testing::Test {
 protected:
  void SetUp() override {
    file1_ = folder_.Write("a.txt", "The quick brown fox jumps over the lazy dog. Alpha beta.\n");
    file2_ =
        folder_.Write("b.txt", "Alpha beta gamma. The quick brown fox jumps over the lazy dog.\n");
  }

  // command: the program, quoted, with anything before it.
  ProgramRun Compare(const std::string& command, const std::string& options) {
    return RunProgram(command + " --min 3 " + options + " " + Quoted(file1_) + " " +
                      Quoted(file2_));
  }

  const fs::path program_ = VELLORA_COMPARE_PROGRAM;
  vellora::test::TempFolder folder_;
  fs::path file1_;
  fs::path file2_;
};

// The dynamic linker lists every library it opens (LD_DEBUG=files).
TEST_F(CompareProgram, PlainComparisonAndWebPageLoadNeitherQtGuiNorQtNetwork) {
  const fs::path page = folder_ / "r.html";
  for (const std::string& options : {std::string(), "--json --report " + Quoted(page)}) {
    const ProgramRun run = Compare("env LD_DEBUG=files " + Quoted(program_), options);
    ASSERT_EQ(run.code, 0) << run.output;
    EXPECT_NE(run.output.find("libQt6Core"), std::string::npos);
    EXPECT_EQ(run.output.find("libQt6Gui"), std::string::npos) << options;
    EXPECT_EQ(run.output.find("libQt6Network"), std::string::npos) << options;
    EXPECT_EQ(run.output.find("vellora-compare-extras"), std::string::npos) << options;
  }
  EXPECT_NE(Read(page).find("<html"), std::string::npos);
}

TEST_F(CompareProgram, PdfReportIsWrittenThroughTheModuleBesideTheProgram) {
  const fs::path report = folder_ / "r.pdf";
  const ProgramRun run = Compare(Quoted(program_), "--report " + Quoted(report));
  ASSERT_EQ(run.code, 0) << run.output;
  EXPECT_NE(run.output.find("Duplicate Content: "), std::string::npos) << run.output;
  EXPECT_EQ(Read(report).substr(0, 5), "%PDF-");
}

TEST_F(CompareProgram, WithoutTheModuleTextAndWebPageWorkButPdfFailsClearly) {
  const fs::path alone = folder_ / "alone" / "vellora-compare";
  fs::create_directories(alone.parent_path());
  fs::copy_file(program_, alone);

  const ProgramRun plain = Compare(Quoted(alone), "");
  EXPECT_EQ(plain.code, 0) << plain.output;
  EXPECT_NE(plain.output.find("Duplicate Content: "), std::string::npos) << plain.output;

  const fs::path page = folder_ / "r.html";
  const ProgramRun html = Compare(Quoted(alone), "--report " + Quoted(page));
  EXPECT_EQ(html.code, 0) << html.output;
  EXPECT_NE(Read(page).find("<html"), std::string::npos);

  const fs::path pdf = folder_ / "r.pdf";
  const ProgramRun failed = Compare(Quoted(alone), "--report " + Quoted(pdf));
  EXPECT_EQ(failed.code, 1) << failed.output;
  EXPECT_NE(failed.output.find("vellora-compare-extras.so"), std::string::npos) << failed.output;
  EXPECT_FALSE(fs::exists(pdf));

  const ProgramRun address = RunProgram(Quoted(alone) + " http://127.0.0.1:1/a " + Quoted(file2_));
  EXPECT_EQ(address.code, 1) << address.output;
  EXPECT_NE(address.output.find("vellora-compare-extras.so"), std::string::npos) << address.output;
}

}  // namespace
