// The built vellora-compare program: a comparison of plain text files and a web page report need
// Qt Core only; a PDF report loads vellora-compare-extras.so and every file that is not plain text
// vellora-compare-readers.so from the program's folder, with the same results as the tool with
// them linked in; and a program without those modules says so and fails for those alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CompareTool.h"
#include "ImportedArticle.h"
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

fs::path Sample(const char* name) {
  const char* root = std::getenv("VELLORA_TEST_DATA");
  return fs::path(root ? root : "tests/data") / "import" / name;
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

  // The tool in this process, its extras and readers linked in: what the program must answer too.
  static ProgramRun RunInProcess(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ProgramRun run;
    run.code = vellora::RunCompareTool(args, out, err, vellora::ReadImportedArticle);
    run.output = out.str() + err.str();
    return run;
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

// Text files of every name and encoding Import reads as plain text: no document reader's
// library (zip, HTML, and what they bring) and no module.
TEST_F(CompareProgram, PlainTextFilesLoadNoReaderLibraryAndNoModule) {
  const std::vector<std::pair<fs::path, fs::path>> pairs = {
      {file1_, file2_},
      {folder_.Write("my.docs/notes.txt", "Alpha beta gamma delta.\n"),
       folder_.Write("utf16.DOC", std::string("\xFF\xFE"
                                              "A\0l\0p\0h\0a\0 \0b\0",
                                              16))},
      {folder_.Write("w.txt", "caf\xe9 \x93quoted\x94 words here\n"),
       folder_.Write("empty.odt", "")},
  };
  for (const auto& [a, b] : pairs) {
    const ProgramRun run = RunProgram("env LD_DEBUG=files " + Quoted(program_) + " --json " +
                                      Quoted(a) + " " + Quoted(b));
    ASSERT_EQ(run.code, 0) << run.output;
    for (const char* library :
         {"libzip", "libgumbo", "libcrypto", "libbz2", "vellora-compare-extras",
          "vellora-compare-readers", "libQt6Gui", "libQt6Network"})
      EXPECT_EQ(run.output.find(library), std::string::npos) << library << " for " << a;
    const ProgramRun quiet =
        RunProgram(Quoted(program_) + " --json " + Quoted(a) + " " + Quoted(b));
    EXPECT_EQ(quiet.output, RunInProcess({"--json", a.string(), b.string()}).output) << a;
  }
}

// Documents found by name or by content, pages, RTF, and failures: the readers module gives what
// the tool with its readers linked in gives, messages and exit codes included, and loads neither
// Qt Gui nor Qt Network.
TEST_F(CompareProgram, EveryOtherKindOfFileIsReadThroughTheModuleAsImportReadsIt) {
  const std::string docx = Read(Sample("three.docx"));
  const fs::path text =
      folder_.Write("three.txt", "First paragraph.\nSecond paragraph.\nThird paragraph.\n");
  const std::string page =
      "<!DOCTYPE html><html><body><nav>Menu</nav><p>First paragraph.</p><p>Second "
      "paragraph.</p><p>Third paragraph.</p></body></html>";
  const std::vector<fs::path> documents = {
      Sample("three.docx"),
      Sample("three.odt"),
      Sample("three.rtf"),
      folder_.Write("docx-inside.txt", docx),
      folder_.Write("renamed.zip", Read(Sample("three.odt"))),
      folder_.Write("rtf-inside.txt", Read(Sample("three.rtf"))),
      folder_.Write("page.html", page),
      folder_.Write("page-inside.txt", page),
      folder_.Write("my.docs/page.htm", page),
  };
  for (const fs::path& document : documents) {
    const ProgramRun run = RunProgram("env LD_DEBUG=files " + Quoted(program_) + " --json " +
                                      Quoted(document) + " " + Quoted(text));
    ASSERT_EQ(run.code, 0) << run.output;
    EXPECT_NE(run.output.find("vellora-compare-readers.so"), std::string::npos) << document;
    for (const char* library : {"vellora-compare-extras", "libQt6Gui", "libQt6Network"})
      EXPECT_EQ(run.output.find(library), std::string::npos) << library << " for " << document;
    const ProgramRun quiet =
        RunProgram(Quoted(program_) + " --json " + Quoted(document) + " " + Quoted(text));
    EXPECT_NE(quiet.output.find("\"duplicate_shown\": 100,"), std::string::npos)
        << document << ": " << quiet.output;
    EXPECT_NE(quiet.output.find("\"paragraphs\": 3,"), std::string::npos) << quiet.output;
    EXPECT_EQ(quiet.output, RunInProcess({"--json", document.string(), text.string()}).output)
        << document;
  }

  const std::vector<fs::path> broken = {
      folder_.Write("broken.docx", "PK\x03\x04 not really a zip"),
      folder_.Write("archive.txt", std::string("PK\x03\x04", 4) + std::string(200, '\0')),
      folder_.Write("other.odt", "PK\x05\x06" + std::string(18, '\0')),
      folder_.Write("nul.doc", std::string("a\0b", 3)),
  };
  for (const fs::path& document : broken) {
    const ProgramRun run =
        RunProgram(Quoted(program_) + " " + Quoted(text) + " " + Quoted(document));
    EXPECT_EQ(run.code, 1) << run.output;
    EXPECT_NE(run.output.find("Cannot read \"" + document.string() + "\": "), std::string::npos)
        << run.output;
    const ProgramRun inProcess = RunInProcess({text.string(), document.string()});
    EXPECT_EQ(run.output, inProcess.output);
    EXPECT_EQ(run.code, inProcess.code);
  }
}

// Output that cannot be written (a full disk) is a failure with a message, not a silent success.
TEST_F(CompareProgram, OutputThatCannotBeWrittenExitsWithOne) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  for (const std::string& options : {std::string(), std::string("--json"), std::string("--help")}) {
    const ProgramRun run = RunProgram("{ " + Quoted(program_) + " --min 3 " + options + " " +
                                      Quoted(file1_) + " " + Quoted(file2_) + " >/dev/full; }");
    EXPECT_EQ(run.code, 1) << options << ": " << run.output;
    EXPECT_NE(run.output.find("vellora-compare: cannot write the output"), std::string::npos)
        << options << ": " << run.output;
  }
  const ProgramRun written = Compare(Quoted(program_), "--json");
  EXPECT_EQ(written.code, 0) << written.output;
  EXPECT_EQ(written.output.find("cannot write"), std::string::npos) << written.output;
}

TEST_F(CompareProgram, PdfReportIsWrittenThroughTheModuleBesideTheProgram) {
  const fs::path report = folder_ / "r.pdf";
  const ProgramRun run = Compare(Quoted(program_), "--report " + Quoted(report));
  ASSERT_EQ(run.code, 0) << run.output;
  EXPECT_NE(run.output.find("Duplicate Content: "), std::string::npos) << run.output;
  EXPECT_EQ(Read(report).substr(0, 5), "%PDF-");
}

TEST_F(CompareProgram, WithoutTheModulesTextAndWebPageWorkButPdfAndDocumentsFailClearly) {
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

  const fs::path inFolder = folder_.Write("my.docs/notes.txt", "Alpha beta gamma.\n");
  const ProgramRun text = RunProgram(Quoted(alone) + " " + Quoted(inFolder) + " " + Quoted(file2_));
  EXPECT_EQ(text.code, 0) << text.output;

  for (const fs::path& document :
       {Sample("three.docx"), folder_.Write("page.txt", "<html><p>Alpha beta gamma.</p></html>")}) {
    const ProgramRun failed =
        RunProgram(Quoted(alone) + " " + Quoted(file1_) + " " + Quoted(document));
    EXPECT_EQ(failed.code, 1) << failed.output;
    EXPECT_NE(failed.output.find("vellora-compare-readers.so"), std::string::npos) << failed.output;
    EXPECT_NE(failed.output.find("documents other than plain text"), std::string::npos)
        << failed.output;
    EXPECT_EQ(failed.output.find("Duplicate Content"), std::string::npos) << failed.output;
  }
}

// Each module serves its own part: documents need the readers alone, a PDF the extras alone.
TEST_F(CompareProgram, ReadersModuleAloneReadsDocumentsButWritesNoPdf) {
  const fs::path alone = folder_ / "readers" / "vellora-compare";
  fs::create_directories(alone.parent_path());
  fs::copy_file(program_, alone);
  fs::copy_file(program_.parent_path() / "vellora-compare-readers.so",
                alone.parent_path() / "vellora-compare-readers.so");

  const ProgramRun document = RunProgram(Quoted(alone) + " --json " + Quoted(Sample("three.docx")) +
                                         " " + Quoted(Sample("three.odt")));
  EXPECT_EQ(document.code, 0) << document.output;
  EXPECT_NE(document.output.find("\"duplicate_shown\": 100,"), std::string::npos)
      << document.output;

  const fs::path pdf = folder_ / "r.pdf";
  const ProgramRun failed = Compare(Quoted(alone), "--report " + Quoted(pdf));
  EXPECT_EQ(failed.code, 1) << failed.output;
  EXPECT_NE(failed.output.find("vellora-compare-extras.so"), std::string::npos) << failed.output;
  EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace
