#include <QApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ui/qt/henkan_window.h"

namespace {

// Without a display Qt would abort with a message about plugins; say what to do instead.
bool DisplayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  auto unset = [](const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || *value == '\0';
  };
  return unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY");
#else
  return false;
#endif
}

// For measuring start-up (QDVZ_EXIT_AFTER_SHOW=1): prints the milliseconds from the start of
// main to the first exposed window and quits.
class ExitAfterShow : public QObject {
 public:
  explicit ExitAfterShow(std::chrono::steady_clock::time_point start) : start_(start) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Expose || done_) return false;
    if (auto* window = qobject_cast<QWindow*>(watched); window && window->isExposed()) {
      done_ = true;
      const std::chrono::duration<double, std::milli> elapsed =
          std::chrono::steady_clock::now() - start_;
      std::printf("%.1f\n", elapsed.count());
      std::fflush(stdout);
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::chrono::steady_clock::time_point start_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  const auto start = std::chrono::steady_clock::now();
  if (DisplayMissing()) {
    std::fputs(
        "henkan: 表示先（ディスプレイ）がありません。X か Wayland のデスクトップで起動するか、\n"
        "  xvfb-run -a henkan で仮想ディスプレイ上に、または QT_QPA_PLATFORM=offscreen henkan で\n"
        "  画面なしで起動してください。\n"
        "henkan: no display found. Start it on an X or Wayland desktop, or run\n"
        "  xvfb-run -a henkan (virtual display) or QT_QPA_PLATFORM=offscreen henkan (no screen).\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  // Wayland desktops match the window to its menu entry, and so to its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.c_seed_b1097721.qdvz.henkan"));
  ExitAfterShow exitAfterShow(start);
  if (const char* value = std::getenv("QDVZ_EXIT_AFTER_SHOW");
      value && std::string_view(value) == "1")
    app.installEventFilter(&exitAfterShow);
  qdvz::HenkanWindow window;
  window.show();
  // Files opened with the program from the file manager, or named on the command line.
  if (const QStringList files = QCoreApplication::arguments().mid(1); !files.isEmpty()) {
    window.OpenFiles(files);
  }
  return app.exec();
}
