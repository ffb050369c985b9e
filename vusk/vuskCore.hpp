// vusk's pure parts: the command line, the "-m" count and the hex dump
// formatter. Nothing here does I/O.
#ifndef VUSK_VUSKCORE_HPP
#define VUSK_VUSKCORE_HPP

#include <cstddef>
#include <cstdint>
#include <string>

namespace vusk {

constexpr int DEFAULT_LINES = 5;
constexpr int VALUES_PER_ROW = 20;

// The count after "-m": leading white space, one sign, digits up to the first
// other byte; no digits give 0, values past the 32-bit range the nearest
// limit. A negative count is replaced by 5.
int parseCount(const char* text);

struct Invocation {
  enum Action { SHORT_GUIDE, COMMENTED_GUIDE, DUMP } action = SHORT_GUIDE;
  int lineLimit = DEFAULT_LINES;
  const char* fileName = nullptr;
};
Invocation parseCommandLine(int argc, const char* const* argv);

// The version line and the list of command-line forms.
std::string guideText(int withComments);

// The dump of a file fed in blocks: "%02X " per byte, "\n" after every
// twentieth value, until the line feed that completes the last requested
// line. The state runs from block to block.
class Dumper {
 public:
  explicit Dumper(int lineLimit) : lineLimit_(lineLimit), done_(lineLimit <= 0) {}
  // The most bytes that format() writes for n input bytes.
  static constexpr std::size_t room(std::size_t n) { return 3 * n + n / VALUES_PER_ROW + 2; }
  // Formats in[0..n) into out until the dump is complete; returns the end of
  // what was written. *used, when given, receives the input bytes taken.
  char* format(const unsigned char* in, std::size_t n, char* out, std::size_t* used = nullptr);
  // The same output, one value at a time through snprintf.
  char* formatReference(const unsigned char* in, std::size_t n, char* out,
                        std::size_t* used = nullptr);
  // True once the last requested line has been shown.
  bool done() const { return done_; }

 private:
  int lineLimit_;
  int lines_ = 0;
  int column_ = 0;
  bool done_;
};

}  // namespace vusk

#endif
