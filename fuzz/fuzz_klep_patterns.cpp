// klep's pattern-file reader over arbitrary bytes: at most 30 rows, each a
// string of at most 255 bytes without a line feed, the same whole as byte
// at a time.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "klepCore.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  klep::PatternSet whole;
  klep::PatternReader reader(whole);
  reader.feed(data, size);
  reader.finish();
  if (whole.patternCount < 0 || whole.patternCount > klep::ROWS) std::abort();
  for (int row = 0; row < klep::ROWS; ++row) {
    const char* text = whole.patternTable[row];
    const std::size_t length = strnlen(text, klep::ROW_SIZE);
    if (length > 255) std::abort();
    if (std::memchr(text, '\n', length) != nullptr) std::abort();
    if (row >= whole.patternCount && length != 0) std::abort();
  }
  klep::PatternSet bytewise;
  klep::PatternReader slow(bytewise);
  for (std::size_t i = 0; i < size && !slow.done(); ++i) slow.feed(data + i, 1);
  slow.finish();
  if (bytewise.patternCount != whole.patternCount ||
      std::memcmp(bytewise.patternTable, whole.patternTable, sizeof whole.patternTable) != 0) {
    std::abort();
  }
  return 0;
}
