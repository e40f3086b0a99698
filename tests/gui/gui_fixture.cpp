#include "gui_fixture.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace kestrel::test {

namespace fs = std::filesystem;

GuiRuntime::GuiRuntime() : logs(folder / "logs") {
  fs::create_directories(logs);
  fs::create_directories(folder / "plugins");
  fs::create_symlink(KESTREL_SPU_PLUGIN_PATH, folder / "plugins/libkestrel_spu.so");
  for (const auto& demo : fs::directory_iterator(KESTREL_DEMO_DIR)) {
    fs::copy_file(demo.path(), logs + "/" + demo.path().filename().string());
  }
  WriteConfig();
}

GuiRuntime::~GuiRuntime() { window_.reset(); }

void GuiRuntime::WriteConfig(const std::string& keys) {
  folder.Write("config.ini", "[Kestrel SPU Player]\nSPUFileFolder=" + logs + "\n" + keys);
}

gui::MainWindow& GuiRuntime::Start() {
  ControllerOptions options;
  options.startupFolder = folder.Path();
  window_ = std::make_unique<gui::MainWindow>(std::move(options));
  window_->Control().OpenConsoleIfEnabled();
  window_->Start();
  window_->show();
  WaitFor([this] { return !window_->Control().FileListPage().Scanning(); });
  return *window_;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

QAction* MenuItem(gui::MainWindow& window, int command) {
  for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (gui::IdOf(action) == command) return action;
    }
  }
  return nullptr;
}

QString StatusField(gui::MainWindow& window, int field) {
  return window.findChild<QLabel*>(QStringLiteral("statusField%1").arg(field))->text();
}

MessageBoxAnswerer::MessageBoxAnswerer() {
  auto* timer = new QTimer(qApp);
  timer->setObjectName(QStringLiteral("messageBoxAnswerer"));
  QObject::connect(timer, &QTimer::timeout, [seen = seen_] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen->append(box->windowTitle() + QStringLiteral(": ") + box->text());
    box->done(box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok);
  });
  timer->start(20);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (auto* timer = qApp->findChild<QTimer*>(QStringLiteral("messageBoxAnswerer"))) delete timer;
}

}  // namespace kestrel::test
