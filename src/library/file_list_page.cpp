#include "library/file_list_page.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

#include "app/command_ids.h"
#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "monitor/analyzer_widget.h"

namespace kestrel::gui {

// The core's rows as the view reads them. The model keeps, per row, the serial and the check
// mark it last showed, so a refresh finds what changed without comparing texts: a different
// serial sequence means rows were added, removed or reordered (scan, sort, shuffle, import).
class FileListModel : public QAbstractTableModel {
 public:
  FileListModel(Controller& controller, QObject* parent) : QAbstractTableModel(parent), controller_(controller) {}

  // Brings the view up to the core's list. True when the rows were rebuilt.
  bool Sync() {
    const auto& entries = Entries();
    bool sameRows = entries.size() == shown_.size();
    for (std::size_t i = 0; sameRows && i < entries.size(); ++i) sameRows = entries[i].serial == shown_[i].serial;
    if (!sameRows) {
      beginResetModel();
      shown_.clear();
      shown_.reserve(entries.size());
      for (const SpuFileEntry& entry : entries) shown_.push_back({entry.serial, entry.checked});
      endResetModel();
      return true;
    }
    int first = -1;
    int last = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].checked == shown_[i].checked) continue;
      shown_[i].checked = entries[i].checked;
      if (first < 0) first = static_cast<int>(i);
      last = static_cast<int>(i);
    }
    if (first >= 0) emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
    return false;
  }

  void SetTextColor(const QColor& color) {
    textColor_ = color;
    if (!shown_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1), {Qt::ForegroundRole});
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumnCount; }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    if (!index.isValid() || row >= shown_.size() || row >= Entries().size()) return {};
    const SpuFileEntry& entry = Entries()[row];
    switch (role) {
      case Qt::DisplayRole:
      case Qt::ToolTipRole: return QString::fromStdString(ColumnText(entry, index.column()));
      case Qt::CheckStateRole:
        if (index.column() == 0) return entry.checked ? Qt::Checked : Qt::Unchecked;
        return {};
      case Qt::ForegroundRole: return textColor_;
      case Qt::TextAlignmentRole: return Alignment(index.column());
      default: return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char* const kHeaders[kColumnCount] = {"SPU File Name", "Time", "File Path"};
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::TextAlignmentRole) return Alignment(section);
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
  }

  // A tick or a cleared box goes to the core; the next refresh shows what it made of it.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0) return false;
    controller_.CheckFileRow(static_cast<std::size_t>(index.row()),
                             value.toInt() == static_cast<int>(Qt::Checked));
    return true;
  }

 private:
  struct Shown {
    std::uint32_t serial;
    bool checked;
  };

  static QVariant Alignment(int column) {
    return QVariant::fromValue(Qt::AlignVCenter | (column == 1 ? Qt::AlignHCenter : Qt::AlignLeft));
  }
  const std::vector<SpuFileEntry>& Entries() const { return controller_.FileList().entries.Entries(); }

  Controller& controller_;
  std::vector<Shown> shown_;
  QColor textColor_{255, 255, 255};
};

namespace {

// Rows take the list's text colour; the check box keeps the standard colours, so a tick is
// seen whatever that colour is.
class FileListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != 0) return;
    QStyleOptionViewItem box(option);
    initStyleOption(&box, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    box.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, widget);
    box.palette = QApplication::palette();
    box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange | QStyle::State_HasFocus);
    box.state |= box.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
  }
};

constexpr int kColumnWidths[kColumnCount] = {250, 60, 500};
constexpr int kInfoWidth = 310;  // the analyzer's width; the panel below it matches

constexpr const char* kPanelLabels[] = {"FileName :",   "Time :",      "Path :",   "GameTilte :",
                                        "MusicTilte :", "Copyright :", "Format :", "Size :"};

QPushButton* PageButton(Controller& controller, const char* text, int id, QWidget* parent) {
  auto* button = Named(new QPushButton(QString::fromLatin1(text), parent), id);
  QObject::connect(button, &QPushButton::clicked, parent, [&controller, id] { controller.PageCommandDispatch(id); });
  return button;
}

void SetIfChanged(QLabel* label, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (label->text() != shown) label->setText(shown);
}

void SetIfChanged(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() == shown) return;
  edit->setText(shown);
  edit->setCursorPosition(0);  // long paths show their beginning
}

}  // namespace

FileListPage::FileListPage(Controller& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), analyzer_(new AnalyzerWidget(this)) {
  setObjectName(QStringLiteral("id102"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(10);
  layout->addWidget(BuildListSide(), 1);
  layout->addWidget(BuildInfoSide(), 0);
}

QWidget* FileListPage::BuildListSide() {
  auto* side = new QWidget(this);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(5);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("SPU File List :"), side));
  countLabel_ = new QLabel(QStringLiteral("0"), side);
  countLabel_->setObjectName(QStringLiteral("fileCount"));
  countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  countLabel_->setMinimumWidth(countLabel_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
  countRow->addWidget(countLabel_);
  countRow->addWidget(new QLabel(QStringLiteral("File(s) are detected."), side));
  countRow->addStretch(1);
  column->addLayout(countRow);

  model_ = new FileListModel(controller_, this);
  list_ = new QTableView(side);
  list_->setObjectName(QStringLiteral("fileList"));
  list_->setModel(model_);
  list_->setItemDelegate(new FileListDelegate(list_));
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setWordWrap(false);
  list_->setCornerButtonEnabled(false);
  list_->setShowGrid(false);
  list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
  QHeaderView* header = list_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  for (int c = 0; c < kColumnCount; ++c) header->resizeSection(c, kColumnWidths[c]);
  list_->setMinimumSize(375, 200);
  connect(header, &QHeaderView::sectionClicked, this, [this](int c) { controller_.ClickFileListColumn(c); });
  // Arrow keys move the selection as a click on the row would.
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (syncing_) return;
            controller_.ClickFileRow(current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt);
          });
  list_->installEventFilter(this);
  list_->viewport()->installEventFilter(this);
  column->addWidget(list_, 1);

  auto* locationRow = new QHBoxLayout;
  locationRow->addWidget(new QLabel(QStringLiteral("Location :"), side));
  location_ = new QLineEdit(side);
  location_->setObjectName(QStringLiteral("location"));
  location_->setMaxLength(260);
  connect(location_, &QLineEdit::textEdited, this,
          [this](const QString& text) { controller_.EditFileListLocation(text.toStdString()); });
  locationRow->addWidget(location_, 1);
  QPushButton* browse = PageButton(controller_, "...", file_list_id::kBrowseFolder, side);
  browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
  locationRow->addWidget(browse);
  column->addLayout(locationRow);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(PageButton(controller_, "Refresh", file_list_id::kRefresh, side));
  buttons->addWidget(PageButton(controller_, "Shuffle", file_list_id::kShuffle, side));
  buttons->addWidget(PageButton(controller_, "Check all", file_list_id::kCheckAll, side));
  buttons->addWidget(PageButton(controller_, "UnCheck all", file_list_id::kUnCheckAll, side));
  column->addLayout(buttons);
  return side;
}

QWidget* FileListPage::BuildInfoSide() {
  auto* side = new QWidget(this);
  side->setFixedWidth(kInfoWidth);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(5);

  statusText_ = new QLabel(side);
  statusText_->setObjectName(QStringLiteral("scanStatus"));
  statusText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // One line tall while empty, so the analyzer does not move when the text comes and goes.
  statusText_->setFixedHeight(statusText_->fontMetrics().height());
  column->addWidget(statusText_);
  analyzer_->setFixedSize(310, 120);
  column->addWidget(analyzer_, 0, Qt::AlignRight);

  auto* info = new QGroupBox(QStringLiteral("Selected File Info"), side);
  info->setObjectName(QStringLiteral("selectedFileInfo"));
  auto* form = new QFormLayout(info);
  form->setContentsMargins(8, 4, 8, 6);
  form->setVerticalSpacing(2);
  form->setHorizontalSpacing(6);
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  static constexpr const char* kFieldNames[] = {"infoFileName",   "infoTime",      "infoPath",   "infoGameTitle",
                                                "infoMusicTitle", "infoCopyright", "infoFormat", "infoSize"};
  for (std::size_t i = 0; i < panel_.size(); ++i) {
    auto* field = new QLineEdit(info);
    field->setObjectName(QString::fromLatin1(kFieldNames[i]));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    form->addRow(QString::fromLatin1(kPanelLabels[i]), field);
    panel_[i] = field;
  }
  column->addWidget(info);

  position_ = Named(new QSlider(Qt::Horizontal, side), ctl::kPositionSlider);
  position_->setRange(0, 100);
  position_->setTickInterval(10);
  position_->setTickPosition(QSlider::TicksBelow);
  position_->setPageStep(10);
  // Dragging reports each position, the release ends the move; a click on the groove or a
  // key is a move and its end at once.
  connect(position_, &QSlider::sliderMoved, this,
          [this](int pos) { controller_.HorizontalSlider(ctl::kPositionSlider, SliderCode::Track, pos); });
  connect(position_, &QSlider::sliderReleased, this, [this] {
    controller_.HorizontalSlider(ctl::kPositionSlider, SliderCode::EndScroll, position_->sliderPosition());
  });
  connect(position_, &QSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    const int pos = position_->sliderPosition();
    controller_.HorizontalSlider(ctl::kPositionSlider, SliderCode::Track, pos);
    controller_.HorizontalSlider(ctl::kPositionSlider, SliderCode::EndScroll, pos);
  });
  column->addWidget(position_);
  column->addStretch(1);
  return side;
}

void FileListPage::Refresh() {
  const FileListPageState& state = controller_.FileListPage();
  if (!designShown_ || !(state.design == shownDesign_)) ApplyDesign(state.design);
  ApplyEnabled(this, controller_.FileListControls());

  const bool rebuilt = model_->Sync();
  ShowSelection();
  if (rebuilt && !state.list.entries.Selected()) list_->scrollToTop();

  SetIfChanged(countLabel_, state.CountLabel());
  SetIfChanged(statusText_, state.list.statusText);
  {
    const QSignalBlocker quiet(location_);
    if (location_->text() != QString::fromStdString(state.location)) location_->setText(QString::fromStdString(state.location));
  }
  ShowPanel();
  {
    const QSignalBlocker quiet(position_);
    if (position_->value() != controller_.PositionSlider() || position_->sliderPosition() != position_->value()) {
      position_->setValue(controller_.PositionSlider());
      position_->setSliderPosition(controller_.PositionSlider());
    }
  }
}

void FileListPage::ApplyDesign(const FileListDesign& design) {
  shownDesign_ = design;
  designShown_ = true;
  list_->setShowGrid(design.gridLines);
  const QColor text(design.textRed, design.textGreen, design.textBlue);
  model_->SetTextColor(text);
  // The rows are transparent over the picture, tiled from the list's corner. Without a
  // readable picture the list is plain, in a shade the text colour stands out on.
  QPalette palette = list_->viewport()->palette();
  const QPixmap image(QString::fromStdString(design.backImagePath));
  if (!image.isNull()) {
    palette.setBrush(QPalette::Base, QBrush(image));
  } else {
    palette.setColor(QPalette::Base, text.lightness() > 128 ? QColor(24, 28, 36) : QColor(Qt::white));
  }
  list_->viewport()->setPalette(palette);
  list_->viewport()->setAutoFillBackground(true);
}

void FileListPage::ShowSelection() {
  const std::optional<std::size_t> selected = controller_.FileList().entries.Selected();
  QItemSelectionModel* selection = list_->selectionModel();
  syncing_ = true;
  if (selected && static_cast<int>(*selected) < model_->rowCount()) {
    const int row = static_cast<int>(*selected);
    if (selection->currentIndex().row() != row || !selection->isRowSelected(row, {})) {
      selection->setCurrentIndex(model_->index(row, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      list_->scrollTo(model_->index(row, 0));
    }
  } else if (selection->hasSelection() || selection->currentIndex().isValid()) {
    selection->clear();
  }
  syncing_ = false;
}

void FileListPage::ShowPanel() {
  const SelectedFilePanel& p = controller_.Panel();
  const std::string* const fields[] = {&p.fileName,   &p.time,      &p.path,   &p.gameTitle,
                                       &p.musicTitle, &p.copyright, &p.format, &p.size};
  for (std::size_t i = 0; i < panel_.size(); ++i) SetIfChanged(panel_[i], *fields[i]);
}

bool FileListPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != list_ && watched != list_->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ContextMenu:
      OpenContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (watched != list_->viewport()) break;
      auto* mouse = static_cast<QMouseEvent*>(event);
      // The right button opens the menu only; the selection stays the core's.
      if (mouse->button() != Qt::LeftButton) return true;
      const QModelIndex index = list_->indexAt(mouse->position().toPoint());
      const auto row = index.isValid() ? std::optional<std::size_t>(index.row()) : std::nullopt;
      if (event->type() == QEvent::MouseButtonDblClick) {
        controller_.DoubleClickFileRow(row);
        return true;
      }
      controller_.ClickFileRow(row);
      break;  // the view goes on, for a click on a check box
    }
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void FileListPage::OpenContextMenu(const QPoint& globalPos) {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("fileListMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const ContextMenuEntry& entry : controller_.FileListPage().Menu()) {
    if (entry.IsSeparator()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = Named(menu->addAction(QString::fromStdString(entry.caption)), entry.command);
    action->setEnabled(entry.enabled);
    const int command = entry.command;
    // After the menu has gone, so a dialog the command opens is not opened from inside it.
    connect(action, &QAction::triggered, this, [this, command] {
      QMetaObject::invokeMethod(this, [this, command] { controller_.PageCommandDispatch(command); },
                                Qt::QueuedConnection);
    });
  }
  menu->popup(globalPos);
}

}  // namespace kestrel::gui
