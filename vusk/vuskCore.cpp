#include "vuskCore.hpp"

#include <climits>
#include <cstdio>
#include <cstring>

namespace vusk {

int parseCount(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') {
    ++p;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  long long value = 0;  // held at INT_MAX + 1 at most, so it never overflows
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative && value > 0) {
    return DEFAULT_LINES;
  }
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

Invocation parseCommandLine(int argc, const char* const* argv) {
  Invocation run;
  if (argc == 2) {
    if (std::strcmp(argv[1], "-VC") == 0) {
      run.action = Invocation::COMMENTED_GUIDE;
    } else if (std::strcmp(argv[1], "-V") != 0) {
      run.action = Invocation::DUMP;
      run.fileName = argv[1];
    }
  } else if (argc == 3 && std::strncmp(argv[1], "-m", 2) == 0) {
    run.action = Invocation::DUMP;
    run.lineLimit = parseCount(argv[1] + 2);
    run.fileName = argv[2];
  }
  return run;
}

std::string guideText(int withComments) {
  char version[32];
  std::snprintf(version, sizeof version, "vusk Version %1.3f\n\n", 1.04);
  std::string text = version;
  if (withComments != 0) {
    text +=
        "vusk -m3 file_name # Express 3 lines in hexadecimal notation. \n"
        "vusk file_name     # Express the first part of file as hexadecimal. \n"
        "vusk -V            # version \n"
        "vusk -VC           # version with comments \n";
  } else {
    text += "vusk -m3 file_name \nvusk file_name \nvusk -V \nvusk -VC \n";
  }
  return text;
}

namespace {

// "XX " for every byte value, padded to four bytes for whole-word copies.
struct HexTable {
  char text[256][4];
  HexTable() {
    const char* digits = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      text[b][0] = digits[b >> 4];
      text[b][1] = digits[b & 15];
      text[b][2] = ' ';
      text[b][3] = '\0';
    }
  }
};
const HexTable HEX;

}  // namespace

char* Dumper::format(const unsigned char* in, std::size_t n, char* out, std::size_t* used) {
  std::size_t i = 0;
  while (i < n && !done_) {
    // The rest of the current row, or of the input if that is shorter.
    std::size_t run = static_cast<std::size_t>(VALUES_PER_ROW - column_);
    if (run > n - i) {
      run = n - i;
    }
    // Stop after the line feed that completes the last requested line.
    const void* lf = std::memchr(in + i, '\n', run);
    bool last = false;
    if (lf != nullptr) {
      // A row holds few line feeds: count them, and cut the run at the one
      // that reaches the limit.
      for (std::size_t k = i; k < i + run; ++k) {
        if (in[k] == '\n' && ++lines_ == lineLimit_) {
          run = k - i + 1;
          last = true;
          break;
        }
      }
    }
    for (std::size_t k = 0; k < run; ++k) {
      std::memcpy(out, HEX.text[in[i + k]], 4);
      out += 3;
    }
    i += run;
    column_ += static_cast<int>(run);
    if (column_ == VALUES_PER_ROW) {
      *out++ = '\n';
      column_ = 0;
    }
    done_ = last;
  }
  if (used != nullptr) {
    *used = i;
  }
  return out;
}

char* Dumper::formatReference(const unsigned char* in, std::size_t n, char* out,
                              std::size_t* used) {
  std::size_t i = 0;
  for (; i < n && lines_ < lineLimit_; ++i) {
    if (in[i] == '\n') {
      ++lines_;
    }
    char value[4];
    std::snprintf(value, sizeof value, "%02X ", in[i]);
    std::memcpy(out, value, 3);
    out += 3;
    if (++column_ == VALUES_PER_ROW) {
      column_ = 0;
      *out++ = '\n';
    }
  }
  done_ = lines_ >= lineLimit_;
  if (used != nullptr) {
    *used = i;
  }
  return out;
}

}  // namespace vusk
