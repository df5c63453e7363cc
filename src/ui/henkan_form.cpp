#include "ui/henkan_form.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "convert/convert_records.h"
#include "convert/messages.h"
#include "convert/refusal.h"
#include "convert/text.h"
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

// Names are judged by their last three characters alone, case-sensitively; no dot is needed.
bool HasExtension(std::u16string_view name, std::span<const std::u16string_view> accepted) {
  return std::find(accepted.begin(), accepted.end(), LastThree(name)) != accepted.end();
}

}  // namespace

std::u16string HenkanForm::ChosenPath() const {
  return SelectedFilePath(window_.DirectoryPath(), window_.FileNameText());
}

void HenkanForm::Form_Load() {
  window_.SetStatus(ui_msg::kChooseCommand);
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
  if (IsSpecialFile(ToFsPath(path))) {
    EndFailedLoad(Refusal{msg::kNotRegularFile, 0});
    return std::nullopt;
  }
  return path;
}

void HenkanForm::EndFailedLoad(const Refusal& why) {
  // Nothing was taken from the file: the data and the display stay as they were.
  window_.SetStatus(DescribeRefusal(why));
  window_.SetCaption(ui_msg::kIdleCaption);
}

void HenkanForm::DatOpen_Click() {
  auto path = BeginLoad(kDataExtensions, ui_msg::kWrongDataExtension);
  if (!path) return;
  LoadedLines loaded = LoadSourceLines(ToFsPath(*path));
  if (loaded.error) return EndFailedLoad(*loaded.error);
  // The new file replaces all the data: slots beyond its lines must not carry records of an
  // earlier, longer file into the next conversion.
  const size_t count = std::min(loaded.lines.size(), dataLines_.size());
  std::copy(loaded.lines.begin(), loaded.lines.begin() + static_cast<std::ptrdiff_t>(count),
            dataLines_.begin());
  std::fill(dataLines_.begin() + static_cast<std::ptrdiff_t>(count), dataLines_.end(),
            std::u16string());

  window_.SetStatus(loaded.truncated ? msg::kTooManyLines : ui_msg::kReadDone);
  window_.SetDisplayText(JoinWithCrLf(std::span(loaded.lines).first(count)));
  window_.SetCaption(ui_msg::kIdleCaption);
}

void HenkanForm::datopen1_Click() {
  auto path = BeginLoad(kSizeExtensions, ui_msg::kChooseSizeFile);
  if (!path) return;
  LoadedSizeFile loaded = LoadSizeFile(ToFsPath(*path));
  if (loaded.error) return EndFailedLoad(*loaded.error);
  // Like the data, the table holds exactly the items of the last file loaded.
  sizeItems_.fill(std::u16string());
  StoreSizeItems(loaded.items, sizeItems_);

  window_.SetDisplayText(loaded.displayText);
  window_.SetCaption(ui_msg::kIdleCaption);
  window_.SetStatus(loaded.items.size() > sizeItems_.size() ? msg::kSizeItemsOverflow
                                                            : ui_msg::kReadDone);
}

void HenkanForm::DatCh_Click() {
  const std::u16string name = window_.FileNameText();
  window_.SetCaption(name + msg::kConverting);
  window_.SetStatus(name + msg::kConvertingStatus);
  window_.SetDisplayText(u"");
  window_.SetFileNameText(u"");
  if (!HasSizeData(sizeItems_)) {
    window_.SetStatus(msg::kNoSizeData);
    return;
  }

  ConversionOutcome outcome = ConvertRecords(dataLines_, sizeItems_);
  if (outcome.refusal) {
    if (outcome.refusal->message == msg::kNotQdData) {
      // Not QD data: the caption keeps telling what was attempted.
      window_.SetStatus(msg::kNotQdData);
      return;
    }
    // The data goes beyond what the macro can hold: say where, and show nothing half-made.
    window_.SetStatus(DescribeRefusal(*outcome.refusal));
    window_.SetCaption(ui_msg::kIdleCaption);
    return;
  }
  window_.SetDisplayText(outcome.document);
  window_.SetCaption(ui_msg::kIdleCaption);
  window_.SetStatus(msg::kConverted);
}

void HenkanForm::DatSave_Click() {
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
  window_.SetCaption(ui_msg::kWritingCaption);
  // SaveText adds the closing CR LF and replaces the file only once all of it is written.
  if (auto error = SaveText(ToFsPath(path), window_.DisplayText())) {
    window_.SetCaption(ui_msg::kIdleCaption);
    window_.SetStatus(DescribeRefusal(*error));
    return;
  }
  window_.SetCaption(ui_msg::kIdleCaption);
  window_.SetStatus(ui_msg::kSaved);
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
