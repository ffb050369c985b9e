// vusk's formatter against its plain snprintf path, over arbitrary bytes fed
// in pieces: the first byte gives the line limit, the second the cuts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vuskCore.hpp"

namespace {

std::string dump(const std::uint8_t* in, std::size_t n, int limit, std::size_t step, bool fast) {
  vusk::Dumper dumper(limit);
  std::string out;
  for (std::size_t at = 0; at < n; at += step) {
    const std::size_t piece = std::min(step, n - at);
    std::vector<char> buffer(vusk::Dumper::room(piece));
    char* end = fast ? dumper.format(in + at, piece, buffer.data())
                     : dumper.formatReference(in + at, piece, buffer.data());
    if (static_cast<std::size_t>(end - buffer.data()) > vusk::Dumper::room(piece) - 1) std::abort();
    out.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int limit = data[0] % 50;
  const std::size_t step = 1 + data[1] % 64;
  const std::uint8_t* in = data + 2;
  const std::size_t n = size - 2;
  const std::string expected = dump(in, n, limit, n == 0 ? 1 : n, false);
  if (dump(in, n, limit, n == 0 ? 1 : n, true) != expected) std::abort();
  if (dump(in, n, limit, step, true) != expected) std::abort();
  return 0;
}
