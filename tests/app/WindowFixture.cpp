#include "WindowFixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <ostream>

#include "MatchChoice.h"

namespace vellora::test {

std::u16string U(const char16_t* text) {
  return std::u16string(text);
}
std::u16string U(const QString& text) {
  return text.toStdU16String();
}

std::string Printable(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c == u'\n') {
      out += "\\n";
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

QTextCharFormat FormatAt(ArticlePane& pane, int pos) {
  QTextDocument* doc = pane.Edit()->document();
  const QTextBlock block = doc->findBlock(pos);
  if (pos == block.position() + block.length() - 1 && block.next().isValid()) {
    // A line break: its format is the one the following block starts with.
    return block.next().charFormat();
  }
  QTextCursor cursor(doc);
  cursor.setPosition(pos + 1);  // the format of the unit before the cursor
  return cursor.charFormat();
}

std::vector<PaneRun> RunsOf(ArticlePane& pane) {
  std::vector<PaneRun> runs;
  const std::u16string text = pane.Text();
  for (int i = 0; i < static_cast<int>(text.size()); ++i) {
    const std::int32_t background = BackgroundAt(pane, i);
    const bool bold = BoldAt(pane, i);
    if (runs.empty() || runs.back().background != background || runs.back().bold != bold) {
      runs.push_back({std::u16string(), background, bold});
    }
    runs.back().text += text[static_cast<std::size_t>(i)];
  }
  return runs;
}

std::ostream& operator<<(std::ostream& out, const PaneRun& run) {
  return out << "{'" << QString::fromStdU16String(run.text).toStdString() << "' bg=0x" << std::hex
             << run.background << std::dec << (run.bold ? " bold}" : " plain}");
}

std::int32_t BackgroundAt(ArticlePane& pane, int pos) {
  const QTextCharFormat format = FormatAt(pane, pos);
  // Text without a background of its own shows on the pane's white.
  if (format.background().style() == Qt::NoBrush) return NoHighlight;
  const QColor c = format.background().color();
  return c.red() | (c.green() << 8) | (c.blue() << 16);
}

bool BoldAt(ArticlePane& pane, int pos) {
  return FormatAt(pane, pos).fontWeight() >= QFont::Bold;
}

ModalCatcher::ModalCatcher() : timer_(new QTimer) {
  QObject::connect(timer_, &QTimer::timeout, [this] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      texts_.append(box->text());
      box->accept();
    }
  });
  timer_->start(10);
}

ModalCatcher::~ModalCatcher() {
  delete timer_;
}

bool ProcessEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(10000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

std::string ClosedUpdateBaseURL() {
  return "http://127.0.0.1:1/liveupdate/vellora/";
}

void WindowTest::SetUp() {
  Comparing = false;
  BrandSettings = {};
  // Every test starts from the default choices, whatever an earlier test left stored.
  OpenProgramSettings()->clear();
  ASSERT_TRUE(programDir_.isValid());
  window = NewWindow();
  bool checked = false;
  const QMetaObject::Connection watch =
      QObject::connect(window->findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout,
                       window.get(), [&checked] { checked = true; });
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  const bool ran = ProcessEventsUntil([&checked] { return checked; });
  QObject::disconnect(watch);
  ASSERT_TRUE(ran);
}

std::unique_ptr<TfrmMain> WindowTest::NewWindow() {
  auto created = std::make_unique<TfrmMain>(
      std::filesystem::path(QFile::encodeName(programDir_.path()).toStdString()));
  created->Online().updateBaseURL = ClosedUpdateBaseURL();
  return created;
}

void WindowTest::TearDown() {
  window.reset();
  Comparing = false;
  BrandSettings = {};
}

void WindowTest::Type(ArticlePane& pane, const QString& text) {
  pane.Edit()->setPlainText(text);
}

}  // namespace vellora::test
