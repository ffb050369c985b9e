// The table loader over arbitrary file bytes, fed in two pieces: every lookup
// stays in the table or is EMPTY, and every entry reads back as at most three
// bytes, the same whichever way the bytes were cut.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settingKanji.hpp"

using namespace pelmora;

namespace {

std::string snapshot() {
  std::string all(unionKanjiTable, TABLE_SIZE);
  all.append(&kana[0][0], sizeof kana);
  return all;
}

void load(const std::uint8_t* data, std::size_t size, std::size_t cut) {
  clearKana();
  if (!allocateTable()) std::abort();
  TableReader reader;
  reader.feed(data, cut);
  reader.feed(data + cut, size - cut);
  reader.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  load(data, size, size);
  const std::string whole = snapshot();
  for (unsigned code = 0; code < 65536; ++code) {
    const char* value =
        unionKanji(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code));
    const bool inside = code >= FIRST_CODE && code <= LAST_CODE;
    if (inside != (value != POINTER_TO_EMPTY)) std::abort();
    if (inside && (value < unionKanjiTable || value + ENTRY_SIZE > unionKanjiTable + TABLE_SIZE))
      std::abort();
    if (std::strlen(value) > 3) std::abort();
  }
  for (const auto& entry : kana) {
    if (entry[3] != '\0') std::abort();
  }
  if (EMPTY[0] != '\0') std::abort();
  load(data, size, size == 0 ? 0 : data[0] % (size + 1));
  if (snapshot() != whole) std::abort();
  releaseTable();
  return 0;
}
