// vellora-compare with http addresses as articles, against the loopback server: a page is read as
// its readable text; a failed download ends with exit status 1 and names the address.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <sstream>

#include "CompareTool.h"
#include "ImportedArticle.h"
#include "LoopbackServer.h"
#include "TempFolder.h"

namespace vellora::test {
namespace {

// The server and the downloads share the application's event loop.
QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "tools_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
  return application;
}

// Made before the server, whose socket needs the application's event dispatcher.
struct WithApplication {
  WithApplication() { Application(); }
};

class CompareAddress : public ::testing::Test, private WithApplication {
 protected:
  int Run(const std::vector<std::string>& args) {
    std::ostringstream o, e;
    const int code = RunCompareTool(args, o, e, ReadImportedArticle);
    out = o.str();
    err = e.str();
    return code;
  }

  LoopbackServer server;
  TempFolder folder;
  std::string out, err;
};

TEST_F(CompareAddress, PageAtAnAddressIsComparedAsItsReadableText) {
  ScriptedReply page = ScriptedReply::Ok(
      "<html><head><title>Copy</title></head><body><nav>Home News Contact</nav>"
      "<main><p>The quick brown fox jumps over the lazy dog.</p></main>"
      "<footer>All rights reserved</footer></body></html>");
  page.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/html")));
  server.Route("/copy", page);
  const auto original =
      folder.Write("original.txt", "Copy\nThe quick brown fox jumps over the lazy dog.");
  ASSERT_EQ(Run({"--json", server.BaseUrl() + "/copy", original.string()}), 0) << err;
  EXPECT_NE(out.find("\"duplicate_shown\": 100"), std::string::npos) << out;
  EXPECT_NE(out.find("\"paragraphs\": 2"), std::string::npos) << out;
  EXPECT_EQ(out.find("Contact"), std::string::npos);
}

TEST_F(CompareAddress, FailedDownloadExitsWithOneNamingTheAddress) {
  const auto original = folder.Write("original.txt", "some words");
  const std::string missing = server.BaseUrl() + "/missing";
  EXPECT_EQ(Run({missing, original.string()}), 1);
  EXPECT_NE(err.find("\"" + missing + "\": the server answered HTTP 404"), std::string::npos)
      << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(Run({original.string(), "ftp://example.com/page"}), 1);
  EXPECT_NE(err.find("only http:// and https://"), std::string::npos) << err;
}

}  // namespace
}  // namespace vellora::test
