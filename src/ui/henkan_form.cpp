#include "ui/henkan_form.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/convert_records.h"
#include "convert/failure.h"
#include "convert/text.h"
#include "cp932/cp932.h"
#include "io/file_kind.h"
#include "io/fs_path.h"
#include "io/io_messages.h"
#include "io/save_text.h"
#include "io/size_file.h"
#include "io/source_file.h"
#include "ui/extensions.h"
#include "ui/file_path.h"
#include "ui/file_set.h"
#include "ui/ui_messages.h"

namespace qdvz {

std::u16string HenkanForm::ChosenPath() const {
  return SelectedFilePath(window_.DirectoryPath(), window_.FileNameText());
}

void HenkanForm::Say(std::u16string_view message) {
  window_.SetStatus(std::u16string(message));
}

void HenkanForm::Form_Load() {
  // Without the converter no file can be read or saved: say so before anything is tried.
  Say(Cp932ConverterAvailable() ? ui_msg::kChooseCommand : msg::kNoCp932Converter);
}

void HenkanForm::File1_Click(const std::u16string& name) {
  window_.SetFileNameText(name);
}

void HenkanForm::Drive1_Change() {
  // A drive that is not ready leaves the lists where they are, and the drive list with them.
  if (!window_.SetDirectoryPath(window_.ChosenDrive()))
    window_.ShowDriveOf(window_.DirectoryPath());
}

void HenkanForm::Dir1_Change() {
  const std::u16string folder = window_.DirectoryPath();
  window_.ShowDriveOf(folder);
  window_.WatchFolder(folder);
  window_.ListFiles(u"");  // a name chosen in the folder before is no choice in this one
}

void HenkanForm::RefreshFileList() {
  window_.ListFiles(window_.ChosenFile());
}

void HenkanForm::Exit_Click() {
  window_.Close();
}

void HenkanForm::Click(Handler handler) {
  switch (handler) {
    case Handler::DatOpen_Click:
      return DatOpen_Click();
    case Handler::datopen1_Click:
      return datopen1_Click();
    case Handler::DatCh_Click:
      return DatCh_Click();
    case Handler::DatSave_Click:
      return DatSave_Click();
    case Handler::Erase_Click:
      return Erase_Click();
    case Handler::hyouji_Click:
      return hyouji_Click();
    case Handler::Exit_Click:
      return Exit_Click();
    case Handler::Drive1_Change:
      return Drive1_Change();
    case Handler::Dir1_Change:
      return Dir1_Change();
    case Handler::File1_Click:  // needs the name clicked
    case Handler::None:
      return;
  }
}

std::optional<std::u16string> HenkanForm::BeginLoad(std::span<const std::u16string_view> extensions,
                                                    const char16_t* wrongExtension) {
  const std::u16string name = window_.FileNameText();
  if (name.empty()) {
    Say(ui_msg::kChooseFile);
    return std::nullopt;
  }
  if (!HasExtension(name, extensions)) {
    Say(wrongExtension);
    return std::nullopt;
  }
  const std::u16string path = ChosenPath();
  Say(name + ui_msg::kReadingSuffix);
  window_.SetCaption(ui_msg::kReadingCaption);
  // The file list shows only files, but a typed name may lead to a pipe or a device.
  FileKind kind = KindOf(ToFsPath(path));
  if (kind == FileKind::kPipeOrSocket || kind == FileKind::kDevice) {
    EndFailedLoad(Failure{FailureKind::kFileAccess, msg::kNotRegularFile});
    return std::nullopt;
  }
  return path;
}

void HenkanForm::EndUnexpectedly(const std::exception& error) noexcept {
  // Nothing half-made is shown or saved: a handler throws before it changes the data.
  try {
    Say(DescribeUnexpected(error));
    window_.SetCaption(ui_msg::kIdleCaption);
  } catch (...) {
    // Not even the status line can be set: nothing more to do.
  }
}

void HenkanForm::EndFailedLoad(const Failure& why) {
  // Nothing was taken from the file: the data and the display stay as they were.
  Say(Describe(why));
  window_.SetCaption(ui_msg::kIdleCaption);
}

void HenkanForm::DatOpen_Click() try {
  auto path = BeginLoad(kDataExtensions, ui_msg::kWrongDataExtension);
  if (!path) return;
  Result<ShownSource> loaded = LoadShownSource(ToFsPath(*path));
  if (!loaded) return EndFailedLoad(loaded.failure());
  // The new file replaces all the data: no line of an earlier, longer file is carried into the
  // next conversion.
  dataLines_ = std::move(loaded->bytes);
  loadedData_ = *path;

  Say(loaded->truncated ? msg::kTooManyLines : ui_msg::kReadDone);
  window_.SetDisplayText(std::move(loaded->text));
  window_.SetCaption(ui_msg::kIdleCaption);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::datopen1_Click() try {
  auto path = BeginLoad(kSizeExtensions, ui_msg::kChooseSizeFile);
  if (!path) return;
  Result<LoadedSizeFile> loaded = LoadSizeFile(ToFsPath(*path));
  if (!loaded) return EndFailedLoad(loaded.failure());
  // Like the data, the table holds exactly the items of the last file loaded.
  sizeItems_ = std::move(loaded->table.items);
  loadedSizes_ = *path;

  window_.SetDisplayText(std::move(loaded->displayText));
  window_.SetCaption(ui_msg::kIdleCaption);
  const std::optional<Failure>& warning = loaded->table.warning;
  Say(warning ? warning->message : ui_msg::kReadDone);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::DatCh_Click() try {
  const std::u16string name = window_.FileNameText();
  window_.SetCaption(name + ui_msg::kConvertingCaption);
  Say(name + ui_msg::kConvertingStatus);
  window_.SetDisplayText(u"");  // the box lets go of the text it held, before the lines are decoded
  window_.SetFileNameText(u"");

  // The bytes kept decoded when they were loaded: they decode the same way again.
  Result<LoadedLines> lines = SplitSourceBytes(dataLines_);
  if (!lines) {
    Say(Describe(lines.failure()));
    window_.SetCaption(ui_msg::kIdleCaption);
    return;
  }
  Result<std::u16string> document = ConvertRecords(lines->lines, sizeItems_);
  lines = LoadedLines{};  // the document is all that is shown
  if (!document) {
    const Failure& failure = document.failure();
    if (failure.kind == FailureKind::kNoSizeData || failure.kind == FailureKind::kNotQdData) {
      // Nothing to convert: only the status line says why, and the caption keeps telling
      // what was attempted.
      Say(failure.message);
      return;
    }
    // The data goes beyond what the macro can hold: say where, and show nothing half-made.
    Say(Describe(failure));
    window_.SetCaption(ui_msg::kIdleCaption);
    return;
  }
  window_.SetDisplayText(std::move(*document));
  window_.SetCaption(ui_msg::kIdleCaption);
  Say(ui_msg::kConverted);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::DatSave_Click() try {
  Say(u"");
  const std::u16string name = window_.FileNameText();
  if (name.empty()) {
    Say(ui_msg::kNameToSave);
    return;
  }
  if (!HasExtension(name, kSaveExtensions)) {
    Say(ui_msg::kWrongSaveExtension);
    return;
  }
  const std::filesystem::path path = ToFsPath(ChosenPath());
  // Writing into a pipe would wait, and the window with it, until some other program reads;
  // what a device takes is lost, or never ends.
  const FileKind kind = KindOf(path);
  if (kind == FileKind::kPipeOrSocket || kind == FileKind::kDevice) {
    Say(kind == FileKind::kDevice ? msg::kCannotSaveToDevice : msg::kCannotSaveToPipe);
    return;
  }
  // The files loaded are what the user works from: replacing one takes a yes, by whatever name
  // the save reaches it.
  InputFiles loaded;
  loaded.Add(ToFsPath(loadedData_));
  loaded.Add(ToFsPath(loadedSizes_));
  if (std::optional<std::filesystem::path> input = loaded.ReplacedBy(path)) {
    if (!window_.AskYesNo(ui_msg::ReplaceLoadedFile(FromFsPath(*input)))) {
      Say(ui_msg::kNotSaved);
      return;
    }
  }
  window_.SetCaption(ui_msg::kWritingCaption);
  // SaveText adds the closing CR LF and replaces the file only once all of it is written.
  if (Result<void> saved = SaveText(path, window_.DisplayText()); !saved) {
    window_.SetCaption(ui_msg::kIdleCaption);
    Say(Describe(saved.failure()));
    return;
  }
  RefreshFileList();  // the saved file may be new to the folder
  window_.SetCaption(ui_msg::kIdleCaption);
  Say(ui_msg::kSaved);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::Erase_Click() {
  savedDisplay_ = window_.DisplayText();
  window_.SetFileNameText(u"");
  window_.SetDisplayText(u"");
  Say(ui_msg::kErased);
}

void HenkanForm::hyouji_Click() {
  window_.SetDisplayText(std::move(savedDisplay_));
  savedDisplay_.clear();  // a string moved from is not promised to be empty
  Say(ui_msg::kRedisplayed);
}

void HenkanForm::Form_OLEDragDrop(const std::vector<std::u16string>& paths) try {
  if (paths.empty()) return;
  if (paths.size() > 1) return ConvertSet(paths);
  if (KindOf(ToFsPath(paths.front())) == FileKind::kFolder) {
    Say(ui_msg::kFolderDropped);
    return;
  }
  // The load reads the name in the folder the list shows: the list must stand in the file's
  // folder, or a file of the same name elsewhere would be read.
  FolderAndName parts = SplitFilePath(paths.front());
  if (!window_.SetDirectoryPath(parts.folder)) {
    Say(ui_msg::kDropFolderMissing);
    return;
  }
  window_.SetFileNameText(parts.name);
  if (HasExtension(parts.name, kSizeExtensions)) {
    datopen1_Click();
  } else {
    DatOpen_Click();
  }
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::ConvertSet(const std::vector<std::u16string>& paths) {
  // The lists show the folder of the first file, where its macro is written.
  window_.SetDirectoryPath(SplitFilePath(paths.front()).folder);
  window_.SetCaption(ui_msg::kConvertingCaption);
  FileSetOutcome outcome = ConvertFileSet(paths, sizeItems_, window_);
  window_.SetDisplayText(std::move(outcome.listing));
  RefreshFileList();  // the macros written may be new to the folder
  window_.SetCaption(ui_msg::kIdleCaption);
  Say(FromUtf8(std::to_string(outcome.converted)) + ui_msg::kSetConvertedTail +
      FromUtf8(std::to_string(outcome.notConverted)) + ui_msg::kSetNotConvertedTail);
}

}  // namespace qdvz
