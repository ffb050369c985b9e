// Running a built program from the tests: in a directory of the test's
// choosing, with optional standard input, capturing both output streams.
#ifndef KIT_TEST_PROCESS_HPP
#define KIT_TEST_PROCESS_HPP

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kit::test {

struct RunResult {
  int status = -1;  // the exit status; 128 + the signal's number after a signal
  std::string out;
  std::string err;
};

struct RunOptions {
  std::filesystem::path cwd;             // empty: the test's own directory
  std::optional<std::string> stdinData;  // fed through a pipe; none: an empty input
  std::string stdoutFile;                // non-empty: standard output goes to this file
};

RunResult run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options);

// A fresh, empty directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Names parameterised cases after their `name` member.
struct ByName {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& param) const {
    return param.param.name;
  }
};

// For comparing a text stream's bytes with LF-ended
// expectations: on Windows each CR LF becomes LF, and a bare LF is marked so
// that the comparison fails.
std::string fromTextLines(const std::string& text);

// The platform's text for the error that opening this path for reading
// gives, as strerror words it.
std::string openErrorText(const std::filesystem::path& path);

// Skips the current test where the platform lacks what it needs (a /dev/full,
// symbolic links, sparse files of many GiB).
#define KIT_SKIP_ON_WINDOWS(why)                       \
  do {                                                 \
    if (::kit::test::onWindows) GTEST_SKIP() << (why); \
  } while (0)
#ifdef _WIN32
constexpr bool onWindows = true;
#else
constexpr bool onWindows = false;
#endif

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// The names in a directory, sorted.
std::vector<std::string> listDir(const std::filesystem::path& dir);

}  // namespace kit::test

#endif
