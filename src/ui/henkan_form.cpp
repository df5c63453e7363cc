#include "ui/henkan_form.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string_view>

#include "convert/convert_records.h"
#include "convert/failure.h"
#include "convert/text.h"
#include "io/cp932.h"
#include "io/file_path.h"
#include "io/io_messages.h"
#include "io/save_text.h"
#include "io/size_file.h"
#include "io/source_file.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

using namespace std::string_view_literals;

constexpr std::array kDataExtensions = {u"dat"sv, u"DAT"sv, u"txt"sv, u"TXT"sv, u"vzm"sv, u"VZM"sv};
constexpr std::array kSizeExtensions = {u"qdc"sv, u"QDC"sv};
constexpr std::array kSaveExtensions = {u"txt"sv, u"qdc"sv, u"dat"sv, u"QDC"sv, u"TXT"sv, u"DAT"sv};

// Names are judged by their last three characters alone (the whole name when it is shorter),
// case-sensitively; no dot is needed.
bool HasExtension(std::u16string_view name, std::span<const std::u16string_view> accepted) {
  std::u16string_view lastThree = name.size() <= 3 ? name : name.substr(name.size() - 3);
  return std::find(accepted.begin(), accepted.end(), lastThree) != accepted.end();
}

}  // namespace

std::u16string HenkanForm::ChosenPath() const {
  return SelectedFilePath(window_.DirectoryPath(), window_.FileNameText());
}

void HenkanForm::Form_Load() {
  // Without the converter no file can be read or saved: say so before anything is tried.
  window_.SetStatus(Cp932ConverterAvailable() ? ui_msg::kChooseCommand : msg::kNoCp932Converter);
}

void HenkanForm::File1_Click(const std::u16string& name) {
  window_.SetFileNameText(name);
}

std::optional<std::u16string> HenkanForm::BeginLoad(std::span<const std::u16string_view> extensions,
                                                    const char16_t* wrongExtension) {
  const std::u16string name = window_.FileNameText();
  if (name.empty()) {
    window_.SetStatus(ui_msg::kChooseFile);
    return std::nullopt;
  }
  if (!HasExtension(name, extensions)) {
    window_.SetStatus(wrongExtension);
    return std::nullopt;
  }
  const std::u16string path = ChosenPath();
  window_.SetStatus(name + ui_msg::kReadingSuffix);
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
    window_.SetStatus(dynamic_cast<const std::bad_alloc*>(&error)
                          ? std::u16string(ui_msg::kOutOfMemory)
                          : ui_msg::kUnexpected + FromUtf8(error.what()) + u"）");
    window_.SetCaption(ui_msg::kIdleCaption);
  } catch (...) {
    // Not even the status line can be set: nothing more to do.
  }
}

void HenkanForm::EndFailedLoad(const Failure& why) {
  // Nothing was taken from the file: the data and the display stay as they were.
  window_.SetStatus(Describe(why));
  window_.SetCaption(ui_msg::kIdleCaption);
}

void HenkanForm::DatOpen_Click() try {
  auto path = BeginLoad(kDataExtensions, ui_msg::kWrongDataExtension);
  if (!path) return;
  Result<LoadedLines> loaded = LoadSourceLines(ToFsPath(*path));
  if (!loaded) return EndFailedLoad(loaded.failure());
  // The new file replaces all the data: slots beyond its lines must not carry records of an
  // earlier, longer file into the next conversion.
  const std::span<const std::u16string_view> lines = loaded->lines;
  const size_t count = std::min(lines.size(), dataLines_.size());
  auto fresh = std::make_unique<DataLineArray>();
  std::copy(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count), fresh->begin());
  dataLines_.swap(*fresh);

  window_.SetStatus(loaded->truncated ? msg::kTooManyLines : ui_msg::kReadDone);
  window_.SetDisplayText(JoinWithCrLf(lines.first(count)));
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

  window_.SetDisplayText(loaded->displayText);
  window_.SetCaption(ui_msg::kIdleCaption);
  const std::optional<Failure>& warning = loaded->table.warning;
  window_.SetStatus(warning ? warning->message : ui_msg::kReadDone);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::DatCh_Click() try {
  const std::u16string name = window_.FileNameText();
  window_.SetCaption(name + ui_msg::kConvertingCaption);
  window_.SetStatus(name + ui_msg::kConvertingStatus);
  window_.SetDisplayText(u"");
  window_.SetFileNameText(u"");

  Result<std::u16string> document = ConvertRecords(dataLines_, sizeItems_);
  if (!document) {
    const Failure& failure = document.failure();
    if (failure.kind == FailureKind::kNoSizeData || failure.kind == FailureKind::kNotQdData) {
      // Nothing to convert: only the status line says why, and the caption keeps telling
      // what was attempted.
      window_.SetStatus(failure.message);
      return;
    }
    // The data goes beyond what the macro can hold: say where, and show nothing half-made.
    window_.SetStatus(Describe(failure));
    window_.SetCaption(ui_msg::kIdleCaption);
    return;
  }
  window_.SetDisplayText(*document);
  window_.SetCaption(ui_msg::kIdleCaption);
  window_.SetStatus(ui_msg::kConverted);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::DatSave_Click() try {
  window_.SetStatus(u"");
  const std::u16string name = window_.FileNameText();
  if (name.empty()) {
    window_.SetStatus(ui_msg::kNameToSave);
    return;
  }
  if (!HasExtension(name, kSaveExtensions)) {
    window_.SetStatus(ui_msg::kWrongSaveExtension);
    return;
  }
  const std::u16string path = ChosenPath();
  // Writing into a pipe would wait, and the window with it, until some other program reads.
  if (KindOf(ToFsPath(path)) == FileKind::kPipeOrSocket) {
    window_.SetStatus(msg::kCannotSaveToPipe);
    return;
  }
  window_.SetCaption(ui_msg::kWritingCaption);
  // SaveText adds the closing CR LF and replaces the file only once all of it is written.
  if (Result<void> saved = SaveText(ToFsPath(path), window_.DisplayText()); !saved) {
    window_.SetCaption(ui_msg::kIdleCaption);
    window_.SetStatus(Describe(saved.failure()));
    return;
  }
  window_.SetCaption(ui_msg::kIdleCaption);
  window_.SetStatus(ui_msg::kSaved);
} catch (const std::exception& error) {
  EndUnexpectedly(error);
}

void HenkanForm::Erase_Click() {
  savedDisplay_ = window_.DisplayText();
  window_.SetFileNameText(u"");
  window_.SetDisplayText(u"");
  window_.SetStatus(ui_msg::kErased);
}

void HenkanForm::hyouji_Click() {
  window_.SetDisplayText(savedDisplay_);
  savedDisplay_.clear();
  window_.SetStatus(ui_msg::kRedisplayed);
}

}  // namespace qdvz
