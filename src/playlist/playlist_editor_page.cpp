#include "playlist/playlist_editor_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <optional>

#include "app/controller.h"
#include "app/gui/control_binding.h"

namespace kestrel::gui {
namespace {

constexpr const char* kColumnTitles[kColumnCount] = {"SPU File Name", "Time", "File Path"};
constexpr int kColumnWidths[kColumnCount] = {250, 60, 500};

// A report list as both of the page's lists are: the file list's three columns, full-row
// single selection, grid lines, a tip with each cell's text, nothing edited in place.
QTableWidget* MakeReportList(const QString& name, QWidget* parent) {
  auto* table = new QTableWidget(0, kColumnCount, parent);
  table->setObjectName(name);
  for (int column = 0; column < kColumnCount; ++column) {
    table->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(kColumnTitles[column])));
    table->setColumnWidth(column, kColumnWidths[column]);
  }
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignCenter);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setShowGrid(true);
  table->setWordWrap(false);
  table->setMinimumSize(330, 290);
  return table;
}

std::optional<std::size_t> SelectedRow(const QTableWidget* table) {
  const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
  if (ranges.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(ranges.front().topRow());
}

void SetRow(QTableWidget* table, int row, const SpuFileEntry& entry) {
  for (int column = 0; column < kColumnCount; ++column) {
    const QString text = QString::fromStdString(ColumnText(entry, column));
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    if (column == 1) item->setTextAlignment(Qt::AlignCenter);
    table->setItem(row, column, item);
  }
}

// Shows `list` in `table`: the rows that differ from those shown (by serial) are written
// again, so that a move or a removal in a long playlist touches a few rows, not all of
// them; then the selection.
void ShowList(QTableWidget* table, const EntryList& list, std::vector<std::uint32_t>& shown) {
  const QSignalBlocker quiet(table);
  std::vector<std::uint32_t> serials;
  serials.reserve(list.Size());
  for (const SpuFileEntry& entry : list.Entries()) serials.push_back(entry.serial);
  if (serials != shown) {
    // The rows before the first difference and after the last stay as they are.
    const std::size_t shorter = std::min(serials.size(), shown.size());
    std::size_t head = 0;
    while (head < shorter && serials[head] == shown[head]) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && serials[serials.size() - 1 - tail] == shown[shown.size() - 1 - tail]) ++tail;
    const int first = static_cast<int>(head);
    const int oldEnd = static_cast<int>(shown.size() - tail);
    const int newEnd = static_cast<int>(serials.size() - tail);
    table->setUpdatesEnabled(false);
    if (head == 0 && tail == 0) {
      table->clearContents();
      table->setRowCount(newEnd);
    } else {
      for (int row = oldEnd; row > newEnd; --row) table->removeRow(row - 1);
      for (int row = oldEnd; row < newEnd; ++row) table->insertRow(row);
    }
    for (int row = first; row < newEnd; ++row) SetRow(table, row, list.At(static_cast<std::size_t>(row)));
    table->setUpdatesEnabled(true);
    shown = std::move(serials);
  }
  const std::optional<std::size_t> selected = list.Selected();
  if (selected == SelectedRow(table)) return;
  if (selected) {
    const int row = static_cast<int>(*selected);
    table->setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->scrollToItem(table->item(row, 0));
  } else {
    table->clearSelection();
  }
}

QLineEdit* ReadOnlyField(const QString& name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  return field;
}

QLabel* CountLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("0"), parent);
  label->setObjectName(name);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFrameShadow(QFrame::Sunken);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
  return label;
}

}  // namespace

PlaylistEditorPage::PlaylistEditorPage(Controller& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setObjectName(QStringLiteral("id107"));

  // The opened folder's logs.
  auto* folderField = ReadOnlyField(QStringLiteral("leftFolder"), this);
  auto* open = Named(new QPushButton(QStringLiteral("Open"), this), playlist_id::kOpen);
  auto* addAll = Named(new QPushButton(QStringLiteral("Add all >>"), this), playlist_id::kAddAll);
  left_ = MakeReportList(QStringLiteral("leftList"), this);
  leftCount_ = CountLabel(QStringLiteral("leftCount"), this);
  auto* leftTop = new QHBoxLayout;
  leftTop->addWidget(new QLabel(QStringLiteral("SPU File List :"), this));
  leftTop->addWidget(folderField, 1);
  auto* leftBottom = new QHBoxLayout;
  leftBottom->addWidget(open);
  leftBottom->addWidget(leftCount_);
  leftBottom->addStretch(1);
  leftBottom->addWidget(addAll);
  auto* leftColumn = new QVBoxLayout;
  leftColumn->addLayout(leftTop);
  leftColumn->addWidget(left_, 1);
  leftColumn->addLayout(leftBottom);

  // The playlist.
  auto* titleField = ReadOnlyField(QStringLiteral("playlistTitle"), this);
  auto* load = Named(new QPushButton(QStringLiteral("Load List"), this), playlist_id::kLoadList);
  auto* clear = Named(new QPushButton(QStringLiteral("Clear"), this), playlist_id::kClear);
  auto* save = Named(new QPushButton(QStringLiteral("Save List"), this), playlist_id::kSaveList);
  playlist_ = MakeReportList(QStringLiteral("playlistList"), this);
  playlist_->setContextMenuPolicy(Qt::CustomContextMenu);
  registeredCount_ = CountLabel(QStringLiteral("registeredCount"), this);
  action_ = new QComboBox(this);
  action_->setObjectName(QStringLiteral("doubleClickAction"));
  for (const char* text : kDoubleClickActionTexts) action_->addItem(QString::fromUtf8(text));
  auto* rightTop = new QHBoxLayout;
  rightTop->addWidget(new QLabel(QStringLiteral("PlayList Title :"), this));
  rightTop->addWidget(titleField, 1);
  rightTop->addWidget(registeredCount_);
  auto* rightBottom = new QHBoxLayout;
  rightBottom->addWidget(load);
  rightBottom->addWidget(clear);
  rightBottom->addWidget(save);
  rightBottom->addStretch(1);
  rightBottom->addWidget(action_);
  auto* rightColumn = new QVBoxLayout;
  rightColumn->addLayout(rightTop);
  rightColumn->addWidget(playlist_, 1);
  rightColumn->addLayout(rightBottom);

  auto* page = new QHBoxLayout(this);
  page->addLayout(leftColumn, 1);
  page->addLayout(rightColumn, 1);

  folderField_ = folderField;
  titleField_ = titleField;

  for (QPushButton* button : {open, load, clear, save, addAll}) {
    const int id = *IdOf(button);
    connect(button, &QPushButton::clicked, this, [this, id] { controller_.PageCommandDispatch(id); });
  }
  connect(left_, &QTableWidget::itemSelectionChanged, this,
          [this] { controller_.SelectEditorLeftRow(SelectedRow(left_)); });
  connect(playlist_, &QTableWidget::itemSelectionChanged, this,
          [this] { controller_.SelectEditorPlaylistRow(SelectedRow(playlist_)); });
  connect(left_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { controller_.DoubleClickEditorLeftRow(static_cast<std::size_t>(row)); });
  connect(playlist_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { controller_.DoubleClickEditorPlaylistRow(static_cast<std::size_t>(row)); });
  connect(left_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { controller_.ClickEditorLeftColumn(column); });
  connect(playlist_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { controller_.ClickEditorPlaylistColumn(column); });
  connect(playlist_, &QWidget::customContextMenuRequested, this, &PlaylistEditorPage::ShowPlaylistMenu);
  connect(action_, &QComboBox::activated, this, [this](int index) { controller_.ChooseDoubleClickAction(index); });
}

void PlaylistEditorPage::Refresh() {
  const PlaylistEditorPageState& state = controller_.EditorPage();
  const PlaylistEditor& editor = state.editor;
  ApplyEnabled(this, state.controls);
  ShowList(left_, editor.left, leftShown_);
  ShowList(playlist_, editor.playlist, playlistShown_);
  const auto show = [](QLineEdit* field, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (field->text() == shown) return;
    field->setText(shown);
    field->setCursorPosition(0);
    field->setToolTip(shown);
  };
  show(folderField_, editor.leftFolder);
  show(titleField_, editor.titleLabel);
  leftCount_->setText(QString::fromStdString(state.LeftCountLabel()));
  registeredCount_->setText(QString::fromStdString(state.RegisteredCountLabel()));
  const QSignalBlocker quiet(action_);
  action_->setCurrentIndex(static_cast<int>(editor.doubleClickAction));
}

void PlaylistEditorPage::ShowPlaylistMenu(const QPoint& at) {
  const std::optional<ContextMenu> entries = controller_.EditorPage().PlaylistMenu();
  if (!entries) return;  // a load job runs
  QMenu menu(this);
  for (const ContextMenuEntry& entry : *entries) {
    if (entry.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = Named(menu.addAction(QString::fromStdString(entry.caption)), entry.command);
    action->setEnabled(entry.enabled);
    if (const int command = entry.command; command != kCloseMenuCommand) {
      connect(action, &QAction::triggered, this, [this, command] { controller_.PageCommandDispatch(command); });
    }
  }
  menu.exec(playlist_->viewport()->mapToGlobal(at));
}

}  // namespace kestrel::gui
