#include "mixed_data.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "convert/text.h"
#include "cp932/cp932.h"

namespace qdvz::bench {
namespace {

// One block opened by a "0" header: the run goes on after its end. Its lines hold more
// comments than a real file does, so that 1199 lines stay within the macro's 1200 lines.
const char* const kBlock[] = {
    "# 区画：線記号の変形データ（破線・点線・注記）",
    "0 破線記号 {}",
    "# 縮尺と線幅",
    "500 100 50",
    "800 1",
    "  02 20 10 20 30 40",
    "120 02 10 20 30 40",
    "03 00 10 20 30 40",
    "# 直線要素",
    "01 00 100 200 300 400 1 2",
    "08 00 1 2 3 4",
    "1 5 10 20",
    "55 00 1 2 3 4 5 6",
    "# 円弧要素：倍率つき",
    "01 00 100 200 30 60 e 50 1",
    "02 00 100 200 30 60 e -50 0.75",
    "00 00 100 200 30 60 5 E 40 1",
    "01 00 1 2 3 4 e -5 1234.5678",
    "# 点要素",
    "01 00 100 200 0 0 30011",
    "1 00 1 2 0 0 31234",
    "# 文字要素：道路名・河川名・番地",
    "01 01 100.5 200 150.5 200 10003 105 \"国道１号 {}",
    "2 08 50 60 50 90 10000 1203 \"一級河川 ＡＢ",
    "20001 02 120 80 180 80 10007 110 \"番地 No.{}",
    "01 01 1 2 3 2 10001 805 a b 注記ｶﾅ",
    "# ここまで",
    "99 0",
};

// The last block: opened by "2", with the three reference lines; its end ends the run.
const char* const kLastBlock[] = {
    "# 最後の区画：基準線つき",
    "2 基準線 {}",
    "10 01 50 60 150 60",
    "101 10 1 2 3 4",
    "10 10 1 2 3 4",
    "01 01 10 20 10 25 10005 701 \"終わり",
    "99 0",
};

std::string Filled(const char* line, int number) {
  std::string text = line;
  size_t at = text.find("{}");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(number));
  return text;
}

}  // namespace

std::string MixedQdFile(int lines, int variant) {
  std::vector<std::string> out = {"999"};
  const int blockSize = static_cast<int>(std::size(kBlock));
  const int lastSize = static_cast<int>(std::size(kLastBlock));
  int block = 0;
  while (static_cast<int>(out.size()) + blockSize + lastSize <= lines) {
    for (const char* line : kBlock) out.push_back(Filled(line, variant * 100 + block));
    ++block;
  }
  while (static_cast<int>(out.size()) + lastSize < lines) out.push_back("# 余白：変換されない行");
  for (const char* line : kLastBlock) out.push_back(Filled(line, variant));
  out.resize(static_cast<size_t>(lines));

  std::u16string text;
  for (const auto& line : out) text += FromUtf8(line) + u"\r\n";
  Result<std::string> encoded = EncodeCp932(text);
  if (!encoded) throw std::logic_error("mixed data is not code page 932");
  return *encoded;
}

std::string MixedSizeFile() {
  std::string text;
  for (int i = 0; i < 51; ++i) {
    text += std::to_string(2 + i % 10) + "." + std::to_string(i % 10);
    text += i % 10 == 9 || i == 50 ? "\r\n" : ",";
  }
  return text;
}

}  // namespace qdvz::bench
