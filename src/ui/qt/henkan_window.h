#pragma once

#include <QStringList>
#include <QWidget>

#include "ui/henkan_form.h"
#include "ui/window_ops.h"

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

namespace qdvz {

class DirectoryTree;

// The main window `henkan`: the browser (Drive1, Dir1, File1), the file-name box, the display
// box, the status line dbox and the seven buttons, laid out at fixed positions. Each user
// action calls one handler of HenkanForm; the browser chain is handled here, and so is the
// watch that keeps the file list in step with the folder.
class HenkanWindow : public QWidget, public WindowOps {
  Q_OBJECT

 public:
  explicit HenkanWindow(QWidget* parent = nullptr);

  std::u16string FileNameText() const override;
  void SetFileNameText(const std::u16string& text) override;
  std::u16string DirectoryPath() const override;
  bool SetDirectoryPath(const std::u16string& path) override;
  void RefreshFileList() override;
  void SetCaption(const std::u16string& caption) override;
  void SetStatus(const std::u16string& message) override;
  // Paragraph breaks of the box read back as CR LF; CR LF, a lone CR and a lone LF all make one
  // break on the way in. Text with CR LF line ends therefore comes back unchanged.
  std::u16string DisplayText() const override;
  void SetDisplayText(const std::u16string& text) override;
  bool AskYesNo(const std::u16string& question) override;

  // Files given to the program when it starts (the desktop entry's %F), opened as a drop of
  // them would be: names relative to the working folder, or file: addresses.
  void OpenFiles(const QStringList& arguments);

 protected:
  // Local files dropped anywhere on the window, the text boxes included, go to the form.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void onDrive1Changed();
  void onDir1Changed();
  void onFile1Clicked(QListWidgetItem* item);
  void onDatOpenClicked();
  void onDatopen1Clicked();
  void onDatChClicked();
  void onDatSaveClicked();
  void onEraseClicked();
  void onHyoujiClicked();
  void onExitClicked();

 private:
  void createControls();
  void arrangeTabOrder();
  void connectHandlers();
  void fillDrives();
  void showDriveOf(const QString& path);

  void Drive1_Change();
  void Dir1_Change();
  void Exit_Click();

  QComboBox* drive1_ = nullptr;
  DirectoryTree* dir1_ = nullptr;
  QListWidget* file1_ = nullptr;
  QPlainTextEdit* displayBox_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* erase_ = nullptr;
  QPushButton* datOpen_ = nullptr;
  QPushButton* datCh_ = nullptr;
  QPushButton* datSave_ = nullptr;
  QPushButton* exit_ = nullptr;
  QLineEdit* dbox_ = nullptr;
  QPushButton* datopen1_ = nullptr;
  QPushButton* hyouji_ = nullptr;
  QFileSystemWatcher* folderWatch_ = nullptr;

  HenkanForm form_{*this};
};

}  // namespace qdvz
