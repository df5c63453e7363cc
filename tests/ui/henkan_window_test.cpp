// The Qt window driven as a user drives it, offscreen: its controls, the whole road through
// real clicks and keys, the browser, drops, the folder watch, and the program's start.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "cp932/cp932.h"
#include "support/data.h"
#include "ui/qt/directory_tree.h"
#include "ui/qt/henkan_window.h"

namespace qdvz {
namespace {

struct Drop {
  bool ontoDisplay;
  QStringList dropped;  // below the test's folder, or addresses
  bool accepted;
  const char* status;
  const char* folder;             // shown afterwards, below the test's folder
  const char* name;               // in FileName, and the file of tests/data/runs the display shows
  const char* listing = nullptr;  // the display instead, for a set converted at once
};

struct Run {
  QStringList environment;  // beside no display at all
  QStringList arguments;
  const char* written;  // a file of tests/data/runs the macro in codes_03_04.txt must equal
  int exitCode;         // -1: still open a second later
  const char* out;      // patterns
  const char* err;
};

}  // namespace
}  // namespace qdvz

Q_DECLARE_METATYPE(qdvz::test::ControlRow)
Q_DECLARE_METATYPE(qdvz::Drop)
Q_DECLARE_METATYPE(qdvz::Run)

namespace qdvz {
namespace {

QString T(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QByteArray DataFile(const QString& relative) {
  QFile file(QStringLiteral(QDVZ_TEST_DATA "/runs/") + relative);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file of tests/data/runs as the display shows it.
QString Shown(const char* name) {
  const QByteArray bytes = DataFile(QLatin1String(name));
  auto text = DecodeCp932(std::string_view(bytes.constData(), size_t(bytes.size())));
  return text ? QString::fromStdU16String(*text) : QStringLiteral("(not code page 932)");
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

// The entries of the directory list that can be seen: indent in pixels, name, and "/" for an
// open folder's icon or "+" for a closed one.
QStringList Entries(const DirectoryTree* tree) {
  auto icon = [tree](QStyle::StandardPixmap which) {
    return tree->style()->standardIcon(which).pixmap(16).toImage();
  };
  QStringList entries;
  for (QTreeWidgetItem* item = tree->topLevelItem(0); item; item = tree->itemBelow(item)) {
    const QImage shown = item->icon(0).pixmap(16).toImage();
    entries << QStringLiteral("%1 %2%3")
                   .arg(tree->visualItemRect(item).left())
                   .arg(item->text(0), shown == icon(QStyle::SP_DirOpenIcon)     ? "/"
                                       : shown == icon(QStyle::SP_DirClosedIcon) ? "+"
                                                                                 : "");
  }
  return entries;
}

}  // namespace

class HenkanWindowTest : public QObject {
  Q_OBJECT

  template <typename T = QWidget>
  T* control(const char* name) {
    auto* found = window_->findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  QString path(const QString& relative = {}) const { return dir_->filePath(relative); }
  QString status() { return control<QLineEdit>("dbox")->text(); }
  QString display() { return QString::fromStdU16String(window_->DisplayText()); }
  void clickFile(const char* name) {
    auto* file1 = control<QListWidget>("File1");
    const auto found = file1->findItems(QLatin1String(name), Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    const QPoint at = file1->visualItemRect(found.first()).center();
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, at);
  }

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<HenkanWindow> window_;

 private slots:
  // Each test starts in a folder of its own holding a QD file and sizes, with data/ below it.
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(path()).mkdir(QStringLiteral("data")));
    for (const char* name : {"sizes.qdc", "codes_03_04.dat", "data/sizes.qdc", "data/x.bin"}) {
      QFile file(path(QLatin1String(name)));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(DataFile(QFileInfo(file).fileName()));
    }
    QVERIFY(QDir::setCurrent(path()));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));  // a desktop's, not 9 pt
    window_ = std::make_unique<HenkanWindow>();
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    window_.reset();
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    dir_.reset();
  }

  // Every control of tests/data/controls.tsv: kind, caption, tooltip, access key, place in the
  // tab order, place and size in twips at the window's dpi, font.
  void controls_data() {
    QTest::addColumn<test::ControlRow>("c");
    for (const test::ControlRow& c : test::ReadControls()) QTest::newRow(c.name.c_str()) << c;
  }
  void controls() {
    QFETCH(test::ControlRow, c);
    QWidget* widget = control(c.name.c_str());
    QCOMPARE(widget->metaObject()->className(), c.qtClass.c_str());
    auto* button = qobject_cast<QAbstractButton*>(widget);
    auto* label = qobject_cast<QLabel*>(widget);
    QCOMPARE(button ? button->text() : label ? label->text() : QString(), T(c.caption.c_str()));
    QCOMPARE(widget->toolTip(), T(c.tip.c_str()));

    auto px = [](int twips, int dpi) { return qRound(twips * dpi / 1440.0); };
    const int x = window_->logicalDpiX(), y = window_->logicalDpiY();
    QCOMPARE(widget->geometry(),
             QRect(px(c.left, x), px(c.top, y), px(c.width, x), px(c.height, y)));
    QCOMPARE(window_->minimumSize(), QSize(px(8460, x), px(6345, y)));
    QCOMPARE(window_->maximumSize(), window_->minimumSize());

    QCOMPARE(widget->font().pointSizeF(), c.points);
    const QString family = QFontInfo(widget->font()).family();
    QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese),
             qPrintable(family));
    const QFontMetrics metrics(widget->font());
    QCOMPARE(metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'W'), c.fixedPitch);

    control("Drive1")->setFocus();
    for (int i = 0; i < c.tab; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (c.tab >= 0) QCOMPARE(QApplication::focusWidget(), widget);
    if (c.key == 0) return;
    QSignalSpy clicked(button ? button : control<QAbstractButton>("DatCh"),
                       &QAbstractButton::clicked);
    QTest::keyClick(window_.get(), Qt::Key(c.key), Qt::AltModifier);
    if (button) QTRY_COMPARE(clicked.count(), 1);
    if (label) QTRY_COMPARE(QApplication::focusWidget(), control("FileName"));
  }

  // The window opens in the working folder, on the drive that holds it, asking for a command.
  void starts() {
    QCOMPARE(window_->windowTitle(), T("ＱＤ→ＶＺ線変形データ変換"));
    QCOMPARE(status(), T("作業（コマンド）を選択してください"));
    QCOMPARE(control<DirectoryTree>("Dir1")->path(), path());
    QCOMPARE(Items(control<QListWidget>("File1")), (QStringList{"codes_03_04.dat", "sizes.qdc"}));
    auto* drive1 = control<QComboBox>("Drive1");
    QCOMPARE(drive1->itemData(0).toString(), QDir::rootPath());
    QStringList drives;  // each a folder, each once
    for (int i = 0; i < drive1->count(); ++i) drives << drive1->itemData(i).toString();
    for (const QString& root : drives) QVERIFY(QFileInfo(root).isDir() && drives.count(root) == 1);
    QVERIFY(path().startsWith(drive1->currentData().toString()));
    QCOMPARE(window_->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    for (int size : {16, 32}) QVERIFY(!window_->windowIcon().pixmap(size).toImage().allGray());
  }

  // Sizes, data, conversion, erase, redisplay, save and exit, by mouse and access keys: the
  // saved file holds the bytes qd2vz writes, and is listed at once.
  void wholeRoad() {
    auto* fileName = control<QLineEdit>("FileName");
    clickFile("sizes.qdc");
    QCOMPARE(fileName->text(), QStringLiteral("sizes.qdc"));
    QTest::mouseClick(control("datopen1"), Qt::LeftButton);
    QCOMPARE(status(), T("読み込み完了"));
    QCOMPARE(display(), Shown("sizes.qdc"));
    clickFile("codes_03_04.dat");
    QTest::keyClick(window_.get(), Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(display(), Shown("codes_03_04.dat"));
    QTest::mouseClick(control("DatCh"), Qt::LeftButton);
    QCOMPARE(status(), T("変換終了"));
    QCOMPARE(window_->windowTitle(), T("線変形データ変換"));
    QVERIFY(fileName->text().isEmpty());
    const QString document = display();

    QTest::keyClick(window_.get(), Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(status(), T("消去しました"));
    QCOMPARE(display(), QString());
    QTest::mouseClick(control("hyouji"), Qt::LeftButton);
    QCOMPARE(status(), T("再表示しました"));
    QCOMPARE(display(), document);

    QTest::mouseClick(fileName, Qt::LeftButton);
    QTest::keyClicks(fileName, QStringLiteral("out.txt"));
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(status(), T("保存が完了しました"));
    QCOMPARE(Items(control<QListWidget>("File1")),
             (QStringList{"codes_03_04.dat", "out.txt", "sizes.qdc"}));
    QFile saved(path("out.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), DataFile(QStringLiteral("codes_03_04.expected")));

    // Saving over the data loaded asks first, with No the default answer that Enter gives.
    QString question;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible()) continue;
        question = box->text();
        QTest::keyClick(box, Qt::Key_Return);
      }
    });
    answer.start(20);
    fileName->setText(QStringLiteral("codes_03_04.dat"));
    QTest::mouseClick(control("DatSave"), Qt::LeftButton);
    answer.stop();
    QVERIFY2(question.contains(path("codes_03_04.dat")), qPrintable(question));
    QCOMPARE(status(), T("保存しませんでした（読み込んだファイルはそのままです）"));
    QFile data(path("codes_03_04.dat"));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QCOMPARE(data.readAll(), DataFile(QStringLiteral("codes_03_04.dat")));
    QTest::mouseClick(control("Exit"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
  }

  // The directory list shows the folders from the root down to the one shown, open, and its
  // subfolders; Enter on an entry moves there by keys alone, and the file list, the folder
  // watch and the drive box follow. A file chosen in one folder is no choice in the next.
  void browser() {
    auto* dir1 = control<DirectoryTree>("Dir1");
    auto* file1 = control<QListWidget>("File1");
    const QStringList chain =
        QStringList{QDir::rootPath()} + path().split(u'/', Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i < chain.size(); ++i)
      entries << QStringLiteral("%1 %2/").arg(12 * i).arg(chain[i]);
    entries << QStringLiteral("%1 data+").arg(12 * chain.size());
    QCOMPARE(Entries(dir1), entries);
    QVERIFY(dir1->isHeaderHidden());  // and one column, its whole width: no name is cut short
    QCOMPARE(dir1->columnWidth(0), dir1->viewport()->width());

    clickFile("sizes.qdc");
    dir1->setFocus();
    QTest::keyClick(dir1, Qt::Key_Down);
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(dir1->path(), path("data"));
    QCOMPARE(dir1->currentItem()->text(0), QStringLiteral("data"));
    QCOMPARE(Items(file1), QStringList{"sizes.qdc"});
    QCOMPARE(file1->currentItem(), nullptr);
    QCOMPARE(window_->findChild<QFileSystemWatcher*>()->directories(), QStringList{path("data")});
    file1->setFocus();
    QTest::keyClick(file1, Qt::Key_End);
    QTest::keyClick(file1, Qt::Key_Return);
    QCOMPARE(control<QLineEdit>("FileName")->text(), QStringLiteral("sizes.qdc"));
    QTest::keyClick(dir1, Qt::Key_Up);  // the entry above leads back out
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(dir1->path(), path());
    QTest::keyClick(dir1, Qt::Key_Left);  // which cannot fold the folders away
    QCOMPARE(Entries(dir1), entries);

    auto* drive1 = control<QComboBox>("Drive1");
    auto quietly = [&](int index) {
      const QSignalBlocker quiet(drive1);
      drive1->setCurrentIndex(index);
    };
    quietly(drive1->count() > 1 ? 1 : -1);
    QVERIFY(window_->SetDirectoryPath(path("data").toStdU16String()));
    QVERIFY(!window_->SetDirectoryPath(path("none").toStdU16String()));
    QVERIFY(drive1->currentIndex() >= 0 && path().startsWith(drive1->currentData().toString()));
    quietly(-1);
    drive1->setCurrentIndex(0);  // the user chooses the root drive
    QCOMPARE(dir1->path(), QDir::rootPath());
  }

  // Files made or removed by others show at once; the chosen file stays chosen.
  void fileListFollowsTheFolder() {
    auto* file1 = control<QListWidget>("File1");
    clickFile("sizes.qdc");
    QFile added(path("added.dat"));
    QVERIFY(added.open(QIODevice::WriteOnly));
    added.close();
    QTRY_COMPARE(Items(file1), (QStringList{"added.dat", "codes_03_04.dat", "sizes.qdc"}));
    QCOMPARE(file1->currentItem()->text(), QStringLiteral("sizes.qdc"));
    QVERIFY(added.remove());
    QTRY_COMPARE(Items(file1), (QStringList{"codes_03_04.dat", "sizes.qdc"}));
    QCOMPARE(file1->currentItem()->text(), QStringLiteral("sizes.qdc"));
  }

  // Files dropped onto the window, or onto a text box, which would otherwise take them as
  // text, reach the form; what it makes of them is the form's tests'.
  void drop_data() {
    QTest::addColumn<Drop>("d");
    const char* read = "読み込み完了";
    // clang-format off
    QTest::newRow("a file") << Drop{false, {"data/sizes.qdc"}, true, read, "data", "sizes.qdc"};
    QTest::newRow("two, onto the display")
        << Drop{true, {"data/sizes.qdc", "codes_03_04.dat"}, true,
                "1個のファイルを変換しました、0個は変換しませんでした", "data", "",
                "^.*sizes.qdc：文字サイズ設定データとして読み込みました\r\n.*codes_03_04.dat → "
                "codes_03_04.txt$"};
    QTest::newRow("a web address")
        << Drop{false, {"https://example.com/a.dat"}, false, "作業（コマンド）を選択してください",
                "", ""};
    // clang-format on
  }
  void drop() {
    QFETCH(Drop, d);
    QList<QUrl> urls;
    for (const QString& item : d.dropped) {
      urls << (item.contains(u':') ? QUrl(item) : QUrl::fromLocalFile(path(item)));
    }
    QMimeData mime;
    mime.setUrls(urls);
    QWidget* to = d.ontoDisplay ? control<QPlainTextEdit>("DisplayBox")->viewport() : window_.get();
    const QString before = status();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(to, &enter);
    QCOMPARE(enter.isAccepted(), d.accepted);
    QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(to, &move);
    if (d.ontoDisplay) QCOMPARE(move.isAccepted(), d.accepted);
    QCOMPARE(status(), before);  // nothing is taken before the drop
    QDropEvent drop(QPointF(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(to, &drop);
    QCOMPARE(drop.isAccepted(), d.accepted);
    QCOMPARE(status(), T(d.status));
    QCOMPARE(control<DirectoryTree>("Dir1")->path(), path(QLatin1String(d.folder)));
    QCOMPARE(control<QLineEdit>("FileName")->text(), T(d.name));
    if (d.listing) {
      QVERIFY2(QRegularExpression(T(d.listing)).match(display()).hasMatch(), qPrintable(display()));
      QCOMPARE(QFile(path(QStringLiteral("codes_03_04.txt"))).size(),
               DataFile(QStringLiteral("codes_03_04.expected")).size());
    } else {
      QCOMPARE(display(), *d.name ? Shown(d.name) : QString());  // the box took nothing as text
    }
  }

  // Text put into the display box comes back with CR LF line ends and every character kept;
  // lines are never wrapped.
  void displayBox() {
    auto* box = control<QPlainTextEdit>("DisplayBox");
    QVERIFY(box->horizontalScrollBar()->isVisible() && box->verticalScrollBar()->isVisible());
    for (auto [in, out] : {std::pair{"", ""},
                           {"\r\n\r\na\r\n", "\r\n\r\na\r\n"},
                           {" ＱＤ\u00A0\tc ", " ＱＤ\u00A0\tc "},
                           {"a\nb\rc", "a\r\nb\r\nc"}}) {
      window_->SetDisplayText(T(in).toStdU16String());
      QCOMPARE(display(), T(out));
    }
    window_->SetDisplayText(std::u16string(400, u'x'));
    QTRY_VERIFY(box->horizontalScrollBar()->maximum() > 0);
  }

  // The program: without a display it says what to do instead of failing inside Qt; with
  // QDVZ_EXIT_AFTER_SHOW=1 it prints the milliseconds to its first shown window and ends.
  // Files named on its command line are opened as a drop of them (one is loaded; the
  // conversion of a set shows in the file it writes).
  void program_data() {
    QTest::addColumn<Run>("r");
    QTest::newRow("no display") << Run{
        {},
        {},
        nullptr,
        1,
        "^$",
        "^henkan: 表示先（ディスプレイ）がありません。.*\n.*仮想ディスプレイ.*\n.*画面なしで"
        "起動してください。\nhenkan: no display.*\n.*\n$"};
    const QString offscreen = QStringLiteral("QT_QPA_PLATFORM=offscreen");
    QTest::newRow("exit after show")
        << Run{{offscreen, "QDVZ_EXIT_AFTER_SHOW=1"}, {}, nullptr, 0, "^[0-9]+\\.[0-9]\n$", ""};
    QTest::newRow("shown until closed")
        << Run{{offscreen, "QDVZ_EXIT_AFTER_SHOW=0"}, {}, nullptr, -1, "^$", ""};
    QTest::newRow("files given") << Run{{offscreen, "QDVZ_EXIT_AFTER_SHOW=1"},
                                        {"codes_03_04.dat", "file:data/sizes.qdc"},
                                        "codes_03_04.expected",
                                        0,
                                        "^[0-9]+\\.[0-9]\n$",
                                        ""};
  }
  void program() {
    QFETCH(Run, r);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QDVZ_EXIT_AFTER_SHOW"}) {
      environment.remove(QLatin1String(name));
    }
    for (const QString& entry : r.environment) {
      environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    }
    QProcess henkan;
    henkan.setProcessEnvironment(environment);
    QStringList arguments;  // "file:" and a name below the test's folder: its address
    for (const QString& argument : r.arguments) {
      arguments << (argument.startsWith(QStringLiteral("file:"))
                        ? QUrl::fromLocalFile(path(argument.mid(5))).toString()
                        : argument);
    }
    henkan.start(QStringLiteral(HENKAN_PROGRAM), arguments);
    if (r.exitCode < 0) {
      QVERIFY(!henkan.waitForFinished(1000) && henkan.state() == QProcess::Running);
      henkan.kill();
      henkan.waitForFinished();
    } else {
      QVERIFY(henkan.waitForFinished(30000));
      QCOMPARE(henkan.exitStatus(), QProcess::NormalExit);
      QCOMPARE(henkan.exitCode(), r.exitCode);
    }
    const QString out = QString::fromUtf8(henkan.readAllStandardOutput());
    QVERIFY2(QRegularExpression(T(r.out)).match(out).hasMatch(), qPrintable(out));
    const QString err = QString::fromUtf8(henkan.readAllStandardError());
    QVERIFY2(QRegularExpression(T(r.err)).match(err).hasMatch(), qPrintable(err));
    QFile written(path(QStringLiteral("codes_03_04.txt")));
    QCOMPARE(written.exists(), r.written != nullptr);
    if (r.written) {
      QVERIFY(written.open(QIODevice::ReadOnly));
      QCOMPARE(written.readAll(), DataFile(QLatin1String(r.written)));
    }
  }
};

}  // namespace qdvz

QTEST_MAIN(qdvz::HenkanWindowTest)
#include "henkan_window_test.moc"
