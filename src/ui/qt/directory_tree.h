#pragma once

#include <QString>
#include <QTreeWidget>

namespace qdvz {

// A directory list in the manner of a classic file dialog: the chain of directories from the
// root down to the current one, opened, and the subdirectories of the current one below it.
// Activating an entry (double click or Enter) makes it the current directory.
class DirectoryTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit DirectoryTree(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Moves to an existing directory; anything else is ignored. Whether the tree shows the
  // path now.
  bool setPath(const QString& path);

 signals:
  void pathChanged(const QString& path);

 private:
  void rebuild();

  QString path_;
};

}  // namespace qdvz
