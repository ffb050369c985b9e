// klep's pure parts: the command line, the "-x" limit, the pattern set and
// its file format, the wildcard rules and the list file's line format.
// Nothing here does I/O.
#ifndef KLEP_KLEPCORE_HPP
#define KLEP_KLEPCORE_HPP

#include <cstddef>
#include <cstdint>
#include <string>

namespace klep {

constexpr int ROWS = 30;
constexpr std::size_t ROW_SIZE = 256;  // 255 bytes and a NUL
constexpr int BUILTIN_COUNT = 15;
extern const char* const BUILTIN_PATTERNS[BUILTIN_COUNT];
constexpr int DEFAULT_LIMIT = 64;

// The pattern set: one pattern a row; an empty row ends the set.
struct PatternSet {
  char patternTable[ROWS][ROW_SIZE] = {};
  int patternCount = 0;
};
void setBuiltinPatterns(PatternSet& set);

// Cuts the last line feed of a NUL-terminated line.
void cutNewline(char* line);

// The limit that "-x" gives: text is what follows "-x". Leading white space,
// one sign, then digits up to the first other byte; no digits give 0, values
// past the 32-bit range the nearest limit; N > 0 gives N, anything else 64.
int parseLimit(const char* text);

// Reads a pattern file's bytes into the set with the rules of a Windows text
// stream: a CR is dropped and the byte after it taken as it is; a Ctrl-Z at
// the start of a piece ends the file, inside one it ends the piece; lines are
// taken in pieces of at most 255 bytes (the LF counted), each piece one row,
// at most 30 rows. Bytes may come in blocks of any size.
class PatternReader {
 public:
  explicit PatternReader(PatternSet& set) : set_(set) {}
  void feed(const unsigned char* data, std::size_t size);
  void finish();
  // True once no more bytes are wanted (30 rows, or a Ctrl-Z ended the file).
  bool done() const { return done_; }

 private:
  void take(unsigned char c);
  void endPiece();
  PatternSet& set_;
  char lineBuffer_[ROW_SIZE] = {};
  std::size_t length_ = 0;
  bool afterCr_ = false;
  bool done_ = false;
};

// The "*"/"?" match of one name against a pattern's last component: "*" any
// run of bytes, "?" one byte, ASCII letters without regard to case.
bool matchWildcard(const char* pattern, const char* name);

// Where a pattern's directory part ends: the index just past its last
// separator, or 0 when it has none. Windows also takes "\" as a separator.
std::size_t lastComponent(const char* pattern, bool backslashToo);

// What one command line asks for.
struct Invocation {
  enum Action { VERSION, BUILTIN, SIZE_FILTER, PATTERN_FILE } action = BUILTIN;
  int sizeLimit = DEFAULT_LIMIT;
  const char* patternFile = nullptr;
};
Invocation parseCommandLine(int argc, const char* const* argv);

std::string versionText();

// One line of remove_e.txt as a Windows text stream writes "%s\n": every LF,
// the one at the end too, as CR LF.
std::string listLine(const char* name);

}  // namespace klep

#endif
