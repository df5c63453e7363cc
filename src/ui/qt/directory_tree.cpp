#include "ui/qt/directory_tree.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QStyle>

namespace qdvz {
namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

DirectoryTree::DirectoryTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setIndentation(12);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (item) setPath(item->data(0, kPathRole).toString());
  });
}

bool DirectoryTree::setPath(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || !info.isDir()) return false;
  const QString absolute = QDir::cleanPath(info.absoluteFilePath());
  if (absolute == path_) return true;
  path_ = absolute;
  rebuild();
  emit pathChanged(path_);
  return true;
}

void DirectoryTree::rebuild() {
  clear();
  QStringList chain;  // from the current directory up to the root
  QDir dir(path_);
  do {
    chain.prepend(dir.absolutePath());
  } while (dir.cdUp());

  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  QTreeWidgetItem* parentItem = nullptr;
  for (const QString& step : chain) {
    const QString name =
        QDir(step).isRoot() ? QDir::toNativeSeparators(step) : QDir(step).dirName();
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
    item->setText(0, name);
    item->setIcon(0, open);
    item->setData(0, kPathRole, step);
    item->setExpanded(true);
    parentItem = item;
  }
  const QStringList children =
      QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    auto* item = new QTreeWidgetItem(parentItem);
    item->setText(0, child);
    item->setIcon(0, closed);
    item->setData(0, kPathRole, QDir(path_).filePath(child));
  }
  expandAll();
  setCurrentItem(parentItem);
  scrollToItem(parentItem);
}

}  // namespace qdvz
