// Caret-separated records, "$" escapes, the browser path of a registered command and opening an
// address through the desktop.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "UUtils.h"

namespace vellora {
namespace {

struct SplitRow {
  std::string Text;
  std::vector<std::string> Fields;
};

TEST(SplitByCharTest, FollowsTheFieldTable) {
  const SplitRow rows[] = {
      {"", {}},          {"a", {"a"}},  {"a^b", {"a", "b"}}, {"a^^b", {"a", "", "b"}},
      {"^a", {"", "a"}}, {"a^", {"a"}}, {"a^^", {"a", ""}},  {"^", {""}},
      {"^^", {"", ""}},
  };
  for (const auto& row : rows) {
    std::vector<std::string> list;
    SplitByChar('^', row.Text, list);
    EXPECT_EQ(list, row.Fields) << "text: " << row.Text;
  }
}

TEST(SplitByCharTest, ReplacesWhatTheListHeld) {
  std::vector<std::string> list = {"old1", "old2", "old3"};
  SplitByChar('^', "x^y", list);
  EXPECT_EQ(list, (std::vector<std::string>{"x", "y"}));
  SplitByChar('^', "", list);
  EXPECT_TRUE(list.empty());
}

TEST(SplitByCharTest, KeepsOrderDuplicatesAndOtherBytes) {
  std::vector<std::string> list;
  SplitByChar('\xAF',
              "b\xAF"
              "a\xAF"
              "b\xAF"
              "a^1",
              list);
  EXPECT_EQ(list, (std::vector<std::string>{"b", "a", "b", "a^1"}));
}

TEST(DecodeHexEscapesTest, FollowsTheEscapeTable) {
  const std::pair<std::string, std::string> rows[] = {
      {"abc", "abc"},
      {"100$25", "100%"},
      {"$2f", "/"},
      {"$2F", "/"},
      {"$00", std::string(1, '\0')},
      {"x$4", std::string("x") + '\x04'},
      {"x$", ""},
      {"a$4gb", ""},
      {"$$41", ""},
      {"$2441", "$41"},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(DecodeHexEscapes(text), expected) << "text: " << text;
  }
}

TEST(DecodeHexEscapesTest, CopiesOtherBytesAndRejectsSignsAndBlanks) {
  EXPECT_EQ(DecodeHexEscapes("a+b%20c\xE9"), "a+b%20c\xE9");
  EXPECT_EQ(DecodeHexEscapes("$ff$FF"), "\xFF\xFF");
  EXPECT_EQ(DecodeHexEscapes("$+1"), "");
  EXPECT_EQ(DecodeHexEscapes("$ 1"), "");
  EXPECT_EQ(DecodeHexEscapes(""), "");
  EXPECT_EQ(DecodeHexEscapes("$"), "");
}

TEST(BrowserPathFromCommandTest, QuotedProgramWithSwitch) {
  EXPECT_EQ(BrowserPathFromCommand("\"C:\\Program Files\\Web Browser\\browser.exe\" -nohome"),
            "c:\\program files\\web browser\\browser.exe");
}

TEST(BrowserPathFromCommandTest, UnquotedProgramWithPlaceholder) {
  EXPECT_EQ(BrowserPathFromCommand("C:\\Browser\\browser.exe %1"), "c:\\browser\\browser.exe");
}

TEST(BrowserPathFromCommandTest, CutsAtTheFirstExeAndKeepsOtherLetters) {
  EXPECT_EQ(BrowserPathFromCommand("no program here"), "no program here.exe");
  EXPECT_EQ(BrowserPathFromCommand(""), ".exe");
  EXPECT_EQ(BrowserPathFromCommand("\"D:\\A.EXE\\b.exe\" \"%1\""), "d:\\a.exe");
  EXPECT_EQ(BrowserPathFromCommand("C:\\\xC9T\xC9\\x.exe"), "c:\\\xC9t\xC9\\x.exe");
}

// Receives the addresses the desktop hands to the registered scheme.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Seen;
 public slots:
  void Open(const QUrl& url) { Seen.append(url); }
};

TEST(OpenURLInBrowserTest, HandsTheAddressToTheDesktopUnchanged) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("vellora-test", &catcher, "Open");
  const std::string address = "vellora-test://example.org/path?a=1&b=two#frag";
  EXPECT_TRUE(OpenURLInBrowser(address));
  QDesktopServices::unsetUrlHandler("vellora-test");
  ASSERT_EQ(catcher.Seen.size(), 1);
  EXPECT_EQ(catcher.Seen[0].toString().toStdString(), address);
}

TEST(OpenURLInBrowserTest, EmptyAddressOpensNothing) {
  EXPECT_FALSE(OpenURLInBrowser(""));
}

}  // namespace
}  // namespace vellora

#include "UUtilsTests.moc"
