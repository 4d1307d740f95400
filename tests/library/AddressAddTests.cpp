// Adding pages by address, over real HTTP against the loopback server: a page is stored as its
// readable text with the address as its source, adding it again unchanged does nothing, a changed
// page replaces its entry, and a failed download is named with its cause while the files given
// with it are still added.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <sstream>

#include "Library.h"
#include "LibraryTool.h"
#include "LoopbackServer.h"
#include "TempFolder.h"
#include "UPlainText.h"

namespace vellora {
namespace {

using test::LoopbackServer;
using test::ScriptedReply;

// The server and the downloads share the application's event loop.
QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "library_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
  return application;
}

// Made before the server, whose socket needs the application's event dispatcher.
struct WithApplication {
  WithApplication() { Application(); }
};

ScriptedReply HtmlPage(const std::string& paragraph) {
  ScriptedReply page = ScriptedReply::Ok(QByteArray::fromStdString(
      "<html><head><title>Essay</title></head><body><nav>Home News Contact</nav><main><p>" +
      paragraph + "</p></main><footer>All rights reserved</footer></body></html>"));
  page.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/html")));
  return page;
}

class LibraryAddress : public ::testing::Test, private WithApplication {
 protected:
  Library Open() { return Library::OpenFile(folder / "library.sqlite", true); }

  LoopbackServer server;
  test::TempFolder folder;
};

TEST_F(LibraryAddress, PageIsStoredAsItsReadableTextWithTheAddressAsSource) {
  server.Route("/essays/fox", HtmlPage("The quick brown fox jumps over the lazy dog."));
  const std::string address = server.BaseUrl() + "/essays/fox";
  Library library = Open();
  const AddReport report = library.Add({address});
  ASSERT_TRUE(report.Failures.empty()) << report.Failures.front().Cause;
  EXPECT_EQ(report.Added, 1u);
  const std::vector<StoredDocument> docs = library.Documents();
  ASSERT_EQ(docs.size(), 1u);
  EXPECT_EQ(docs[0].Source, address);
  EXPECT_EQ(docs[0].Title, "fox");
  EXPECT_EQ(docs[0].Words, 10);  // the title and the nine words of the paragraph
  const std::string text = ToUtf8(library.Text(docs[0].Id));
  EXPECT_NE(text.find("The quick brown fox jumps over the lazy dog."), std::string::npos) << text;
  EXPECT_EQ(text.find("Contact"), std::string::npos) << text;
  EXPECT_EQ(text.find("rights reserved"), std::string::npos) << text;
  // Found by a check like any file's document.
  const CheckReport check =
      library.Check(u"Someone wrote that the quick brown fox jumps over the lazy dog today.");
  ASSERT_EQ(check.Hits.size(), 1u);
  EXPECT_EQ(check.Hits[0].Document.Source, address);
}

TEST_F(LibraryAddress, AddressWithoutPathSegmentIsItsOwnTitle) {
  server.Route("/", HtmlPage("A page at the root of its site has no last path segment."));
  const std::string address = server.BaseUrl() + "/";
  Library library = Open();
  ASSERT_EQ(library.Add({address}).Added, 1u);
  EXPECT_EQ(library.Documents().at(0).Title, address);
}

TEST_F(LibraryAddress, UnchangedPageAddedAgainDoesNothingAndChangedPageReplacesIt) {
  server.Route("/page", HtmlPage("Seven words stand in this first version of the page."));
  const std::string address = server.BaseUrl() + "/page";
  Library library = Open();
  ASSERT_EQ(library.Add({address}).Added, 1u);
  const DocumentId first = library.Documents().at(0).Id;

  const AddReport again = library.Add({address, address});
  EXPECT_EQ(again.Unchanged, 1u);
  EXPECT_EQ(again.Added, 0u);
  EXPECT_EQ(again.Replaced, 0u);
  ASSERT_EQ(library.Documents().size(), 1u);
  EXPECT_EQ(library.Documents()[0].Id, first);

  server.Route("/page", HtmlPage("The second version of the page says something else entirely."));
  const AddReport changed = library.Add({address});
  EXPECT_EQ(changed.Replaced, 1u);
  const std::vector<StoredDocument> docs = library.Documents();
  ASSERT_EQ(docs.size(), 1u);
  EXPECT_EQ(docs[0].Source, address);
  EXPECT_NE(ToUtf8(library.Text(docs[0].Id)).find("second version"), std::string::npos);
}

TEST_F(LibraryAddress, MissingPageIsNamedWithItsCauseAndTheFilesAreStillAdded) {
  const auto file = folder.Write("docs/kept.txt", "A file given beside a missing page is kept.");
  const std::string missing = server.BaseUrl() + "/missing";
  Library library = Open();
  const AddReport report = library.Add({missing, file});
  EXPECT_EQ(report.Added, 1u);
  ASSERT_EQ(report.Failures.size(), 1u);
  EXPECT_EQ(report.Failures[0].File, missing);
  EXPECT_NE(report.Failures[0].Cause.find("\"" + missing + "\": the server answered HTTP 404"),
            std::string::npos)
      << report.Failures[0].Cause;
  const std::vector<StoredDocument> docs = library.Documents();
  ASSERT_EQ(docs.size(), 1u);
  EXPECT_EQ(docs[0].Title, "kept.txt");
}

TEST_F(LibraryAddress, PageIsRemovedByItsAddress) {
  server.Route("/gone", HtmlPage("This page will be removed from the library by its address."));
  const std::string address = server.BaseUrl() + "/gone";
  Library library = Open();
  ASSERT_EQ(library.Add({address}).Added, 1u);
  const RemoveReport removed = library.Remove({address});
  EXPECT_EQ(removed.Removed.size(), 1u);
  EXPECT_TRUE(removed.NotFound.empty());
  EXPECT_TRUE(library.Documents().empty());
}

TEST_F(LibraryAddress, ToolAddsAddressesBesideFilesAndNamesAFailedDownload) {
  server.Route("/essay", HtmlPage("An essay published on a web site and added by its address."));
  const auto file = folder.Write("docs/local.txt", "A local file added beside the page.");
  const std::string page = server.BaseUrl() + "/essay";
  const std::string missing = server.BaseUrl() + "/missing";
  const std::string libraryFile = (folder / "tool.sqlite").string();
  std::ostringstream out, err;
  const int code = RunLibraryTool({"--library", libraryFile, "add", page, file.string(), missing},
                                  {out, err, false});
  EXPECT_EQ(code, 1);
  EXPECT_EQ(out.str(), "added 2, replaced 0, unchanged 0, failed 1\n");
  EXPECT_NE(err.str().find("\"" + missing + "\": the server answered HTTP 404"), std::string::npos)
      << err.str();

  std::ostringstream again, againErr;
  EXPECT_EQ(RunLibraryTool({"--library", libraryFile, "add", page}, {again, againErr, false}), 0)
      << againErr.str();
  EXPECT_EQ(again.str(), "added 0, replaced 0, unchanged 1, failed 0\n");
}

}  // namespace
}  // namespace vellora
