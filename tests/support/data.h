#pragma once

// The worked examples and hostile inputs of tests/data, and the tables kept there.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "convert/size_table.h"
#include "convert/text.h"

namespace qdvz::test {

// A file of tests/data, by its path below that folder ("runs/sizes.qdc"); absolute, so that it
// holds wherever a test runs a program.
inline std::filesystem::path DataPath(std::string_view relative) {
  return std::filesystem::absolute(std::filesystem::path(QDVZ_TEST_DATA) /
                                   std::filesystem::path(relative));
}

// The character sizes of runs/sizes.qdc, which the worked examples use, read once as the
// window reads a character-size file (the file is ASCII, so its bytes are its text).
inline const SizeItems& ExampleSizes() {
  static const SizeItems sizes = [] {
    std::ifstream in(DataPath("runs/sizes.qdc"), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read runs/sizes.qdc");
    std::vector<std::u16string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(FromUtf8(line));
    }
    const std::vector<std::u16string_view> views(lines.begin(), lines.end());
    Result<std::vector<std::u16string>> items = ReadSizeItems(views);
    if (!items) throw std::runtime_error("runs/sizes.qdc: " + ToUtf8(Describe(items.failure())));
    return MakeSizeTable(*items).items;
  }();
  return sizes;
}

// One row of a table: its line in the file (for messages) and its cells.
struct TsvRow {
  int line;
  std::vector<std::string> cells;
};

// The rows of a tab-separated table of tests/data; empty lines and lines starting with % are
// notes.
inline std::vector<TsvRow> ReadTsv(std::string_view relative) {
  std::ifstream in(DataPath(relative), std::ios::binary);
  std::vector<TsvRow> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '%') continue;
    TsvRow row{number, {}};
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) row.cells.push_back(cell);
    rows.push_back(std::move(row));
  }
  return rows;
}

// The window's controls as tests/data/controls.tsv lists them, for the Qt and the Win32
// window alike.
struct ControlRow {
  std::string name, qtClass, win32Class, caption, tip;
  char key;                      // 0: none
  int tab;                       // -1: never reached by Tab
  int left, top, width, height;  // twips
  double points;
  bool fixedPitch;
};

inline std::vector<ControlRow> ReadControls() {
  std::vector<ControlRow> controls;
  for (const TsvRow& row : ReadTsv("controls.tsv")) {
    auto cell = [&](size_t i) { return row.cells.at(i) == "-" ? std::string() : row.cells[i]; };
    auto number = [&](size_t i) { return cell(i).empty() ? -1 : std::stoi(cell(i)); };
    controls.push_back({cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)[0], number(6),
                        number(7), number(8), number(9), number(10), std::stod(cell(11)),
                        cell(12) == "yes"});
  }
  if (controls.size() != 14) throw std::runtime_error("controls.tsv: 14 controls expected");
  return controls;
}

}  // namespace qdvz::test
