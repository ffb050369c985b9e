// Shift_JIS to UTF-8 conversion over the tables of settingKanji, and the
// command-line forms of pelmora. Nothing here does I/O.
#ifndef PELMORA_SHIFTJISTOUTF8_HPP
#define PELMORA_SHIFTJISTOUTF8_HPP

#include <cstddef>
#include <string>

namespace pelmora {

// The two-state machine of one conversion, carried from block to block: a
// lead byte at the end of one block pairs with the first byte of the next.
struct ConversionState {
  bool leadPending = false;
  unsigned char lead = 0;
  bool ended = false;  // a NUL byte was met: the input ends there
};

// The most bytes that n input bytes can turn into, plus the one byte of slack
// that the fast path's four-byte stores need.
constexpr std::size_t outputRoom(std::size_t n) { return 3 * n + 1; }

// The plain path: one byte at a time through kana and unionKanji. Converts
// in[0..n), stopping at a NUL byte, appends at out and returns the new end.
unsigned char* convertReference(ConversionState& state, const unsigned char* in, std::size_t n,
                                unsigned char* out, const char* lineEnd);

// Lookup tables for the fast path, built from the loaded tables and the
// line-end string: every byte and every pair maps straight to its bytes.
struct FastTables {
  struct Entry {
    unsigned char bytes[3];
    unsigned char length;  // 0..3, or one of the markers below
  };
  static constexpr unsigned char LEAD = 0x80;
  static constexpr unsigned char END = 0x81;
  Entry single[256];
  Entry pair[65536];
  unsigned char isLead[256];  // 1 for the lead bytes, else 0
};
void buildFastTables(FastTables& tables, const char* lineEnd);

// The fast path: the same bytes as convertReference, with runs of plain
// ASCII copied eight at a time and runs of two-byte characters looked up four
// at a time. out needs outputRoom(n) bytes.
unsigned char* convertFast(const FastTables& tables, ConversionState& state,
                           const unsigned char* in, std::size_t n, unsigned char* out);

// Converts the NUL-terminated input into output, NUL-terminated, replacing
// every LF by lineEnd ("\n" or "\r\n"). output needs outputRoom(strlen(input))
// bytes.
void shiftJIStoUTF8(const char* input, char* output, const char* lineEnd);

// What one command line asks for.
struct Invocation {
  enum Action { SHORT_GUIDE, COMMENTED_GUIDE, CONVERT } action = SHORT_GUIDE;
  const char* lineEnd = "\n";
  const char* input = nullptr;
  const char* output = nullptr;
};
Invocation parseCommandLine(int argc, const char* const* argv);

// The version line and the list of command-line forms.
std::string guideText(int withComments);

}  // namespace pelmora

#endif
