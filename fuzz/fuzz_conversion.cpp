// The conversion over an arbitrary table and input: the first bytes choose
// the line end and the table's size, the next ones are table-file bytes, the
// rest is the text. The fast path, fed in blocks cut at points the input
// chooses, must give exactly what a plain two-state machine written here
// gives for the whole text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settingKanji.hpp"
#include "shiftJIStoUTF8.hpp"

using namespace pelmora;

namespace {

std::string plainConversion(const std::uint8_t* in, std::size_t n, const char* lineEnd) {
  std::string out;
  bool pending = false;
  unsigned char lead = 0;
  for (std::size_t i = 0; i < n && in[i] != 0; ++i) {
    const unsigned char c = in[i];
    if (pending) {
      out += unionKanji(lead, c);
      pending = false;
    } else if (c == '\n') {
      out += lineEnd;
    } else if (c == '\r') {
    } else if ((c >= 0x81 && c <= 0xA0) || (c >= 0xE0 && c <= 0xFC)) {
      pending = true;
      lead = c;
    } else if (c >= 0xA1 && c <= 0xDF) {
      out += kana[c - 0xA1];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const char* lineEnd = (data[0] & 1) != 0 ? "\r\n" : "\n";
  const std::size_t tableSize = std::min<std::size_t>(std::size_t{data[1]} * 4, size - 3);
  const std::uint8_t cutSeed = data[2];
  const std::uint8_t* table = data + 3;
  const std::uint8_t* text = table + tableSize;
  const std::size_t n = size - 3 - tableSize;

  clearKana();
  if (!allocateTable()) std::abort();
  TableReader reader;
  reader.feed(table, tableSize);
  reader.finish();
  const std::string expected = plainConversion(text, n, lineEnd);

  auto tables = std::make_unique<FastTables>();
  buildFastTables(*tables, lineEnd);
  for (int way = 0; way < 2; ++way) {
    ConversionState state;
    std::string got;
    std::size_t at = 0;
    std::size_t step = 1 + cutSeed % 17;
    do {
      const std::size_t piece = std::min(step, n - at);
      std::vector<unsigned char> out(outputRoom(piece));
      unsigned char* end = way == 0
                               ? convertFast(*tables, state, text + at, piece, out.data())
                               : convertReference(state, text + at, piece, out.data(), lineEnd);
      if (static_cast<std::size_t>(end - out.data()) > 3 * piece) std::abort();
      got.append(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(end - out.data()));
      at += piece;
      step = 1 + (step * 7 + cutSeed) % 61;
    } while (at < n);
    if (got != expected) std::abort();
  }
  releaseTable();
  return 0;
}
