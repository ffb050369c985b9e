#include "klepCore.hpp"

#include <climits>
#include <cstdio>
#include <cstring>

namespace klep {

const char* const BUILTIN_PATTERNS[BUILTIN_COUNT] = {
    "CCC*.txt", "DIR*.bat", "LS_*.bat", "FNL*.txt", "*.tmp",    "err*.txt", "pic*.txt", "tru*.txt",
    "see*.txt", "tab*.csv", "tab*.txt", "unq*.txt", "und*.bin", "who*.csv", "who*.txt",
};

void setBuiltinPatterns(PatternSet& set) {
  std::memset(set.patternTable, 0, sizeof set.patternTable);
  for (int row = 0; row < BUILTIN_COUNT; ++row) {
    std::memcpy(set.patternTable[row], BUILTIN_PATTERNS[row],
                std::strlen(BUILTIN_PATTERNS[row]) + 1);
  }
  set.patternCount = ROWS;
}

void cutNewline(char* line) {
  char* lf = std::strrchr(line, '\n');
  if (lf != nullptr) {
    *lf = '\0';
  }
}

int parseLimit(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') {
    ++p;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  long long value = 0;  // kept within INT_MAX + 1, so it never overflows
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) {
    return DEFAULT_LIMIT;  // zero or below
  }
  if (value > INT_MAX) {
    return INT_MAX;
  }
  return value > 0 ? static_cast<int>(value) : DEFAULT_LIMIT;
}

void PatternReader::feed(const unsigned char* data, std::size_t size) {
  for (std::size_t i = 0; i < size && !done_; ++i) {
    take(data[i]);
  }
}

void PatternReader::take(unsigned char c) {
  if (afterCr_) {
    afterCr_ = false;  // the byte after a CR is taken as it is
  } else if (c == '\r') {
    afterCr_ = true;
    return;
  } else if (c == 0x1A) {
    if (length_ == 0) {
      done_ = true;  // Ctrl-Z first in a piece: the end of the file
    } else {
      endPiece();  // inside a piece: the end of this piece
    }
    return;
  }
  lineBuffer_[length_++] = static_cast<char>(c);
  if (c == '\n' || length_ == ROW_SIZE - 1) {
    endPiece();
  }
}

void PatternReader::finish() {
  if (!done_ && length_ > 0) {
    endPiece();
  }
  done_ = true;
}

void PatternReader::endPiece() {
  lineBuffer_[length_] = '\0';
  length_ = 0;
  cutNewline(lineBuffer_);
  // At most 255 bytes and the NUL: a piece never outgrows a row.
  std::memcpy(set_.patternTable[set_.patternCount], lineBuffer_, std::strlen(lineBuffer_) + 1);
  if (++set_.patternCount == ROWS) {
    done_ = true;
  }
}

namespace {

unsigned char fold(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool matchWildcard(const char* pattern, const char* name) {
  const auto* p = reinterpret_cast<const unsigned char*>(pattern);
  const auto* n = reinterpret_cast<const unsigned char*>(name);
  // The last "*" seen and the name position it is tried from: on a mismatch
  // it takes one more byte. Linear in practice, never exponential.
  const unsigned char* starPattern = nullptr;
  const unsigned char* starName = nullptr;
  while (*n != '\0') {
    if (*p == '*') {
      starPattern = ++p;
      starName = n;
    } else if (*p != '\0' && (*p == '?' || fold(*p) == fold(*n))) {
      ++p;
      ++n;
    } else if (starPattern != nullptr) {
      p = starPattern;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (*p == '*') {
    ++p;
  }
  return *p == '\0';
}

std::size_t lastComponent(const char* pattern, bool backslashToo) {
  std::size_t start = 0;
  for (std::size_t i = 0; pattern[i] != '\0'; ++i) {
    if (pattern[i] == '/' || (backslashToo && pattern[i] == '\\')) {
      start = i + 1;
    }
  }
  return start;
}

Invocation parseCommandLine(int argc, const char* const* argv) {
  Invocation run;
  if (argc != 2) {
    return run;  // none, or two and more: the built-in patterns
  }
  const char* arg = argv[1];
  if (std::strcmp(arg, "-V") == 0) {
    run.action = Invocation::VERSION;
  } else if (std::strncmp(arg, "-x", 2) == 0) {
    run.action = Invocation::SIZE_FILTER;
    run.sizeLimit = parseLimit(arg + 2);
  } else {
    run.action = Invocation::PATTERN_FILE;
    run.patternFile = arg;
  }
  return run;
}

std::string versionText() {
  char text[160];
  std::snprintf(text, sizeof text,
                "klep Version %2.3f\n\nklep -V\nklep -x%d\nklep  \nklep klep.txt\n", 1.073,
                DEFAULT_LIMIT);
  return text;
}

std::string listLine(const char* name) {
  std::string line;
  for (const char* p = name; *p != '\0'; ++p) {
    if (*p == '\n') {
      line += '\r';
    }
    line += *p;
  }
  line += "\r\n";
  return line;
}

}  // namespace klep
