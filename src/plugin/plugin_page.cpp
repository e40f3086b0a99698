#include "plugin/plugin_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "mixer/switch_page_state.h"

namespace kestrel::gui {
namespace {

using namespace plugin_page;

struct Column {
  const char* header;
  Qt::Alignment alignment;
  int width;
};
constexpr Column kColumns[] = {
    {"SPU Plugin Info", Qt::AlignCenter, 220},
    {"Support", Qt::AlignCenter, 100},
    {"File Name", Qt::AlignLeft | Qt::AlignVCenter, 150},
};

struct Switch {
  int id;
  const char* text;
};
// Two columns: the 0-15ch register of each pair on the left, its 16-23ch twin on the right.
constexpr Switch kRegisterBoxes[] = {
    {1106, "0x1f801d88 : Voice ON (0-15ch)"},
    {1107, "0x1f801d8a : Voice ON (16-23ch)"},
    {1108, "0x1f801d8c : Voice OFF (0-15ch)"},
    {1109, "0x1f801d8e : Voice OFF (16-23ch)"},
    {1110, "0x1f801d90 : Channel FM Mode (0-15ch)"},
    {1111, "0x1f801d92 : Channel FM Mode (16-23ch)"},
    {1112, "0x1f801d94 : Channel Noise Mode (0-15ch)"},
    {1113, "0x1f801d96 : Channel Noise Mode (16-23ch)"},
    {1114, "0x1f801d98 : Channel Reverb Mode (0-15ch)"},
    {1115, "0x1f801d9a : Channel Reverb Mode (16-23ch)"},
};
constexpr Switch kEventBoxes[] = {
    {switch_page::kRegisterWriteBox, "Enable REG Write"},
    {switch_page::kDmaBox, "Enable DMA Write"},
    {switch_page::kXaBox, "Enable XA Play"},
    {switch_page::kCddaBox, "Enable CDDA Play"},
};

bool SameRows(const std::vector<PluginRow>& a, const std::vector<PluginRow>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].itemNumber != b[i].itemNumber || a[i].info != b[i].info || a[i].support != b[i].support ||
        a[i].fileName != b[i].fileName) {
      return false;
    }
  }
  return true;
}

}  // namespace

PluginPage::PluginPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {
  list_ = Named(new QTableWidget(0, 3), kPluginList);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->setIconSize(QSize(16, 16));
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  QHeaderView* header = list_->horizontalHeader();
  header->setHighlightSections(false);
  header->setSectionsClickable(true);
  for (int column = 0; column < 3; ++column) {
    auto* item = new QTableWidgetItem(QString::fromUtf8(kColumns[column].header));
    item->setTextAlignment(kColumns[column].alignment);
    list_->setHorizontalHeaderItem(column, item);
    list_->setColumnWidth(column, kColumns[column].width);
  }
  header->setStretchLastSection(true);
  // The list itself is as wide as its three columns.
  list_->setMinimumWidth(220 + 100 + 150 + 2 * list_->frameWidth() + 2);
  list_->viewport()->installEventFilter(this);
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) { controller_.ClickPluginColumn(column); });
  connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
    const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
    const int row = ranges.isEmpty() ? -1 : ranges.first().topRow();
    if (row != controller_.PluginPage().SelectedRow()) controller_.SelectPluginRow(row);
  });
  connect(list_, &QWidget::customContextMenuRequested, this, &PluginPage::ShowContextMenu);

  auto button = [this](const char* text, int id) {
    auto* push = Named(new QPushButton(QString::fromUtf8(text)), id);
    connect(push, &QPushButton::clicked, this, [this, id] { Click(id); });
    return push;
  };
  auto field = [](int id) {
    auto* edit = Named(new QLineEdit, id);
    edit->setReadOnly(true);
    return edit;
  };
  name_ = field(kName);
  version_ = field(kVersion);
  path_ = field(kPath);
  auto* info = new QGroupBox(QStringLiteral("Selected Plugin Info"));
  auto* infoLayout = new QGridLayout(info);
  infoLayout->addWidget(new QLabel(QStringLiteral("Name :")), 0, 0);
  infoLayout->addWidget(name_, 0, 1);
  infoLayout->addWidget(new QLabel(QStringLiteral("Version :")), 1, 0);
  infoLayout->addWidget(version_, 1, 1);
  infoLayout->addWidget(new QLabel(QStringLiteral("Path :")), 2, 0);
  infoLayout->addWidget(path_, 2, 1);
  infoLayout->setRowStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(button("Configure", kConfigure));
  buttons->addWidget(button("About", kAbout));
  buttons->addWidget(button("Test", kTest));

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("SPU Plugin List :")));
  left->addWidget(list_);
  auto* right = new QVBoxLayout;
  right->addWidget(info, 1);
  right->addLayout(buttons);
  auto* plugins = new QHBoxLayout;
  plugins->addLayout(left, 1);
  plugins->addLayout(right);

  auto check = [this](const Switch& s) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(s.text)), s.id);
    connect(box, &QCheckBox::clicked, this, [this, id = s.id] { Click(id); });
    return box;
  };
  auto* registers = new QGroupBox(QStringLiteral("Register Control"));
  auto* registersLayout = new QGridLayout(registers);
  registersLayout->setVerticalSpacing(2);
  for (int i = 0; i < 10; ++i) registersLayout->addWidget(check(kRegisterBoxes[i]), i / 2, i % 2);
  auto* events = new QGroupBox(QStringLiteral("Event Control (for NewFormat)"));
  auto* eventsLayout = new QHBoxLayout(events);
  for (const Switch& s : kEventBoxes) eventsLayout->addWidget(check(s));
  eventsLayout->addStretch();

  auto* page = new QVBoxLayout(this);
  page->addLayout(plugins, 1);
  page->addWidget(registers);
  page->addWidget(events);
}

void PluginPage::Click(int id) {
  controller_.PageCommandDispatch(id);
  Refresh();
}

bool PluginPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport()) {
    const bool release = event->type() == QEvent::MouseButtonRelease;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (release || doubleClick) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        const QModelIndex index = list_->indexAt(mouse->position().toPoint());
        const int row = index.isValid() ? index.row() : -1;
        if (doubleClick) {
          controller_.DoubleClickPluginRow(row);
        } else {
          controller_.ClickPluginRow(row);
        }
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void PluginPage::ShowContextMenu(const QPoint& at) {
  QMenu menu(this);
  for (const ContextMenuEntry& entry : controller_.PluginPage().Menu()) {
    if (entry.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = Named(menu.addAction(QString::fromStdString(entry.caption)), entry.command);
    action->setEnabled(entry.enabled);
  }
  QAction* chosen = menu.exec(list_->viewport()->mapToGlobal(at));
  if (chosen == nullptr) return;
  if (const auto command = IdOf(chosen)) Click(*command);
}

void PluginPage::ShowRows(const std::vector<PluginRow>& rows) {
  const QSignalBlocker quiet(list_);
  const QIcon icon(QStringLiteral(":/icons/plugin.png"));
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const PluginRow& row = rows[static_cast<std::size_t>(r)];
    const std::string* texts[3] = {&row.info, &row.support, &row.fileName};
    for (int column = 0; column < 3; ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(*texts[column]));
      item->setTextAlignment(kColumns[column].alignment);
      item->setToolTip(item->text());
      if (column == 0) item->setIcon(icon);
      list_->setItem(r, column, item);
    }
  }
  shown_ = rows;
}

void PluginPage::Refresh() {
  const PluginPageState& state = controller_.PluginPage();
  if (!SameRows(shown_, state.Rows())) ShowRows(state.Rows());
  {
    const QSignalBlocker quiet(list_);
    const int selected = state.SelectedRow();
    if (selected >= 0 && selected < list_->rowCount()) {
      list_->selectRow(selected);
    } else {
      list_->clearSelection();
    }
  }
  ApplyEnabled(this, state.controls);
  const ControlStates& switches = controller_.SwitchPage().controls;
  for (const Switch& s : kRegisterBoxes) ApplyChecked(this, switches, {s.id});
  for (const Switch& s : kEventBoxes) ApplyChecked(this, switches, {s.id});
  const auto show = [](QLineEdit* edit, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) edit->setText(shown);
  };
  show(name_, state.name);
  show(version_, state.version);
  show(path_, state.path);
}

}  // namespace kestrel::gui
