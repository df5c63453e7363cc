#include <system_error>

#include "io/io_messages.h"
#include "io/save_text.h"
#include "io/write_target.h"

namespace qdvz {

void InputFiles::Add(const std::filesystem::path& path) {
  if (path.empty()) return;
  if (std::optional<FileIdentity> file = IdentityOf(path)) files_.emplace(*file, path);
}

void InputFiles::Add(StandardStream stream) {
  if (std::optional<FileIdentity> file = IdentityOf(stream)) files_.emplace(*file, "");
}

std::optional<std::filesystem::path> InputFiles::ReplacedBy(
    const std::filesystem::path& target) const {
  if (files_.empty()) return std::nullopt;
  std::optional<FileIdentity> file = IdentityOf(target);
  if (!file) return std::nullopt;
  auto found = files_.find(*file);
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

void WrittenFiles::Add(const std::filesystem::path& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) return;
  if (std::optional<FileIdentity> file = IdentityOf(path)) files_[*file] = path;
}

bool WrittenFiles::Holds(const std::filesystem::path& target) const {
  std::optional<FileIdentity> file = IdentityOf(target);
  if (!file) return false;
  auto found = files_.find(*file);
  return found != files_.end() && IdentityOf(found->second) == file;
}

// What a run may write and how; every platform's operations are put together here only. An
// interrupted run (EndCleanlyWhenInterrupted) leaves no temporary file behind: every name
// holds either what it held before or the whole new output.
Result<void> WriteFileSafely(const std::filesystem::path& path, std::string_view bytes,
                             std::span<const OpenStream> openStreams) {
  using Kind = detail::WriteTarget::Kind;
  Result<detail::WriteTarget> target = detail::InspectWriteTarget(path);
  if (!target) return target.failure();
  for (const OpenStream& open : openStreams) {
    if (target->identity == open.file) return detail::WriteToStream(open.stream, bytes);
  }
  switch (target->kind) {
    case Kind::kFolder:
      return Failure{FailureKind::kFileAccess, msg::kCannotSaveToFolder};
    case Kind::kOther:
      // Devices and pipes cannot be replaced by renaming.
      return detail::WriteInPlace(path, bytes);
    case Kind::kRegularFile:
      // A read-only file is not replaced behind its back, as opening it for writing would
      // not be allowed either.
      if (target->readOnly) return Failure{FailureKind::kFileAccess, msg::kNoWritePermission};
      return detail::ReplaceByRename(target->finalPath, bytes);
    case Kind::kMissing:
      break;
  }
  // A new file is written under a temporary name next to it and then given its own name,
  // only if nothing has it by then: a name never shows a file cut short, whether the disk
  // fills or the run is interrupted. It has no old contents to protect, so it is not
  // flushed to the disk, which dominated the time of a batch.
  Result<detail::NewFile> created = detail::WriteNewFile(target->finalPath, bytes);
  if (!created) return created.failure();
  if (*created == detail::NewFile::kWritten) return {};
  // Created by someone else meanwhile: replace it like any existing file.
  return detail::ReplaceByRename(target->finalPath, bytes);
}

}  // namespace qdvz
