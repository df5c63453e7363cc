#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

#include "ui/qt/directory_tree.h"
#include "ui/qt/henkan_window.h"

namespace qdvz {
namespace {

constexpr char kSizes[] = "2.5,3,3.5,4,5,6,7,8,10,12\r\n2,2.4,2.8,3.2,4,4.8,5.6,6.4,8,9.6\r\n";
// The block name 破線 in code page 932.
constexpr char kData[] = "999\r\n1 \x94\x6A\x90\xFC\r\n500 100 50\r\n10 10 0 0 100 0\r\n99 0\r\n";
constexpr char16_t kDocument[] =
    u"vzm\r\n#----------------------------------------------\r\n\r\nbegin  \"破線\"\r\n"
    u"scale(100, 0, 0,  20,  10)\r\nselect(0 ,0)\r\nline(10, 0,  0,  100,  0,  0,  0,  0 )\r\n"
    u"end\r\n#---------------------------------\r\n\r\n\r\n\r\n";
constexpr char kSavedBytes[] =
    "vzm\r\n#----------------------------------------------\r\n\r\nbegin  \"\x94\x6A\x90\xFC\"\r\n"
    "scale(100, 0, 0,  20,  10)\r\nselect(0 ,0)\r\nline(10, 0,  0,  100,  0,  0,  0,  0 )\r\n"
    "end\r\n#---------------------------------\r\n\r\n\r\n\r\n\r\n";

QString U(const char16_t* text) {
  return QString::fromUtf16(text);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class HenkanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void controls_data();
  void controls();
  void tabOrder();
  void startsInTheWorkingDirectory();
  void wholeRoad();
  void driveChangeMovesDirectoryAndFiles();
  void fileListFollowsTheFolder();
  void drop_data();
  void drop();
  void displayBoxRoundTrip_data();
  void displayBoxRoundTrip();
  void exitCloses();

 private:
  template <typename T>
  T* control(const char* name) {
    auto* found = window_->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  void clickItem(QAbstractItemView* view, const QModelIndex& index);

  QTemporaryDir root_;
  std::unique_ptr<HenkanWindow> window_;
};

void HenkanWindowTest::initTestCase() {
  QVERIFY(root_.isValid());
  QVERIFY(QDir(root_.path()).mkdir(QStringLiteral("data")));
  const QString data = root_.filePath(QStringLiteral("data"));
  WriteFile(data + QStringLiteral("/moji.qdc"), kSizes);
  WriteFile(data + QStringLiteral("/dash.dat"), kData);
  WriteFile(data + QStringLiteral("/notes.bin"), "x");
  WriteFile(data + QStringLiteral("/README"), "x");
  QVERIFY(QDir::setCurrent(root_.path()));
}

void HenkanWindowTest::init() {
  window_ = std::make_unique<HenkanWindow>();
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void HenkanWindowTest::cleanup() {
  window_.reset();
}

void HenkanWindowTest::clickItem(QAbstractItemView* view, const QModelIndex& index) {
  QVERIFY(index.isValid());
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void HenkanWindowTest::controls_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("toolTip");
  QTest::addColumn<QRect>("twips");

  auto row = [](const char* name, const char16_t* caption, const char16_t* tip, QRect twips) {
    QTest::newRow(name) << U(caption) << U(tip) << twips;
  };
  row("Drive1", u"", u"", {120, 720, 2535, 300});
  row("Dir1", u"", u"", {120, 1080, 2535, 1560});
  row("File1", u"", u"", {2760, 720, 2895, 1845});
  row("DisplayBox", u"", u"", {120, 2760, 8175, 3135});
  row("FileName", u"", u"ファイル名を入力してください", {1440, 240, 2655, 270});
  row("Label1", u"ファイル名(&N)  ：", u"", {120, 240, 1335, 255});
  row("Erase", u"消去(&E)", u"表示を消去します", {5880, 1680, 1095, 375});
  row("DatOpen", u"開く(&O)", u"ファイルを開きます", {5880, 720, 1095, 375});
  row("DatCh", u"QD→VZ", u"データを変換します", {7080, 1200, 1095, 375});
  row("DatSave", u"保存(&S)", u"保存します", {7080, 720, 1095, 375});
  row("Exit", u"終了(&X)", u"プログラムを終了します", {7080, 2160, 1095, 375});
  row("dbox", u"", u"", {120, 6000, 8175, 270});
  row("datopen1", u"文字ｻｲｽﾞ", u"文字データを読みこみます", {5880, 1200, 1095, 375});
  row("hyouji", u"再表示", u"直前に消去されたデータを再表示します", {7080, 1680, 1095, 375});
}

void HenkanWindowTest::controls() {
  QFETCH(QString, caption);
  QFETCH(QString, toolTip);
  QFETCH(QRect, twips);
  auto* widget = control<QWidget>(QTest::currentDataTag());

  QString shown;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) shown = button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
  QCOMPARE(shown, caption);
  QCOMPARE(widget->toolTip(), toolTip);

  const int dpiX = window_->logicalDpiX();
  const int dpiY = window_->logicalDpiY();
  auto px = [](int twips, int dpi) { return qRound(twips * dpi / 1440.0); };
  QCOMPARE(widget->geometry(), QRect(px(twips.x(), dpiX), px(twips.y(), dpiY),
                                     px(twips.width(), dpiX), px(twips.height(), dpiY)));
  QCOMPARE(window_->size(), QSize(px(8460, dpiX), px(6345, dpiY)));
  QCOMPARE(window_->minimumSize(), window_->maximumSize());
}

void HenkanWindowTest::tabOrder() {
  const char* order[] = {"Drive1", "Dir1",     "File1",  "DisplayBox", "FileName",
                         "Erase",  "DatOpen",  "DatCh",  "DatSave",    "Exit",
                         "dbox",   "datopen1", "hyouji", "Drive1"};
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  control<QWidget>("Drive1")->setFocus();
  for (size_t i = 1; i < std::size(order); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QCOMPARE(focus->objectName(), QString::fromLatin1(order[i]));
  }
  // The label hands its access key on to the file-name box.
  QCOMPARE(control<QLabel>("Label1")->buddy(), control<QWidget>("FileName"));
  control<QWidget>("Drive1")->setFocus();
  QTest::keyClick(window_.get(), Qt::Key_N, Qt::AltModifier);
  QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>("FileName"));
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
  QTRY_COMPARE(control<QLineEdit>("dbox")->text(),
               U(u"保存するファイル名を入力、又は選択してください"));
}

void HenkanWindowTest::startsInTheWorkingDirectory() {
  QCOMPARE(window_->windowTitle(), U(u"ＱＤ→ＶＺ線変形データ変換"));
  QCOMPARE(control<QLineEdit>("dbox")->text(), U(u"作業（コマンド）を選択してください"));
  QCOMPARE(control<DirectoryTree>("Dir1")->path(), QDir::currentPath());
  QVERIFY(control<QListWidget>("File1")->count() == 0);
  QVERIFY(control<QPlainTextEdit>("DisplayBox")->document()->isEmpty());
  QVERIFY(control<QLineEdit>("FileName")->text().isEmpty());
  for (int size : {16, 32}) {
    const QPixmap icon = window_->windowIcon().pixmap(QSize(size, size));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(!icon.toImage().allGray());  // the picture itself, not an empty stand-in
  }
}

void HenkanWindowTest::wholeRoad() {
  auto* dir1 = control<DirectoryTree>("Dir1");
  auto* file1 = control<QListWidget>("File1");
  auto* fileName = control<QLineEdit>("FileName");
  auto* display = control<QPlainTextEdit>("DisplayBox");
  auto* dbox = control<QLineEdit>("dbox");
  auto fileItem = [&](const char* name) {
    const auto found = file1->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    return found.isEmpty() ? QModelIndex() : file1->indexFromItem(found.first());
  };

  // Into the data folder: the file list follows the directory list and hides other files.
  const auto sub = dir1->findItems(QStringLiteral("data"), Qt::MatchExactly | Qt::MatchRecursive);
  QCOMPARE(sub.size(), 1);
  // Synthesised double clicks do not reach item views in Qt 6.4: pick the entry, press Enter.
  clickItem(dir1, dir1->indexFromItem(sub.first()));
  QCOMPARE(dir1->path(), root_.path());
  QTest::keyClick(dir1, Qt::Key_Return);
  QTRY_COMPARE(dir1->path(), root_.filePath(QStringLiteral("data")));
  QCOMPARE(file1->count(), 2);
  QCOMPARE(file1->item(0)->text(), QStringLiteral("dash.dat"));
  QCOMPARE(file1->item(1)->text(), QStringLiteral("moji.qdc"));

  // The character sizes.
  clickItem(file1, fileItem("moji.qdc"));
  QCOMPARE(fileName->text(), QStringLiteral("moji.qdc"));
  QTest::mouseClick(control<QPushButton>("datopen1"), Qt::LeftButton);
  QCOMPARE(dbox->text(), U(u"読み込み完了"));
  QCOMPARE(window_->windowTitle(), U(u"線変形データ変換"));
  QCOMPARE(window_->DisplayText(), QString::fromLatin1(kSizes).toStdU16String());

  // The data, opened by its access key.
  clickItem(file1, fileItem("dash.dat"));
  QCOMPARE(fileName->text(), QStringLiteral("dash.dat"));
  QTest::keyClick(window_.get(), Qt::Key_O, Qt::AltModifier);
  QTRY_COMPARE(display->toPlainText(), U(u"999\n1 破線\n500 100 50\n10 10 0 0 100 0\n99 0\n"));
  QCOMPARE(dbox->text(), U(u"読み込み完了"));

  // The conversion.
  QTest::mouseClick(control<QPushButton>("DatCh"), Qt::LeftButton);
  QCOMPARE(window_->DisplayText(), std::u16string(kDocument));
  QCOMPARE(dbox->text(), U(u"変換終了"));
  QCOMPARE(window_->windowTitle(), U(u"線変形データ変換"));
  QVERIFY(fileName->text().isEmpty());

  // Erase and bring it back.
  QTest::mouseClick(control<QPushButton>("Erase"), Qt::LeftButton);
  QVERIFY(display->document()->isEmpty());
  QCOMPARE(dbox->text(), U(u"消去しました"));
  QTest::mouseClick(control<QPushButton>("hyouji"), Qt::LeftButton);
  QCOMPARE(window_->DisplayText(), std::u16string(kDocument));
  QCOMPARE(dbox->text(), U(u"再表示しました"));

  // A typed name, saved: the new file is listed at once.
  QTest::mouseClick(fileName, Qt::LeftButton);
  QTest::keyClicks(fileName, QStringLiteral("out.txt"));
  QCOMPARE(fileName->text(), QStringLiteral("out.txt"));
  QTest::mouseClick(control<QPushButton>("DatSave"), Qt::LeftButton);
  QCOMPARE(dbox->text(), U(u"保存が完了しました"));
  QVERIFY(fileItem("out.txt").isValid());
  QFile saved(root_.filePath(QStringLiteral("data/out.txt")));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray(kSavedBytes));
}

void HenkanWindowTest::driveChangeMovesDirectoryAndFiles() {
  auto* drive1 = control<QComboBox>("Drive1");
  auto* dir1 = control<DirectoryTree>("Dir1");
  auto* fileName = control<QLineEdit>("FileName");
  QVERIFY(drive1->count() >= 1);
  QCOMPARE(drive1->itemData(0).toString(), QDir::rootPath());
  fileName->setText(QStringLiteral("keep.dat"));

  // Pick another drive by keyboard, then the one holding the working directory again.
  const int start = drive1->currentIndex();
  if (drive1->count() < 2) QSKIP("only one drive");
  drive1->setFocus();
  const int other = start == 0 ? 1 : 0;
  drive1->setCurrentIndex(other);
  QCOMPARE(dir1->path(), QDir::cleanPath(drive1->itemData(other).toString()));
  QCOMPARE(fileName->text(), QStringLiteral("keep.dat"));
  const QStringList files =
      QDir(dir1->path()).entryList({"*.dat", "*.txt", "*.qdc", "*.vzm"}, QDir::Files, QDir::Name);
  QCOMPARE(control<QListWidget>("File1")->count(), files.size());
}

void HenkanWindowTest::fileListFollowsTheFolder() {
  auto* file1 = control<QListWidget>("File1");
  const QString data = root_.filePath(QStringLiteral("data"));
  QVERIFY(window_->SetDirectoryPath(data.toStdU16String()));
  QVERIFY(!window_->SetDirectoryPath(root_.filePath(QStringLiteral("none")).toStdU16String()));
  QCOMPARE(control<DirectoryTree>("Dir1")->path(), data);
  file1->setCurrentItem(file1->findItems(QStringLiteral("moji.qdc"), Qt::MatchExactly).first());

  auto listed = [&](const char* name) {
    return !file1->findItems(QString::fromLatin1(name), Qt::MatchExactly).isEmpty();
  };
  WriteFile(data + QStringLiteral("/added.dat"), "999\r\n");
  QTRY_VERIFY(listed("added.dat"));
  QCOMPARE(file1->currentItem()->text(), QStringLiteral("moji.qdc"));
  QVERIFY(QFile::remove(data + QStringLiteral("/added.dat")));
  QTRY_VERIFY(!listed("added.dat"));
  QCOMPARE(file1->currentItem()->text(), QStringLiteral("moji.qdc"));
}

void HenkanWindowTest::drop_data() {
  QTest::addColumn<QString>("target");     // a control's name, or "" for the window
  QTest::addColumn<QStringList>("files");  // in data/; "" is data/ itself
  QTest::addColumn<QString>("status");
  QTest::addColumn<QString>("display");
  const QString read = U(u"読み込み完了");
  const QString dash = U(u"999\r\n1 破線\r\n500 100 50\r\n10 10 0 0 100 0\r\n99 0\r\n");
  QTest::newRow("one file") << "" << QStringList{"dash.dat"} << read << dash;
  QTest::newRow("onto the display box")
      << "DisplayBox" << QStringList{"moji.qdc"} << read << QString::fromLatin1(kSizes);
  QTest::newRow("three files")
      << "" << QStringList{"dash.dat", "moji.qdc", "README"}
      << read + U(u"（ドロップされた3個のファイルのうち、最初の1個だけを扱いました）") << dash;
  QTest::newRow("a folder") << "" << QStringList{""}
                            << U(u"フォルダは開けません、ファイルをドロップしてください") << "";
}

void HenkanWindowTest::drop() {
  QFETCH(QString, target);
  QFETCH(QStringList, files);
  QFETCH(QString, status);
  QFETCH(QString, display);
  const QString data = root_.filePath(QStringLiteral("data"));
  QList<QUrl> urls;
  for (const QString& name : files) {
    urls << QUrl::fromLocalFile(name.isEmpty() ? data : data + u'/' + name);
  }
  QMimeData mime;
  mime.setUrls(urls);
  QWidget* receiver = window_.get();
  if (!target.isEmpty()) receiver = control<QPlainTextEdit>("DisplayBox")->viewport();

  QVERIFY(window_->acceptDrops());
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(receiver, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(receiver, &drop);
  QCOMPARE(control<QLineEdit>("dbox")->text(), status);
  QCOMPARE(QString::fromStdU16String(window_->DisplayText()), display);
  if (!files.first().isEmpty()) {
    QCOMPARE(control<DirectoryTree>("Dir1")->path(), data);
    QCOMPARE(control<QLineEdit>("FileName")->text(), files.first());
  }
}

void HenkanWindowTest::displayBoxRoundTrip_data() {
  QTest::addColumn<QString>("in");
  QTest::addColumn<QString>("out");
  auto same = [](const char* tag, const char16_t* text) {
    QTest::newRow(tag) << U(text) << U(text);
  };
  same("empty", u"");
  same("one line", u"a");
  same("line end", u"a\r\n");
  same("empty lines", u"\r\n\r\na\r\n\r\n");
  same("japanese", u"ＱＤ→ＶＺ 破線\r\n");
  same("no-break space and tab", u"a\u00A0b\tc\r\n");
  same("spaces kept", u"  a  \r\n");
  QTest::newRow("lone lf") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
  QTest::newRow("lone cr") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
}

void HenkanWindowTest::displayBoxRoundTrip() {
  QFETCH(QString, in);
  QFETCH(QString, out);
  window_->SetDisplayText(in.toStdU16String());
  QCOMPARE(QString::fromStdU16String(window_->DisplayText()), out);
}

void HenkanWindowTest::exitCloses() {
  QVERIFY(window_->isVisible());
  QTest::keyClick(window_.get(), Qt::Key_X, Qt::AltModifier);
  QTRY_VERIFY(!window_->isVisible());
}

}  // namespace qdvz

QTEST_MAIN(qdvz::HenkanWindowTest)
#include "henkan_window_test.moc"
