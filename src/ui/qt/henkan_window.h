#pragma once

#include <QStringList>
#include <QWidget>

#include "ui/controls.h"
#include "ui/henkan_form.h"
#include "ui/window_ops.h"

class QComboBox;
class QFileSystemWatcher;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace qdvz {

class DirectoryTree;

// The main window `henkan`: the browser (Drive1, Dir1, File1), the file-name box, the display
// box, the status line dbox and the seven buttons, made from kControls at fixed positions. Each
// user action calls one handler of HenkanForm, and the form drives the controls through WindowOps.
class HenkanWindow : public QWidget, public WindowOps {
  Q_OBJECT

 public:
  explicit HenkanWindow(QWidget* parent = nullptr);

  std::u16string FileNameText() const override;
  void SetFileNameText(const std::u16string& text) override;
  std::u16string DirectoryPath() const override;
  bool SetDirectoryPath(const std::u16string& path) override;
  std::u16string ChosenDrive() const override;
  void ShowDriveOf(const std::u16string& folder) override;
  void WatchFolder(const std::u16string& folder) override;
  std::u16string ChosenFile() const override;
  void ListFiles(const std::u16string& chosen) override;
  void SetCaption(const std::u16string& caption) override;
  void SetStatus(const std::u16string& message) override;
  // Paragraph breaks of the box read back as CR LF.
  std::u16string DisplayText() const override;
  bool AskYesNo(const std::u16string& question) override;
  void Close() override;

  // Files given to the program when it starts (the desktop entry's %F), opened as a drop of
  // them would be: names relative to the working folder, or file: addresses.
  void OpenFiles(const QStringList& arguments);

 protected:
  // Local files dropped anywhere on the window, the text boxes included, go to the form.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Each CR LF of the text makes one paragraph break.
  void ShowDisplayText(std::u16string text) override;

 private:
  void createControls();
  QWidget* makeControl(const ControlSpec& spec, QWidget* previous);
  void fillDrives();

  QComboBox* drive1_ = nullptr;
  DirectoryTree* dir1_ = nullptr;
  QListWidget* file1_ = nullptr;
  QPlainTextEdit* displayBox_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QLineEdit* dbox_ = nullptr;
  QFileSystemWatcher* folderWatch_ = nullptr;

  HenkanForm form_{*this};
};

}  // namespace qdvz
