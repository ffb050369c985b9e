// vusk's count parser against one built on the C library's strtoll, with the
// C locale's white space.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vuskCore.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* c = text.c_str();  // up to the first NUL, as an argument would be
  errno = 0;
  long long value = std::strtoll(c, nullptr, 10);
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  const int expected = value < 0 ? 5 : static_cast<int>(value);
  if (vusk::parseCount(c) != expected) std::abort();
  return 0;
}
