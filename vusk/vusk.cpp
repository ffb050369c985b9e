// vusk: shows the first lines of any file as hexadecimal byte values, twenty
// to a row, on the standard output. It reads only as much of the file as it
// shows.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include "vuskCore.hpp"

#ifdef _WIN32
// A name with "*" in it is one file name: no wildcard expansion.
extern "C" {
int _dowildcard = 0;
}
#endif

namespace {

using namespace vusk;

constexpr std::size_t BLOCK = std::size_t{1} << 16;

void guide(int withComments) { std::fputs(guideText(withComments).c_str(), stderr); }

// "name: reason", or the reason alone for an empty name.
int openFailed(const char* name, int error) {
  if (name[0] == '\0') {
    std::fprintf(stderr, "%s\n", std::strerror(error));
  } else {
    std::fprintf(stderr, "%s: %s\n", name, std::strerror(error));
  }
  return 1;
}

int writeFailed(int error) {
  std::fprintf(stderr, "stdout: %s\n", std::strerror(error));
  return 1;
}

int dump(const Invocation& run) {
  std::FILE* file = std::fopen(run.fileName, "rb");
  if (file == nullptr) {
    return openFailed(run.fileName, errno);
  }
  // Some systems open a directory for reading; it is a failed open all the
  // same, also when nothing would be read from it (-m0).
  std::error_code ec;
  if (std::filesystem::is_directory(run.fileName, ec)) {
    std::fclose(file);
    return openFailed(run.fileName, EISDIR);
  }
  const std::unique_ptr<unsigned char[]> in(new (std::nothrow) unsigned char[BLOCK]);
  const std::unique_ptr<char[]> out(new (std::nothrow) char[Dumper::room(BLOCK)]);
  if (!in || !out) {
    guide(0);
    return 1;
  }
  Dumper dumper(run.lineLimit);
  while (!dumper.done()) {
    errno = 0;
    const std::size_t got = std::fread(in.get(), 1, BLOCK, file);
    if (got == 0 && std::ferror(file) != 0) {
      // A read error is reported like a failed open.
      const int error = errno != 0 ? errno : EIO;
      std::fclose(file);
      return openFailed(run.fileName, error);
    }
    char* end = dumper.format(in.get(), got, out.get());
    const auto length = static_cast<std::size_t>(end - out.get());
    if (std::fwrite(out.get(), 1, length, stdout) != length) {
      return writeFailed(errno);
    }
    if (got < BLOCK) {
      break;  // the end of the file
    }
  }
  std::fclose(file);
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    return writeFailed(errno);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Invocation run = parseCommandLine(argc, argv);
  switch (run.action) {
    case Invocation::SHORT_GUIDE:
      guide(0);
      return 1;
    case Invocation::COMMENTED_GUIDE:
      guide(1);
      return 1;
    case Invocation::DUMP:
      break;
  }
  const int status = dump(run);
  if (std::fclose(stdout) != 0 && status == 0) {
    return writeFailed(errno);
  }
  return status;
}
