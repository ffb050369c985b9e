// klep's wildcard matcher against a plain recursive one: the input is a
// pattern and a name, split at the first NUL.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "klepCore.hpp"

namespace {

bool same(char a, char b) {
  const auto fold = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return fold(a) == fold(b);
}

bool plainMatch(const char* p, const char* n) {
  if (*p == '\0') return *n == '\0';
  if (*p == '*') {
    for (const char* rest = n;; ++rest) {
      if (plainMatch(p + 1, rest)) return true;
      if (*rest == '\0') return false;
    }
  }
  if (*n == '\0') return false;
  return (*p == '?' || same(*p, *n)) && plainMatch(p + 1, n + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64) return 0;  // the plain matcher is exponential on long inputs
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string pattern = bytes.substr(0, split);
  const std::string name = split == std::string::npos ? "" : bytes.substr(split + 1);
  // Collapse runs of "*": the same pattern for both, and it keeps the plain
  // matcher quick.
  std::string simple;
  for (const char c : pattern) {
    if (!(c == '*' && !simple.empty() && simple.back() == '*')) simple += c;
  }
  if (klep::matchWildcard(pattern.c_str(), name.c_str()) !=
      plainMatch(simple.c_str(), name.c_str())) {
    std::abort();
  }
  return 0;
}
