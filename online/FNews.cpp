#include "FNews.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QShowEvent>
#include <QTextBrowser>
#include <QTreeWidget>
#include <functional>

#include "AddressOpening.h"
#include "AnsiText.h"
#include "NewsService.h"
#include "Prompter.h"
#include "UUtils.h"
#include "ui_FNews.h"

namespace {

constexpr int kNewsIdColumn = 2;

// Asks the window before the selection or current item moves; a refused change does not happen.
class GuardedSelectionModel final : public QItemSelectionModel {
 public:
  GuardedSelectionModel(QAbstractItemModel* model, std::function<bool()> allow, QObject* parent)
      : QItemSelectionModel(model, parent), allow_(std::move(allow)) {}

  void select(const QModelIndex& index, SelectionFlags command) override {
    if (allow_()) QItemSelectionModel::select(index, command);
  }
  void select(const QItemSelection& selection, SelectionFlags command) override {
    if (allow_()) QItemSelectionModel::select(selection, command);
  }
  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
    if (allow_()) QItemSelectionModel::setCurrentIndex(index, command);
  }
  void clear() override {
    if (allow_()) QItemSelectionModel::clear();
  }

 private:
  std::function<bool()> allow_;
};

QString Field(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? vellora::AnsiToQString(fields[index]) : QString();
}

}  // namespace

TfrmNews::TfrmNews(const vellora::OnlineContext& online, const std::vector<std::string>& newsList,
                   QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmNews>()), online_(online), newsList_(newsList) {
  ui->setupUi(this);
  lvwItems = ui->lvwItems;
  prfEditorNews = ui->prfEditorNews;
  btnExit = ui->btnExit;
  resize(682, 411);

  QFont listFont(QStringLiteral("Arial"));
  listFont.setPixelSize(14);
  lvwItems->setFont(listFont);
  lvwItems->setColumnHidden(kNewsIdColumn, true);
  lvwItems->header()->setStretchLastSection(false);
  lvwItems->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lvwItems->header()->setSectionResizeMode(1, QHeaderView::Fixed);
  lvwItems->header()->resizeSection(1, kPublishedColumnWidth);
  lvwItems->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  lvwItems->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A selection that stays visible while the list has no focus.
  QPalette listPalette = lvwItems->palette();
  listPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                       listPalette.color(QPalette::Active, QPalette::Highlight));
  listPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                       listPalette.color(QPalette::Active, QPalette::HighlightedText));
  lvwItems->setPalette(listPalette);

  QItemSelectionModel* previous = lvwItems->selectionModel();
  lvwItems->setSelectionModel(new GuardedSelectionModel(
      lvwItems->model(),
      [this] {
        bool allow = true;
        lvwItemsChanging(allow);
        return allow;
      },
      lvwItems));
  delete previous;
  connect(lvwItems->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmNews::lvwItemsChange);

  ui->splNews->setSizes({kListPanelHeight, 411 - kListPanelHeight - 41 - 10});
  prfEditorNews->setReadOnly(true);
  connect(prfEditorNews, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    vellora::OpenAddressOrTell(this, online_, url.toString(QUrl::FullyEncoded).toStdString());
  });
  connect(btnExit, &QPushButton::clicked, this, &TfrmNews::btnExitClick);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TfrmNews::~TfrmNews() {
  // The list goes while the window is still whole: its selection model asks the window on the
  // way out.
  Loading = false;
  disconnect(lvwItems->selectionModel(), nullptr, this, nullptr);
  delete lvwItems;
}

std::string TfrmNews::ItemNewsId(const QTreeWidgetItem& item) {
  return item.data(kNewsIdColumn, Qt::UserRole).toByteArray().toStdString();
}

void TfrmNews::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmNews::FormShow() {
  Loading = false;
  lvwItems->clear();
  std::vector<std::string> fields;
  for (const std::string& record : newsList_) {
    vellora::SplitByChar('^', record, fields);
    auto* item = new QTreeWidgetItem(lvwItems);
    item->setText(0, Field(fields, 1));
    item->setText(1, Field(fields, 2));
    item->setText(kNewsIdColumn, Field(fields, 0));
    // The id goes to the service as the bytes it came in.
    const std::string id = fields.empty() ? std::string() : fields[0];
    item->setData(kNewsIdColumn, Qt::UserRole,
                  QByteArray(id.data(), static_cast<qsizetype>(id.size())));
  }
  lvwItems->clearSelection();
  lvwItems->setCurrentItem(nullptr);
  prfEditorNews->clear();
}

void TfrmNews::lvwItemsChanging(bool& Allow) {
  Allow = !Loading;
}

void TfrmNews::lvwItemsChange() {
  const QList<QTreeWidgetItem*> selected = lvwItems->selectedItems();
  if (selected.isEmpty()) return;
  const std::string newsId = ItemNewsId(*selected.front());

  Loading = true;
  lvwItems->setCursor(Qt::WaitCursor);
  prfEditorNews->viewport()->setCursor(Qt::WaitCursor);
  setCursor(Qt::WaitCursor);
  // Restores the cursors and clears Loading however the request ends.
  const auto restore = [this] {
    lvwItems->unsetCursor();
    unsetCursor();
    prfEditorNews->viewport()->unsetCursor();
    Loading = false;
  };
  try {
    if (const auto level = vellora::ActiveNewsLevel(*online_.brand)) {
      std::string details;
      if (vellora::GetNewsDetails(online_, level->PublisherId, online_.brand->BranderCode,
                                  level->ProductType, vellora::kNewsTarget, newsId, details)) {
        prfEditorNews->setHtml(vellora::AnsiToQString(details));
        const vellora::CryptResult written = vellora::WriteLastNewsId(online_.programDir, newsId);
        if (!written.Ok()) vellora::PrompterOf(online_).Warning(written.Message);
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TfrmNews::btnExitClick() {
  close();
}
