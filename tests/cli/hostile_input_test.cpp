// Runs the cases of tests/data/qd2vz_cases.tsv: qd2vz against broken and hostile input and
// against every place an output can point, with the exit status, every message, and that
// nothing a user owns changed but what the case names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/data.h"
#include "support/run_qd2vz.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// Every entry below dir: a file's bytes (its size when large), where a link leads, a folder,
// a device or a pipe.
Files Take(const fs::path& dir) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    std::string& seen = files[entry.path().lexically_relative(dir).string()];
    const fs::file_status own = entry.symlink_status();
    std::error_code ignored;
    if (fs::is_character_file(fs::status(entry.path(), ignored))) {
      seen = "<device>";
    } else if (fs::is_symlink(own)) {
      seen = "<link " + fs::read_symlink(entry.path()).string() + ">";
    } else if (fs::is_directory(own)) {
      seen = "<folder>";
    } else if (fs::is_fifo(own)) {
      seen = "<pipe>";
    } else if (entry.file_size() > (1 << 20)) {
      seen = "<" + std::to_string(entry.file_size()) + " bytes>";
    } else {
      seen = test::ReadBytes(entry.path());
    }
  }
  return files;
}

// Data of one block: "999", "1 T", the records, the block end.
std::string Block(const std::string& records) {
  return "999\r\n1 T\r\n" + records + "99 0\r\n";
}

// A text record of that many characters, its text a double-byte character repeated.
std::string TextRecord(size_t characters) {
  const std::string head = "01 01 1 2 3 4 10003 001 \"";
  return head + test::Repeat("\x8E\x9A", characters - head.size()) + "\r\n";
}

// The files that the cases name and the test makes.
Files Made() {
  const std::string data = test::ReadBytes(test::DataPath("runs/example1.dat"));
  // The example's records padded to 1199 lines by records that write nothing.
  const std::string lines1199 =
      data.substr(0, data.size() - 6) + test::Repeat("7 5 1 2 3 4\r\n", 1194) + "99 0\r\n";
  return {
      {"macro", test::ReadBytes(test::DataPath("runs/example1.expected"))},
      {"data", data},
      {"sizes", test::ReadBytes(test::DataPath("runs/sizes.qdc"))},
      {"record-32767", Block(TextRecord(32767))},
      {"record-32768", Block(TextRecord(32768))},
      // A macro far larger than a pipe holds.
      {"records-3x32767", Block(TextRecord(32767) + TextRecord(32767) + TextRecord(32767))},
      {"comment-40000", "#" + test::Repeat("x", 39999) + "\r\n" + data},
      {"macro-1200", Block(test::Repeat("02 20 1 2 3 4\r\n", 1190))},
      {"macro-1201", Block(test::Repeat("02 20 1 2 3 4\r\n", 1191))},
      {"lines-1199", lines1199},
      {"lines-5000",
       lines1199 + "\x80\x82" + std::string(1, '\0') + "\n" + test::Repeat("1 2\n", 3800)},
  };
}

// A VALUE of the cases: its parts one after another.
std::string Value(std::string_view parts, const Files& made) {
  std::string value;
  while (!parts.empty()) {
    char close = parts[0] == '"' ? '"' : parts[0] == '<' ? '>' : ' ';
    size_t end = std::min(parts.find(close, 1), parts.size());
    std::string part(parts.substr(0, close == ' ' ? end : end + 1));
    parts.remove_prefix(std::min(part.size() + 1, parts.size()));
    if (close == '"') {
      for (size_t i = 1; i + 1 < part.size(); ++i) {
        char c = part[i];
        if (c == '\\' && part[++i] == 'x') {
          c = static_cast<char>(std::stoi(part.substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else if (c == '\\') {
          c = part[i] == 'n' ? '\n' : part[i] == 'r' ? '\r' : part[i];
        }
        value += c;
      }
    } else if (close == '>' || part == "*") {
      value += part;
    } else {
      value += made.contains(part) ? made.at(part) : test::ReadBytes(test::DataPath(part));
    }
  }
  return value;
}

struct Case {
  int line;  // in the file of cases
  std::string name;
  Files files = {};
  std::string command = "";
  int status = 0;
  std::string err = "";
  Files changed = {};
  std::string out = "";
};

std::vector<Case> ReadCases() {
  const Files made = Made();
  std::vector<Case> cases;
  for (const test::TsvRow& row : test::ReadTsv("qd2vz_cases.tsv")) {
    const std::string& key = row.cells[0];
    const std::string& cell = row.cells.at(1);
    if (key == "case") cases.push_back({row.line, cell});
    Case& c = cases.back();
    if (key == "file") c.files[cell] = Value(row.cells.at(2), made);
    if (key == "run") c.command = cell;
    if (key == "status") c.status = std::stoi(cell);
    if (key == "says") c.err += "qd2vz: " + cell + "\n";
    if (key == "changed") c.changed[cell] = Value(row.cells.at(2), made);
    if (key == "out") c.out = Value(cell, made);
  }
  return cases;
}

TEST(HostileInput, Qd2vzCases) {
  const std::vector<Case> cases = ReadCases();
  ASSERT_GT(cases.size(), 40u);
  for (const Case& c : cases) {
    SCOPED_TRACE("qd2vz_cases.tsv:" + std::to_string(c.line) + ": " + c.name);
    test::TempDir dir;
    test::WriteBytes(dir / "s.qdc", test::ReadBytes(test::DataPath("runs/sizes.qdc")));
    test::WriteBytes(dir / "in.dat", test::ReadBytes(test::DataPath("runs/example1.dat")));
    test::WriteBytes(dir / "out.txt", "earlier output\r\n");
    fs::create_directory(dir / "o");
    for (const auto& [name, bytes] : c.files) {
      fs::create_directories((dir / name).parent_path());
      test::WriteBytes(dir / name, bytes);
    }
    Files expected = Take(dir.path());
    for (const auto& [name, bytes] : c.changed) expected[name] = bytes;
    test::Qd2vzResult result = test::RunShell(dir, c.command);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    EXPECT_TRUE(result.out == c.out) << result.out.size() << " bytes on standard output";
    Files after = Take(dir.path());
    for (const auto& [name, bytes] : c.changed) {
      if (bytes == "*" && after.contains(name)) after[name] = "*";
    }
    EXPECT_EQ(after, expected);
  }
}

}  // namespace
}  // namespace qdvz
