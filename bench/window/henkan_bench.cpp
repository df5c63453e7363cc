// The window's speed, offscreen: a press of QD→VZ until the converted text is in the display
// box, with the benchmarks' mixed 1199-line file, which holds every kind of record.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <string>

#include "mixed_data.h"
#include "ui/qt/henkan_window.h"

namespace {

// Counts the paintings of a widget, to show that the text was really drawn.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

bool WriteFile(const QString& path, const std::string& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(QByteArray::fromStdString(bytes)) == static_cast<qint64>(bytes.size());
}

// The window, shown offscreen in a folder of its own with both files loaded through its
// buttons.
struct LoadedWindow {
  QTemporaryDir folder;
  std::unique_ptr<qdvz::HenkanWindow> window;
  QPushButton* datCh = nullptr;
  QPlainTextEdit* display = nullptr;
  QLineEdit* status = nullptr;
  QString error;

  LoadedWindow() {
    if (!WriteFile(folder.filePath("moji.qdc"), qdvz::bench::MixedSizeFile()) ||
        !WriteFile(folder.filePath("mixed.dat"), qdvz::bench::MixedQdFile(1199))) {
      error = "cannot write the files";
      return;
    }
    QDir::setCurrent(folder.path());  // the window starts in the working directory
    window = std::make_unique<qdvz::HenkanWindow>();
    window->show();
    while (!window->windowHandle() || !window->windowHandle()->isExposed()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    auto* name = window->findChild<QLineEdit*>("FileName");
    datCh = window->findChild<QPushButton*>("DatCh");
    display = window->findChild<QPlainTextEdit*>("DisplayBox");
    status = window->findChild<QLineEdit*>("dbox");
    name->setText("moji.qdc");
    window->findChild<QPushButton*>("datopen1")->click();
    name->setText("mixed.dat");
    window->findChild<QPushButton*>("DatOpen")->click();
    QCoreApplication::processEvents();
    if (status->text() != QString::fromUtf16(u"読み込み完了")) error = "loading: " + status->text();
  }
};

// Made in main, after the application object and gone before it.
LoadedWindow* loadedWindow = nullptr;

void BM_ConvertClickToDisplay(benchmark::State& state) {
  LoadedWindow& w = *loadedWindow;
  if (!w.error.isEmpty()) {
    state.SkipWithError(w.error.toStdString().c_str());
    return;
  }
  PaintCounter counter;
  w.display->viewport()->installEventFilter(&counter);
  for (auto _ : state) {
    w.datCh->click();
    QCoreApplication::processEvents();  // layout and painting of the new text
  }
  if (w.status->text() != QString::fromUtf16(u"変換終了")) {
    state.SkipWithError(("conversion: " + w.status->text()).toStdString().c_str());
    return;
  }
  state.counters["shown_lines"] = w.display->document()->blockCount();
  state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ConvertClickToDisplay)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QApplication app(argc, argv);
  auto loaded = std::make_unique<LoadedWindow>();
  loadedWindow = loaded.get();
  benchmark::RunSpecifiedBenchmarks();
  loaded.reset();
  benchmark::Shutdown();
  return 0;
}
