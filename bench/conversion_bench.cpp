// Speed of the conversion and of the code page 932 layer on a 1199-line file that mixes
// every kind of record.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "cli/console.h"
#include "convert/convert_records.h"
#include "convert/records.h"
#include "convert/size_table.h"
#include "io/qd_bytes.h"
#include "io/save_text.h"
#include "io/source_file.h"
#include "mixed_data.h"

namespace qdvz {
namespace {

const std::string& FileBytes() {
  static const std::string bytes = bench::MixedQdFile(1199);
  return bytes;
}

const LoadedLines& FileLines() {
  static const LoadedLines lines = [] {
    Result<LoadedLines> loaded = SplitSourceBytes(FileBytes());
    if (!loaded || loaded->lines.size() != 1199) throw std::logic_error("bad mixed file");
    return std::move(*loaded);
  }();
  return lines;
}

const SizeItems& Sizes() {
  static const SizeItems sizes = [] {
    Result<LoadedLines> lines = SplitSourceBytes(bench::MixedSizeFile());
    if (!lines) throw std::logic_error("bad size file");
    Result<std::vector<std::u16string>> items = ReadSizeItems(lines->lines);
    if (!items) throw std::logic_error("bad size file");
    return MakeSizeTable(*items).items;
  }();
  return sizes;
}

const std::u16string& Document() {
  static const std::u16string document = [] {
    Result<std::u16string> converted = ConvertRecords(FileLines().lines, Sizes());
    if (!converted) throw std::logic_error("mixed file refused");
    return *converted;
  }();
  return document;
}

void BM_ConvertRecords(benchmark::State& state) {
  for (auto _ : state) {
    Result<std::u16string> converted = ConvertRecords(FileLines().lines, Sizes());
    benchmark::DoNotOptimize(converted->data());
  }
  state.SetItemsProcessed(state.iterations() * 1199);
}
BENCHMARK(BM_ConvertRecords);

void BM_SplitSourceBytes(benchmark::State& state) {
  for (auto _ : state) {
    Result<LoadedLines> loaded = SplitSourceBytes(FileBytes());
    benchmark::DoNotOptimize(loaded->lines.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes().size()));
}
BENCHMARK(BM_SplitSourceBytes);

void BM_EncodeSavedText(benchmark::State& state) {
  for (auto _ : state) {
    Result<std::string> encoded = EncodeSavedText(Document());
    benchmark::DoNotOptimize(encoded->data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Document().size() * 2));
}
BENCHMARK(BM_EncodeSavedText);

// Loading, converting and encoding one file, as qd2vz does for each input.
void BM_WholeFile(benchmark::State& state) {
  for (auto _ : state) {
    MacroBytes converted = ConvertQdBytes(FileBytes(), Sizes());
    benchmark::DoNotOptimize(converted.macro->data());
  }
}
BENCHMARK(BM_WholeFile);

void BM_SplitRecord(benchmark::State& state) {
  const std::u16string records[] = {
      u"10 01 50 60 150 60",
      u"02 00 100 200 30 60 e -50 0.75",
      u"01 00 100 200 30 60 7 8 9 E 50 1",
      u"01 01 100.5 200 150.5 200 10003 105 \"国道１号 ABC",
      u"01 01 1 2 3 2 10001 805 a b 注記 w12 w13",
      u"0 破線記号 A",
  };
  for (auto _ : state) {
    for (const auto& record : records) {
      RecordFields fields = SplitRecord(record);
      benchmark::DoNotOptimize(fields.field.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(records)));
}
BENCHMARK(BM_SplitRecord);

}  // namespace
}  // namespace qdvz

// qd2vz keeps freed memory for the next file; without that, glibc hands the run's buffers back
// to the system after each iteration and the benchmark would time page faults, not conversion.
int main(int argc, char** argv) {
  qdvz::cli::KeepFreedMemory();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
