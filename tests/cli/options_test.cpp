// Runs tests/data/qd2vz_options.tsv: every form of every option of qd2vz, and the usage errors.
#include "cli/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "convert/text.h"
#include "support/data.h"

namespace qdvz::cli {
namespace {

// The options as the table writes them, or the usage error.
std::string Described(const Result<Options>& options) {
  if (!options) return ToUtf8(options.failure().message);
  std::string line = "sizes=" + options->sizeFile.name;
  if (options->outputFile) line += " output=" + options->outputFile->name;
  if (options->outputDirectory) line += " directory=" + options->outputDirectory->name;
  line += " inputs=";
  for (const FileArg& input : options->inputs) line += "[" + input.name + "]";
  if (options->help) line += " help";
  if (options->version) line += " version";
  return line;
}

TEST(ParseOptions, CommandLines) {
  const std::vector<test::TsvRow> rows = test::ReadTsv("qd2vz_options.tsv");
  ASSERT_GT(rows.size(), 30u);
  for (const test::TsvRow& row : rows) {
    std::vector<std::string> args;
    std::istringstream words(row.cells.at(0));
    for (std::string word; words >> word;) args.push_back(word == "''" ? "" : word);
    EXPECT_EQ(Described(ParseOptions(args)), row.cells.at(1))
        << "qd2vz_options.tsv:" << row.line << ": " << row.cells[0];
  }
}

}  // namespace
}  // namespace qdvz::cli
