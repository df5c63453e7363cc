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

#include "ui/controls.h"
#include "ui/qt/directory_tree.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

int TwipsToPixels(int twips, int logicalDpi) {
  return static_cast<int>((static_cast<long long>(twips) * logicalDpi + 720) / 1440);
}

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
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
  QWidget* previous = nullptr;
  QWidget* lastInTabOrder = nullptr;
  for (const ControlSpec& spec : kControls) {
    QWidget* control = makeControl(spec, previous);
    control->setObjectName(QString::fromLatin1(spec.name.data(), spec.name.size()));
    control->setGeometry(TwipsToPixels(spec.left, dpiX), TwipsToPixels(spec.top, dpiY),
                         TwipsToPixels(spec.width, dpiX), TwipsToPixels(spec.height, dpiY));
    if (!spec.tooltip.empty()) control->setToolTip(Q(spec.tooltip));
    if (spec.font.centipoints != 0) control->setFont(TextFont(spec.font.centipoints / 100.0));
    if (IsTabStop(spec)) {
      if (lastInTabOrder) QWidget::setTabOrder(lastInTabOrder, control);
      lastInTabOrder = control;
    }
    previous = control;
  }

  setFixedSize(TwipsToPixels(kClientWidthTwips, dpiX), TwipsToPixels(kClientHeightTwips, dpiY));
  folderWatch_ = new QFileSystemWatcher(this);

  fillDrives();
  dir1_->setPath(QDir::currentPath());
  form_.Dir1_Change();
  // Only now: filling the drive list would move the directory list to the first drive.
  connect(drive1_, &QComboBox::currentIndexChanged, this, [this] { form_.Drive1_Change(); });
  connect(dir1_, &DirectoryTree::pathChanged, this, [this] { form_.Dir1_Change(); });
  connect(folderWatch_, &QFileSystemWatcher::directoryChanged, this,
          [this] { form_.RefreshFileList(); });
}

// The Qt widget of a control, with the action of its handler connected.
QWidget* HenkanWindow::makeControl(const ControlSpec& spec, QWidget* previous) {
  switch (spec.kind) {
    case ControlKind::DriveList:
      return drive1_ = new QComboBox(this);
    case ControlKind::DirectoryList:
      return dir1_ = new DirectoryTree(this);
    case ControlKind::FileList: {
      file1_ = new QListWidget(this);
      file1_->setSortingEnabled(false);
      auto click = [this](QListWidgetItem* item) {
        form_.File1_Click(item->text().toStdU16String());
      };
      connect(file1_, &QListWidget::itemClicked, this, click);
      connect(file1_, &QListWidget::itemActivated, this, click);
      return file1_;
    }
    case ControlKind::TextBox:
      displayBox_ = new QPlainTextEdit(this);
      displayBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
      displayBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      displayBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      displayBox_->setTabChangesFocus(true);
      return displayBox_;
    case ControlKind::LineBox:
      return fileName_ = new QLineEdit(this);
    case ControlKind::StatusLine:
      return dbox_ = new QLineEdit(this);
    case ControlKind::Label: {
      auto* label = new QLabel(Q(spec.caption), this);
      label->setBuddy(previous);
      return label;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(Q(spec.caption), this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this,
              [this, handler = spec.handler] { form_.Click(handler); });
      return button;
    }
  }
  return nullptr;
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

std::u16string HenkanWindow::ChosenDrive() const {
  return QDir::toNativeSeparators(drive1_->currentData().toString()).toStdU16String();
}

// Chooses the drive that holds the path, without moving the directory list to its root.
void HenkanWindow::ShowDriveOf(const std::u16string& folder) {
  const QString path = QDir::fromNativeSeparators(Q(folder));
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

void HenkanWindow::WatchFolder(const std::u16string& folder) {
  if (!folderWatch_->directories().isEmpty())
    folderWatch_->removePaths(folderWatch_->directories());
  folderWatch_->addPath(Q(folder));
}

std::u16string HenkanWindow::ChosenFile() const {
  const QListWidgetItem* chosen = file1_->currentItem();
  return chosen ? chosen->text().toStdU16String() : std::u16string();
}

void HenkanWindow::ListFiles(const std::u16string& chosen) {
  const QStringList filters = Q(kFilePattern).split(u';', Qt::SkipEmptyParts);
  file1_->clear();
  file1_->addItems(QDir(dir1_->path()).entryList(filters, QDir::Files, QDir::Name));
  if (chosen.empty()) return;
  const QList<QListWidgetItem*> found = file1_->findItems(Q(chosen), Qt::MatchExactly);
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

void HenkanWindow::ShowDisplayText(std::u16string text) {
  QString plain = Q(text);
  std::u16string().swap(text);  // the box keeps its own copy: a long text is not held three times
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  displayBox_->setPlainText(plain);
}

void HenkanWindow::Close() {
  close();
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

}  // namespace qdvz
