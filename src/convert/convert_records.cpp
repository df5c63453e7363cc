#include "convert/convert_records.h"

#include <vector>

#include "convert/limits.h"
#include "convert/macro_run.h"
#include "convert/messages.h"
#include "convert/numeric.h"
#include "convert/records.h"
#include "convert/text.h"

namespace qdvz {

// Statement pieces are written as u"..."sv: a view of known length, where a plain literal
// would have its length counted unit by unit each time a statement is joined.
using namespace std::string_view_literals;
namespace {

enum class Flow { kContinue, kStop };

bool HasArcMarkerLetter(std::u16string_view record) {
  // Positions count from 1, so position 10 is index 9.
  for (size_t i = 9; i < record.size(); ++i) {
    if (record[i] == u'e' || record[i] == u'E') return true;
  }
  return false;
}

Flow ConvertRecord(std::u16string_view record, MacroRun& run) {
  if (record.starts_with(u"99"sv)) {
    run.Advance(4);
    int slot = run.nextSlot - 4;
    run.macroLines.Set(slot, {u"end"sv});
    run.macroLines.Set(slot + 1, {u"#---------------------------------"sv});
    // Only a block opened by a "0" header lets the conversion go on after its end.
    if (run.blockState != BlockState::kFixedScale) return Flow::kStop;
    run.WriteScaleAndSelect(RecordFields{});
    return Flow::kContinue;
  }
  if (record.starts_with(u"vzm"sv) || record.starts_with(u"VZM"sv)) {
    run.Refuse(msg::kNotQdData, FailureKind::kNotQdData);
  }
  if (record.size() > kMaxRecordLength) run.Refuse(msg::kRecordTooLong);

  RecordFields f = SplitRecord(record);
  if (!f.hasSpace) return Flow::kContinue;
  // Once set, zeroSeen stays set for the run: the values need not be read again.
  if (!run.zeroSeen && (ValueOf(f.F(3)) == 0.0 || ValueOf(f.F(4)) == 0.0)) run.zeroSeen = true;
  if (f.F(2).empty()) return Flow::kContinue;
  const std::u16string_view f1 = f.F(1);
  if (f1 == u"800"sv) {
    run.scaleArg3 = u"1";
    return Flow::kContinue;
  }
  double code = ValueOf(f1);
  if (code > 9999 && code < 19000) return Flow::kContinue;

  if (run.blockState == BlockState::kNone && run.zeroSeen &&
      IsOneOf(f1, {u"0"sv, u"1"sv, u"2"sv})) {
    BlockState state = f1 == u"0"sv   ? BlockState::kFixedScale
                       : f1 == u"1"sv ? BlockState::kOneSelect
                                      : BlockState::kTwoSelects;
    int slot = run.nextSlot;
    // The begin line, the scale statement and one select line, or two for a "2" header.
    run.Advance(state == BlockState::kTwoSelects ? 4 : 3);
    run.macroLines.Set(
        slot, {u"begin  \""sv, record.substr(static_cast<size_t>(f.field2Start) - 1), u"\""sv});
    run.scaleSlot = slot + 1;
    run.blockState = state;
    return Flow::kContinue;
  }

  if (f1 == u"500"sv) {
    int width = run.IntegerOrRefuse(ValueOf(f.F(2)));
    run.scaleArg4 = width != 0 ? SignedText(run.IntegerOrRefuse(width / 5.0)) : f.F(5);
    int height = run.IntegerOrRefuse(ValueOf(f.F(3)));
    run.scaleArg5 = height != 0 ? SignedText(run.IntegerOrRefuse(height / 5.0)) : f.F(3);
    return Flow::kContinue;
  }

  int type = run.IntegerOrRefuse(ValueOf(f.F(7)));
  if (type >= 10000 && type <= 10019) {
    ConvertTextElement(f, type, run);
  } else if (!f.F(3).empty() && HasArcMarkerLetter(record)) {
    ConvertArcElement(f, run);
  } else if (type >= 30000) {
    ConvertDotElement(f, run);
  } else {
    ConvertLineElement(f, run);
  }
  return Flow::kContinue;
}

}  // namespace

Result<std::u16string> ConvertRecords(std::span<const std::u16string> dataLines,
                                      const SizeItems& sizes) {
  std::vector<std::u16string_view> views(dataLines.begin(), dataLines.end());
  return ConvertRecords(views, sizes);
}

Result<std::u16string> ConvertRecords(std::span<const std::u16string_view> dataLines,
                                      const SizeItems& sizes) {
  if (!HasSizeData(sizes)) return Failure{FailureKind::kNoSizeData, msg::kNoSizeData};
  CollectedRecords collected = CollectSourceRecords(dataLines);
  if (!collected.markerSeen) return Failure{FailureKind::kNotQdData, msg::kNotQdData};

  MacroRun run(sizes);
  try {
    for (const SourceRecord& record : collected.records) {
      run.currentLine = record.line;
      if (ConvertRecord(record.text, run) == Flow::kStop) break;
    }
  } catch (const RunRefused& refused) {
    return refused.failure;
  }
  run.macroLines.Set(0, {u"vzm"sv});
  run.macroLines.Set(1, {u"#----------------------------------------------"sv});
  return run.Document();
}

}  // namespace qdvz
