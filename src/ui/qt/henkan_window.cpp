#include "ui/qt/henkan_window.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTextDocument>
#include <QUrl>
#include <vector>

#include "ui/qt/directory_tree.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

// The layout is given in twips, 1/1440 inch, of the client area.
constexpr int kClientWidthTwips = 8460;
constexpr int kClientHeightTwips = 6345;

constexpr char kFilePattern[] = "*.dat;*.txt;*.qdc;*.vzm";

int TwipsToPixels(int twips, int logicalDpi) {
  return static_cast<int>((static_cast<long long>(twips) * logicalDpi + 720) / 1440);
}

QString Q(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

// The Japanese monospace font of the texts: the one the layout was made for when it is there,
// else the closest installed one.
QString JapaneseMonospaceFamily() {
  const QStringList families = QFontDatabase::families();
  for (const char16_t* wanted : {u"ＭＳ ゴシック", u"MS Gothic", u"IPAGothic", u"IPAexGothic"}) {
    const QString name = QString::fromUtf16(wanted);
    if (families.contains(name)) return name;
  }
  for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
    if (QFontDatabase::isFixedPitch(family)) return family;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.first();
}

// The window's own font: the desktop font of a Japanese system, 9 pt, or the closest installed
// proportional Japanese font. Latin desktop fonts leave the label's colon outside its box.
QFont WindowFont(const QFont& desktop) {
  const QStringList families = QFontDatabase::families();
  for (const char16_t* wanted : {u"MS UI Gothic", u"IPAPGothic", u"IPAexGothic"}) {
    const QString name = QString::fromUtf16(wanted);
    if (families.contains(name)) {
      QFont font(desktop);
      font.setFamilies({name});
      font.setPointSizeF(9);
      return font;
    }
  }
  return desktop;
}

QFont TextFont(double pointSize) {
  QFont font;
  const QString family = JapaneseMonospaceFamily();
  if (!family.isEmpty()) font.setFamilies({family});
  font.setStyleHint(QFont::TypeWriter);
  font.setWeight(QFont::Normal);
  font.setPointSizeF(pointSize);
  return font;
}

// The icon files of the menu entry, built into the program as Qt resources (CMakeLists.txt).
QIcon WindowIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/henkan-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/henkan-32.png"), QSize(32, 32));
  return icon;
}

// The dragged files as native paths; none unless every dragged item is a local file.
std::vector<std::u16string> DroppedFiles(const QMimeData* mime) {
  std::vector<std::u16string> paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdU16String());
  }
  return paths;
}

}  // namespace

HenkanWindow::HenkanWindow(QWidget* parent) : QWidget(parent) {
  createControls();
  arrangeTabOrder();
  connectHandlers();
  setAcceptDrops(true);
  // The text boxes take drops of text themselves; files must reach the window instead.
  for (QWidget* child : findChildren<QWidget*>()) {
    if (child->acceptDrops()) child->installEventFilter(this);
  }
  form_.Form_Load();
}

void HenkanWindow::createControls() {
  setObjectName(QStringLiteral("henkan"));
  setWindowTitle(QString::fromUtf16(ui_msg::kStartCaption));
  setWindowIcon(WindowIcon());
  setFont(WindowFont(font()));

  const int dpiX = logicalDpiX();
  const int dpiY = logicalDpiY();
  auto place = [&](QWidget* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY),
                         TwipsToPixels(width, dpiX), TwipsToPixels(height, dpiY));
  };
  auto button = [&](const char* name, const char16_t* caption, const char16_t* tip, int left,
                    int top) {
    auto* b = new QPushButton(QString::fromUtf16(caption), this);
    b->setToolTip(QString::fromUtf16(tip));
    b->setAutoDefault(false);
    place(b, name, left, top, 1095, 375);
    return b;
  };

  drive1_ = new QComboBox(this);
  place(drive1_, "Drive1", 120, 720, 2535, 300);
  dir1_ = new DirectoryTree(this);
  place(dir1_, "Dir1", 120, 1080, 2535, 1560);
  file1_ = new QListWidget(this);
  file1_->setFont(TextFont(10.06));
  file1_->setSortingEnabled(false);
  place(file1_, "File1", 2760, 720, 2895, 1845);

  displayBox_ = new QPlainTextEdit(this);
  displayBox_->setFont(TextFont(10.84));
  displayBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  displayBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  displayBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  displayBox_->setTabChangesFocus(true);
  place(displayBox_, "DisplayBox", 120, 2760, 8175, 3135);

  fileName_ = new QLineEdit(this);
  fileName_->setFont(TextFont(9.29));
  fileName_->setToolTip(QString::fromUtf16(u"ファイル名を入力してください"));
  place(fileName_, "FileName", 1440, 240, 2655, 270);

  label1_ = new QLabel(QString::fromUtf16(u"ファイル名(&N)  ："), this);
  label1_->setBuddy(fileName_);
  place(label1_, "Label1", 120, 240, 1335, 255);

  erase_ = button("Erase", u"消去(&E)", u"表示を消去します", 5880, 1680);
  datOpen_ = button("DatOpen", u"開く(&O)", u"ファイルを開きます", 5880, 720);
  datCh_ = button("DatCh", u"QD→VZ", u"データを変換します", 7080, 1200);
  datSave_ = button("DatSave", u"保存(&S)", u"保存します", 7080, 720);
  exit_ = button("Exit", u"終了(&X)", u"プログラムを終了します", 7080, 2160);

  dbox_ = new QLineEdit(this);
  place(dbox_, "dbox", 120, 6000, 8175, 270);

  datopen1_ = button("datopen1", u"文字ｻｲｽﾞ", u"文字データを読みこみます", 5880, 1200);
  hyouji_ = button("hyouji", u"再表示", u"直前に消去されたデータを再表示します", 7080, 1680);

  setFixedSize(TwipsToPixels(kClientWidthTwips, dpiX), TwipsToPixels(kClientHeightTwips, dpiY));
  folderWatch_ = new QFileSystemWatcher(this);

  fillDrives();
  dir1_->setPath(QDir::currentPath());
  Dir1_Change();
}

void HenkanWindow::arrangeTabOrder() {
  const QList<QWidget*> order = {drive1_, dir1_,     file1_, displayBox_, fileName_,
                                 erase_,  datOpen_,  datCh_, datSave_,    exit_,
                                 dbox_,   datopen1_, hyouji_};
  for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void HenkanWindow::connectHandlers() {
  connect(drive1_, &QComboBox::currentIndexChanged, this, &HenkanWindow::onDrive1Changed);
  connect(dir1_, &DirectoryTree::pathChanged, this, &HenkanWindow::onDir1Changed);
  connect(folderWatch_, &QFileSystemWatcher::directoryChanged, this,
          &HenkanWindow::RefreshFileList);
  connect(file1_, &QListWidget::itemClicked, this, &HenkanWindow::onFile1Clicked);
  connect(file1_, &QListWidget::itemActivated, this, &HenkanWindow::onFile1Clicked);
  connect(datOpen_, &QPushButton::clicked, this, &HenkanWindow::onDatOpenClicked);
  connect(datopen1_, &QPushButton::clicked, this, &HenkanWindow::onDatopen1Clicked);
  connect(datCh_, &QPushButton::clicked, this, &HenkanWindow::onDatChClicked);
  connect(datSave_, &QPushButton::clicked, this, &HenkanWindow::onDatSaveClicked);
  connect(erase_, &QPushButton::clicked, this, &HenkanWindow::onEraseClicked);
  connect(hyouji_, &QPushButton::clicked, this, &HenkanWindow::onHyoujiClicked);
  connect(exit_, &QPushButton::clicked, this, &HenkanWindow::onExitClicked);
}

// The drives of the machine; where there are no drive letters, the root and the roots of the
// mounted volumes.
void HenkanWindow::fillDrives() {
  QStringList roots;
#ifdef Q_OS_WIN
  for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
#else
  roots << QDir::rootPath();
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    // Single files mounted into a container are no drives.
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir() &&
        !roots.contains(volume.rootPath()))
      roots << volume.rootPath();
  }
#endif
  for (const QString& root : roots) drive1_->addItem(QDir::toNativeSeparators(root), root);
}

// Chooses the drive that holds the path, without moving the directory list to its root.
void HenkanWindow::showDriveOf(const QString& path) {
  int best = 0;
  for (int i = 0; i < drive1_->count(); ++i) {
    const QString root = drive1_->itemData(i).toString();
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    if ((path + u'/').startsWith(prefix, Qt::CaseInsensitive) &&
        root.size() > drive1_->itemData(best).toString().size())
      best = i;
  }
  const QSignalBlocker quiet(drive1_);
  drive1_->setCurrentIndex(best);
}

void HenkanWindow::Drive1_Change() {
  dir1_->setPath(drive1_->currentData().toString());
}

void HenkanWindow::Dir1_Change() {
  showDriveOf(dir1_->path());
  if (!folderWatch_->directories().isEmpty())
    folderWatch_->removePaths(folderWatch_->directories());
  folderWatch_->addPath(dir1_->path());
  file1_->clear();  // a name chosen in the folder before is no choice in this one
  RefreshFileList();
}

void HenkanWindow::RefreshFileList() {
  const QListWidgetItem* chosen = file1_->currentItem();
  const QString chosenName = chosen ? chosen->text() : QString();
  const QStringList filters = QString::fromLatin1(kFilePattern).split(u';', Qt::SkipEmptyParts);
  file1_->clear();
  file1_->addItems(QDir(dir1_->path()).entryList(filters, QDir::Files, QDir::Name));
  if (chosenName.isEmpty()) return;
  const QList<QListWidgetItem*> found = file1_->findItems(chosenName, Qt::MatchExactly);
  if (!found.isEmpty()) file1_->setCurrentItem(found.first());
}

std::u16string HenkanWindow::FileNameText() const {
  return fileName_->text().toStdU16String();
}

void HenkanWindow::SetFileNameText(const std::u16string& text) {
  fileName_->setText(Q(text));
}

std::u16string HenkanWindow::DirectoryPath() const {
  return QDir::toNativeSeparators(dir1_->path()).toStdU16String();
}

bool HenkanWindow::SetDirectoryPath(const std::u16string& path) {
  return dir1_->setPath(Q(path));
}

void HenkanWindow::SetCaption(const std::u16string& caption) {
  setWindowTitle(Q(caption));
}

void HenkanWindow::SetStatus(const std::u16string& message) {
  dbox_->setText(Q(message));
}

std::u16string HenkanWindow::DisplayText() const {
  // toPlainText() would turn no-break spaces into spaces; the raw text keeps every character
  // and marks each paragraph break with U+2029.
  const QString raw = displayBox_->document()->toRawText();
  std::u16string text;
  text.reserve(static_cast<size_t>(raw.size()) + 1024);
  for (QChar c : raw) {
    if (c == QChar::ParagraphSeparator) {
      text += u"\r\n";
    } else {
      text += static_cast<char16_t>(c.unicode());
    }
  }
  return text;
}

void HenkanWindow::SetDisplayText(const std::u16string& text) {
  QString plain = Q(text);
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  displayBox_->setPlainText(plain);
}

bool HenkanWindow::AskYesNo(const std::u16string& question) {
  return QMessageBox::question(this, windowTitle(), Q(question), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void HenkanWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void HenkanWindow::OpenFiles(const QStringList& arguments) {
  std::vector<std::u16string> paths;
  for (const QString& argument : arguments) {
    const QUrl url(argument);
    const QString file = url.isLocalFile() ? url.toLocalFile() : argument;
    paths.push_back(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()).toStdU16String());
  }
  form_.Form_OLEDragDrop(paths);
}

void HenkanWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::u16string> paths = DroppedFiles(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  form_.Form_OLEDragDrop(paths);
}

bool HenkanWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (!DroppedFiles(drag->mimeData()).empty()) {
      if (type == QEvent::Drop) {
        dropEvent(drag);
      } else {
        drag->acceptProposedAction();
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void HenkanWindow::onDrive1Changed() {
  Drive1_Change();
}
void HenkanWindow::onDir1Changed() {
  Dir1_Change();
}
void HenkanWindow::onFile1Clicked(QListWidgetItem* item) {
  form_.File1_Click(item->text().toStdU16String());
}
void HenkanWindow::onDatOpenClicked() {
  form_.DatOpen_Click();
}
void HenkanWindow::onDatopen1Clicked() {
  form_.datopen1_Click();
}
void HenkanWindow::onDatChClicked() {
  form_.DatCh_Click();
}
void HenkanWindow::onDatSaveClicked() {
  form_.DatSave_Click();
}
void HenkanWindow::onEraseClicked() {
  form_.Erase_Click();
}
void HenkanWindow::onHyoujiClicked() {
  form_.hyouji_Click();
}
void HenkanWindow::onExitClicked() {
  Exit_Click();
}

void HenkanWindow::Exit_Click() {
  close();
}

}  // namespace qdvz
