// The window's speed, offscreen: a press of QD→VZ until the converted text is in the display
// box, with a 1199-line file that holds every kind of record.
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

#include "ui/qt/henkan_window.h"

namespace {

constexpr char kSizes[] = "2.5,3,3.5,4,5,6,7,8,10,12\r\n2,2.4,2.8,3.2,4,4.8,5.6,6.4,8,9.6\r\n";

// One of each kind of record (code page 932), repeated in one block to 1199 lines.
QByteArray MixedData() {
  const char* const records[] = {
      "800 1",
      "500 100 50",
      "10 10 0 0 100 0",
      "02 20 10 20 30 40",
      "03 00 10 20 30 40",
      "01 00 100 200 30 60 e -50 0.75",
      "00 00 100 200 30 60 5 E 40 1",
      "01 00 100 200 0 0 30011",
      "09 00 100 200 0 0 30020",
      "01 01 100.5 200 150.5 200 10003 105 \"ABC",
      "20001 02 120 80 180 80 10007 110 \"\x95\xB6\x8E\x9A",  // 文字
      "# comment",
  };
  QByteArray data = "# bench\r\n999\r\n1 BENCH\r\n";
  for (int line = 4, i = 0; line < 1199; ++line, ++i) {
    data += records[i % std::size(records)];
    data += "\r\n";
  }
  return data + "99 0\r\n";
}

// Counts the paintings of a widget, to show that the text was really drawn.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
    if (!WriteFile(folder.filePath("moji.qdc"), kSizes) ||
        !WriteFile(folder.filePath("mixed.dat"), MixedData())) {
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
