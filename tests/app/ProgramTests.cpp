// The program as a whole: the built vellora started on a copy of its folder with the demo brand
// stays up and ends cleanly when asked to, and the termination signals close a window normally.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <csignal>

#include "TerminationSignal.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

TEST(TerminationSignal, TerminateClosesTheWindowThroughItsCloseHandler) {
  QWidget window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  {
    CloseOnTerminationSignal closer(&window);
    ASSERT_TRUE(closer.Active());
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(ProcessEventsUntil([&window] { return !window.isVisible(); }));
  }
  // With the closer gone the default action is back (not exercised: it would end the tests).
  struct sigaction action {};
  ASSERT_EQ(sigaction(SIGTERM, nullptr, &action), 0);
  EXPECT_EQ(action.sa_handler, SIG_DFL);
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString built = QStringLiteral(VELLORA_PROGRAM);
    const QDir builtDir = QFileInfo(built).absoluteDir();
    for (const char* name : {"dbsettings.dat", "banner1.dat", "banner2.dat", "banner3.dat"}) {
      if (!builtDir.exists(QString::fromLatin1(name)))
        GTEST_SKIP() << "the demo brand is not built next to the program";
    }
    ASSERT_TRUE(folder_.isValid());
    program_ = folder_.filePath(QStringLiteral("vellora"));
    ASSERT_TRUE(QFile::copy(built, program_));
    for (const char* name : {"dbsettings.dat", "banner1.dat", "banner2.dat", "banner3.dat"}) {
      ASSERT_TRUE(QFile::copy(builtDir.filePath(QString::fromLatin1(name)),
                              folder_.filePath(QString::fromLatin1(name))));
    }
  }

  // Starts the copy with no arguments on the offscreen platform, from another working folder,
  // and checks that it is still running after about two seconds.
  void StartAndStayUp() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(QDir::tempPath());
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program_, {});
    ASSERT_TRUE(process_.waitForStarted(10000)) << process_.errorString().toStdString();
    EXPECT_FALSE(process_.waitForFinished(2000)) << "the program ended by itself";
    ASSERT_EQ(process_.state(), QProcess::Running);
  }

  void ExpectCleanEnd() {
    ASSERT_TRUE(process_.waitForFinished(15000));
    EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process_.exitCode(), 0);
    // The folder is as it was: banners under their own names, no plain copy of the settings.
    QStringList names = QDir(folder_.path()).entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("mainappupdate.inf"));
    EXPECT_EQ(names, (QStringList{"banner1.dat", "banner2.dat", "banner3.dat", "dbsettings.dat",
                                  "vellora"}));
  }

  void TearDown() override {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  QTemporaryDir folder_;
  QString program_;
  QProcess process_;
};

TEST_F(Program, StaysUpWithTheDemoBrandAndEndsCleanlyOnSigterm) {
  StartAndStayUp();
  process_.terminate();
  ExpectCleanEnd();
}

TEST_F(Program, EndsCleanlyOnSigint) {
  StartAndStayUp();
  ASSERT_EQ(::kill(static_cast<pid_t>(process_.processId()), SIGINT), 0);
  ExpectCleanEnd();
}

}  // namespace
}  // namespace vellora::test
