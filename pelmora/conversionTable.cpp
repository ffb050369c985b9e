#include "conversionTable.hpp"

#include <cstdio>

#include "settingKanji.hpp"

namespace pelmora {

int conversionTable(const char* conversion_table) {
  if (!allocateTable()) {
    std::fputs("malloc(TABLE_SIZE)\n", stderr);
    return 0;
  }
  // Read as bytes: TableReader applies the text-file rules itself, the same
  // on every platform.
  std::FILE* file = std::fopen(conversion_table, "rb");
  if (file == nullptr) {
    std::fputs("fopen(conversion_table, \"rt\")\n", stderr);
    return 0;
  }
  TableReader reader;
  unsigned char block[1 << 14];
  bool first = true;
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file);
    if (got == 0 && first && std::ferror(file) != 0) {
      // Some systems open a directory for reading and fail only on the first
      // read; that is a table that cannot be opened, as elsewhere.
      std::fclose(file);
      std::fputs("fopen(conversion_table, \"rt\")\n", stderr);
      return 0;
    }
    first = false;
    reader.feed(block, got);
    if (got < sizeof block) {
      break;  // the end of the file, or a read error: keep what was read
    }
  }
  reader.finish();
  std::fclose(file);
  return 1;
}

}  // namespace pelmora
