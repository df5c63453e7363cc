#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/henkan_window.h"

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

}  // namespace

int main(int argc, char* argv[]) {
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
  qdvz::HenkanWindow window;
  window.show();
  return app.exec();
}
