#include "ui/file_set.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "convert/failure.h"
#include "convert/text.h"
#include "io/file_bytes.h"
#include "io/file_kind.h"
#include "io/fs_path.h"
#include "io/io_messages.h"
#include "io/qd_bytes.h"
#include "io/save_text.h"
#include "io/size_file.h"
#include "ui/extensions.h"
#include "ui/file_path.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;

// The question names at most this many outputs, then how many more there are.
constexpr size_t kNamesAsked = 10;

std::u16string Count(size_t n) {
  return FromUtf8(std::to_string(n));
}

// The last part of a path as text.
std::u16string NameOf(const fs::path& path) {
  return FromFsPath(path.filename());
}

// One file of the set on its way: where its macro goes, and its outcome once it is known.
struct Entry {
  std::u16string path;
  fs::path target;
  bool exists = false;  // something is at the target already
  std::optional<std::u16string> outcome;
  bool converted = false;
};

class SetConverter {
 public:
  SetConverter(const std::vector<std::u16string>& paths, SizeItems& sizes, WindowOps& window)
      : sizes_(sizes), window_(window) {
    // Every file of the set is an input that no output may replace, the size file among them.
    for (const std::u16string& path : paths) {
      inputs_.Add(ToFsPath(path));
      entries_.push_back({path, {}, false, std::nullopt, false});
    }
  }

  FileSetOutcome Run() {
    LoadSizes();
    for (Entry& entry : entries_) {
      if (!entry.outcome) Plan(entry);
    }
    AskAboutExisting();
    for (Entry& entry : entries_) {
      if (!entry.outcome) Convert(entry);
    }
    FileSetOutcome result;
    result.sizesLoaded = sizesLoaded_;
    for (const Entry& entry : entries_) {
      if (!result.listing.empty()) result.listing += u"\r\n";
      result.listing += entry.path + *entry.outcome;
      if (entry.converted) ++result.converted;
    }
    result.notConverted =
        static_cast<int>(entries_.size()) - result.converted - (sizesLoaded_ ? 1 : 0);
    return result;
  }

 private:
  static std::u16string Said(std::u16string_view message) {
    return ui_msg::kSetSeparator + std::u16string(message);
  }

  void LoadSizes() {
    for (Entry& entry : entries_) {
      if (!HasExtension(SplitFilePath(entry.path).name, kSizeExtensions)) continue;
      if (sizesTried_) {
        entry.outcome = Said(ui_msg::kSetExtraSizes);
        continue;
      }
      sizesTried_ = true;
      Result<LoadedSizeFile> loaded = LoadSizeFile(ToFsPath(entry.path));
      if (!loaded) {
        entry.outcome = Said(Describe(loaded.failure()));
        continue;
      }
      sizes_ = std::move(loaded->table.items);
      sizesLoaded_ = true;
      const std::optional<Failure>& warning = loaded->table.warning;
      entry.outcome = Said(ui_msg::kSetSizesLoaded +
                           (warning ? u"（" + Describe(*warning) + u"）" : std::u16string()));
    }
  }

  // Everything that refuses a file before it is read, and where its macro goes.
  void Plan(Entry& entry) {
    const fs::path input = ToFsPath(entry.path);
    switch (KindOf(input)) {
      case FileKind::kFolder:
        entry.outcome = Said(ui_msg::kSetFolder);
        return;
      case FileKind::kPipeOrSocket:
      case FileKind::kDevice:
        // Reading one would block the window.
        entry.outcome = Said(msg::kNotRegularFile);
        return;
      default:
        break;
    }
    if (!HasExtension(SplitFilePath(entry.path).name, kDataExtensions)) {
      entry.outcome = Said(ui_msg::kSetNotQdName);
      return;
    }
    if (sizesTried_ && !sizesLoaded_) {
      entry.outcome = Said(ui_msg::kSetNoSizes);
      return;
    }
    entry.target = input.parent_path() / input.stem();
    entry.target += ".txt";
    if (inputs_.ReplacedBy(entry.target)) {
      entry.outcome = Said(ui_msg::kSetWouldReplaceInput);
      return;
    }
    switch (KindOf(entry.target)) {
      case FileKind::kMissing:
        break;
      case FileKind::kPipeOrSocket:
        // Writing into a pipe would wait, and the window with it, until some other program reads.
        entry.outcome = Said(msg::kCannotSaveToPipe);
        return;
      case FileKind::kFolder:
        break;  // the write says that a folder cannot be replaced
      default:
        entry.exists = true;
    }
  }

  void AskAboutExisting() {
    std::u16string names;
    size_t count = 0;
    for (const Entry& entry : entries_) {
      if (entry.outcome || !entry.exists) continue;
      if (++count <= kNamesAsked) names += u"\n" + NameOf(entry.target);
    }
    if (count == 0) return;
    if (count > kNamesAsked) {
      names += u"\n" + std::u16string(ui_msg::kSetMoreHead) + Count(count - kNamesAsked) +
               ui_msg::kSetMoreTail;
    }
    if (window_.AskYesNo(ui_msg::kSetReplaceHead + names.substr(1) + ui_msg::kSetReplaceTail)) {
      return;
    }
    for (Entry& entry : entries_) {
      if (!entry.outcome && entry.exists) entry.outcome = Said(ui_msg::kSetKeptExisting);
    }
  }

  void Convert(Entry& entry) try {
    Result<std::string> bytes = ReadFileBytes(ToFsPath(entry.path));
    if (!bytes) {
      entry.outcome = Said(Describe(bytes.failure()));
      return;
    }
    MacroBytes converted = ConvertQdBytes(*bytes, sizes_);
    if (!converted.macro) {
      entry.outcome = Said(Describe(converted.macro.failure()));
      return;
    }
    // Two files of the set with one stem (x.dat and x.vzm) give one output: the second must not
    // replace the first.
    if (written_.Holds(entry.target)) {
      entry.outcome = Said(ui_msg::kSetDuplicateOutput);
      return;
    }
    if (Result<void> written = WriteFileSafely(entry.target, *converted.macro); !written) {
      entry.outcome = Said(Describe(written.failure()));
      return;
    }
    written_.Add(entry.target);
    entry.converted = true;
    entry.outcome = ui_msg::kSetWritten + NameOf(entry.target);
    if (converted.warning) *entry.outcome += u"（" + Describe(*converted.warning) + u"）";
  } catch (const std::exception& error) {
    entry.converted = false;
    entry.outcome = Said(DescribeUnexpected(error));
  }

  SizeItems& sizes_;
  WindowOps& window_;
  std::vector<Entry> entries_;
  InputFiles inputs_;
  WrittenFiles written_;
  bool sizesTried_ = false;
  bool sizesLoaded_ = false;
};

}  // namespace

FileSetOutcome ConvertFileSet(const std::vector<std::u16string>& paths, SizeItems& sizes,
                              WindowOps& window) {
  return SetConverter(paths, sizes, window).Run();
}

}  // namespace qdvz
