// The program-wide error report: an exception escaping any handler is shown in a message box and
// the program goes on handling events.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ErrorReport.h"
#include "VelloraApplication.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

Application& App() {
  return *static_cast<Application*>(QCoreApplication::instance());
}

TEST(ErrorReport, ExceptionFromAClickIsReportedAndTheProgramKeepsRunning) {
  QPushButton button(QStringLiteral("fail"));
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    ++clicks;
    throw UserError("Could not read \"/tmp/x.docx\": the file is damaged.");
  });
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  const int before = App().ReportedErrors();
  {
    ModalCatcher catcher;
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(catcher.Texts().size(), 1);
    EXPECT_EQ(catcher.Texts()[0],
              QStringLiteral("Could not read \"/tmp/x.docx\": the file is damaged."));
  }
  EXPECT_EQ(App().ReportedErrors(), before + 1);
  {
    ModalCatcher catcher;
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(catcher.Texts().size(), 1);
  }
  EXPECT_EQ(clicks, 2);
}

TEST(ErrorReport, ExceptionFromATimerIsReported) {
  const int before = App().ReportedErrors();
  ModalCatcher catcher;
  bool after = false;
  QTimer::singleShot(0, [] { throw std::runtime_error("disk full"); });
  QTimer::singleShot(5, [&after] { after = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return after && !catcher.Texts().isEmpty(); }, 2000));
  EXPECT_TRUE(after);
  ASSERT_EQ(catcher.Texts().size(), 1);
  EXPECT_TRUE(catcher.Texts()[0].contains(QStringLiteral("disk full")));
  EXPECT_EQ(App().ReportedErrors(), before + 1);
}

TEST(ErrorReport, DescriptionsForTheUser) {
  const UserError user("Could not read \"a.rtf\": access denied.");
  EXPECT_EQ(DescribeUnhandledError(&user),
            QStringLiteral("Could not read \"a.rtf\": access denied."));
  const std::bad_alloc memory;
  EXPECT_TRUE(DescribeUnhandledError(&memory).contains(QStringLiteral("memory")));
  const std::runtime_error other("boom");
  EXPECT_TRUE(DescribeUnhandledError(&other).contains(QStringLiteral("boom")));
  EXPECT_FALSE(DescribeUnhandledError(nullptr).isEmpty());
}

TEST(ErrorReport, ShowErrorReportShowsAWarningWithTheMessage) {
  ModalCatcher catcher;
  ShowErrorReport(nullptr, QStringLiteral("Something named failed."));
  ASSERT_EQ(catcher.Texts().size(), 1);
  EXPECT_EQ(catcher.Texts()[0], QStringLiteral("Something named failed."));
}

}  // namespace
}  // namespace vellora::test
