// Writes conversionTable.bin for pelmora from the C library's CP932 decoder
// (the Windows Shift_JIS mapping): one line per half-width katakana byte
// 0xA1..0xDF ("<byte>,<UTF-8>") and one per two-byte code 0x8140..0xEEFC that
// decodes to one character ("<lead><trail>,<UTF-8>"), in code order, each
// line ended by CR LF.
//
//   maketable OUTPUT          writes the table to OUTPUT
//   maketable --check TABLE   exit 0 when TABLE holds exactly what would be
//                             written, 1 when it differs
// Exit status 77 when iconv has no CP932 decoder, 1 on any other failure.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int NO_CP932 = 77;

// The UTF-8 bytes of one CP932 character, or "" when it decodes to nothing,
// to more than one character or to more than three bytes.
std::string decode(iconv_t cd, const std::string& sjis) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string in = sjis;
  char out[16];
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
      inLeft != 0) {
    return "";
  }
  std::string utf8(out, static_cast<std::size_t>(outPtr - out));
  if (utf8.empty() || utf8.size() > 3) {
    return "";
  }
  // A single code point: one lead byte, the rest continuation bytes.
  for (std::size_t i = 1; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      return "";
    }
  }
  for (const char c : utf8) {
    // The loader ends a value at NUL and a line at LF, CR LF or Ctrl-Z.
    if (c == '\0' || c == '\n' || c == '\r' || c == 0x1A) {
      return "";
    }
  }
  return utf8;
}

bool isLead(unsigned c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEE); }

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fputs("usage: maketable OUTPUT | maketable --check TABLE\n", stderr);
    return 1;
  }
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd ==
      reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr): iconv's error value
    std::fputs("maketable: iconv has no CP932 decoder\n", stderr);
    return NO_CP932;
  }
  std::string table;
  for (unsigned k = 0xA1; k <= 0xDF; ++k) {
    const std::string key(1, static_cast<char>(k));
    const std::string value = decode(cd, key);
    if (!value.empty()) {
      table.append(key).append(",").append(value).append("\r\n");
    }
  }
  for (unsigned code = 0x8140; code <= 0xEEFC; ++code) {
    const unsigned lead = code >> 8;
    const unsigned trail = code & 0xFF;
    if (!isLead(lead) || trail < 0x40 || trail == 0x7F || trail > 0xFC) {
      continue;
    }
    const std::string key{static_cast<char>(lead), static_cast<char>(trail)};
    const std::string value = decode(cd, key);
    if (!value.empty()) {
      table.append(key).append(",").append(value).append("\r\n");
    }
  }
  iconv_close(cd);

  if (check) {
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
      std::perror(argv[2]);
      return 1;
    }
    const std::string committed{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
    if (committed != table) {
      std::fprintf(stderr, "maketable: %s differs from the table iconv gives now\n", argv[2]);
      return 1;
    }
    return 0;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(table.data(), 1, table.size(), out) == table.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
