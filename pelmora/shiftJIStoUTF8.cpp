#include "shiftJIStoUTF8.hpp"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settingKanji.hpp"

namespace pelmora {
namespace {

bool isLead(unsigned char c) { return (c >= 0x81 && c <= 0xA0) || (c >= 0xE0 && c <= 0xFC); }
bool isKana(unsigned char c) { return c >= FIRST_KANA && c <= LAST_KANA; }

unsigned char* append(unsigned char* out, const char* value) {
  while (*value != '\0') {
    *out++ = static_cast<unsigned char>(*value++);
  }
  return out;
}

// A table value as a fast-path entry; values hold at most three bytes.
FastTables::Entry entryOf(const char* value) {
  FastTables::Entry entry = {{0, 0, 0}, 0};
  while (entry.length < 3 && value[entry.length] != '\0') {
    entry.bytes[entry.length] = static_cast<unsigned char>(value[entry.length]);
    ++entry.length;
  }
  return entry;
}

}  // namespace

unsigned char* convertReference(ConversionState& state, const unsigned char* in, std::size_t n,
                                unsigned char* out, const char* lineEnd) {
  for (std::size_t i = 0; i < n && !state.ended; ++i) {
    const unsigned char c = in[i];
    if (c == 0) {
      state.ended = true;
      state.leadPending = false;  // a lead byte right before the end is dropped
    } else if (state.leadPending) {
      out = append(out, unionKanji(state.lead, c));
      state.leadPending = false;
    } else if (c == '\n') {
      out = append(out, lineEnd);
    } else if (c == '\r') {
      // dropped
    } else if (isLead(c)) {
      state.leadPending = true;
      state.lead = c;
    } else if (isKana(c)) {
      out = append(out, kana[c - FIRST_KANA]);
    } else {
      *out++ = c;
    }
  }
  return out;
}

void buildFastTables(FastTables& tables, const char* lineEnd) {
  for (unsigned c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    FastTables::Entry& entry = tables.single[c];
    tables.isLead[c] = 0;
    if (byte == 0) {
      entry = {{0, 0, 0}, FastTables::END};
    } else if (byte == '\n') {
      entry = entryOf(lineEnd);
    } else if (byte == '\r') {
      entry = {{0, 0, 0}, 0};
    } else if (isLead(byte)) {
      entry = {{0, 0, 0}, FastTables::LEAD};
      tables.isLead[c] = 1;
    } else if (isKana(byte)) {
      entry = entryOf(kana[byte - FIRST_KANA]);
    } else {
      entry = {{byte, 0, 0}, 1};
    }
  }
  for (unsigned code = 0; code < 65536; ++code) {
    tables.pair[code] = entryOf(
        unionKanji(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code)));
  }
}

unsigned char* convertFast(const FastTables& tables, ConversionState& state,
                           const unsigned char* in, std::size_t n, unsigned char* out) {
  constexpr std::uint64_t ONES = 0x0101010101010101u;
  constexpr std::uint64_t HIGH = 0x8080808080808080u;
  constexpr std::uint64_t BELOW = 0x0E * ONES;  // 0x00, LF and CR all lie below 0x0E

  const unsigned char* p = in;
  const unsigned char* const end = in + n;
  if (state.ended) {
    return out;
  }
  if (state.leadPending && p < end) {
    state.leadPending = false;
    const unsigned char trail = *p++;
    if (trail == 0) {
      state.ended = true;
      return out;
    }
    const FastTables::Entry& entry = tables.pair[state.lead * 256u + trail];
    std::memcpy(out, &entry, 4);
    out += entry.length;
  }
  while (p < end) {
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      // Eight bytes in 0x0E..0x7F are copied as they are.
      if (((word | ((word - BELOW) & ~word)) & HIGH) == 0) {
        std::memcpy(out, p, 8);
        out += 8;
        p += 8;
        continue;
      }
      // Four two-byte characters: lead bytes at the even offsets, no NUL.
      const unsigned leads =
          tables.isLead[p[0]] & tables.isLead[p[2]] & tables.isLead[p[4]] & tables.isLead[p[6]];
      if (leads == 0 || ((word - ONES) & ~word & HIGH) != 0) {
        break;
      }
      const FastTables::Entry& e0 = tables.pair[p[0] * 256u + p[1]];
      const FastTables::Entry& e1 = tables.pair[p[2] * 256u + p[3]];
      const FastTables::Entry& e2 = tables.pair[p[4] * 256u + p[5]];
      const FastTables::Entry& e3 = tables.pair[p[6] * 256u + p[7]];
      std::memcpy(out, &e0, 4);
      out += e0.length;
      std::memcpy(out, &e1, 4);
      out += e1.length;
      std::memcpy(out, &e2, 4);
      out += e2.length;
      std::memcpy(out, &e3, 4);
      out += e3.length;
      p += 8;
    }
    if (p == end) {
      break;
    }
    const unsigned char c = *p++;
    const FastTables::Entry* entry = &tables.single[c];
    if (entry->length == FastTables::LEAD) {
      if (p == end) {
        state.leadPending = true;
        state.lead = c;
        break;
      }
      const unsigned char trail = *p++;
      if (trail == 0) {
        state.ended = true;
        break;
      }
      entry = &tables.pair[c * 256u + trail];
    } else if (entry->length == FastTables::END) {
      state.ended = true;
      break;
    }
    std::memcpy(out, entry, 4);
    out += entry->length;
  }
  return out;
}

void shiftJIStoUTF8(const char* input, char* output, const char* lineEnd) {
  ConversionState state;
  unsigned char* end =
      convertReference(state, reinterpret_cast<const unsigned char*>(input), std::strlen(input),
                       reinterpret_cast<unsigned char*>(output), lineEnd);
  *end = '\0';
}

Invocation parseCommandLine(int argc, const char* const* argv) {
  Invocation run;
  const auto is = [](const char* arg, const char* text) { return std::strcmp(arg, text) == 0; };
  if (argc == 2) {
    if (is(argv[1], "-V")) {
      run.action = Invocation::SHORT_GUIDE;
    } else if (is(argv[1], "-VC")) {
      run.action = Invocation::COMMENTED_GUIDE;
    } else {
      run.action = Invocation::CONVERT;
      run.input = argv[1];
      run.output = "pelmora.txt";
    }
  } else if (argc == 3 || argc == 4) {
    // The first argument only chooses the line end.
    run.action = Invocation::CONVERT;
    run.lineEnd = is(argv[1], "-CRLF") ? "\r\n" : "\n";
    run.input = argv[2];
    run.output = argc == 4 ? argv[3] : "pelmora.txt";
  }
  return run;
}

std::string guideText(int withComments) {
  static const char* const SHORT[] = {
      "pelmora -CRLF file_name \n",
      "pelmora -CRLF file_name new_file \n",
      "pelmora -LF file_name \n",
      "pelmora -LF file_name new_file \n",
      "pelmora -V \n",
      "pelmora -VC \n",
      "pelmora file_name \n",
  };
  static const char* const COMMENTED[] = {
      "pelmora -CRLF file_name          # Produce pelmora.txt that includes 0Dh. \n",
      "pelmora -CRLF file_name new_file # Produce new_file that includes 0Dh. \n",
      "pelmora -LF file_name            # Produce pelmora.txt \n",
      "pelmora -LF file_name new_file   # Produce new_file. \n",
      "pelmora -V                       # version\n",
      "pelmora -VC                      # version with comments\n",
      "pelmora file_name                # Produce pelmora.txt \n",
  };
  char version[32];
  std::snprintf(version, sizeof version, "pelmora C-%1.2f\n\n", 1.01);
  std::string text = version;
  for (const char* line : withComments != 0 ? COMMENTED : SHORT) {
    text += line;
  }
  return text;
}

}  // namespace pelmora
