// vusk as a user runs it, in a fresh directory: the standard output, the
// standard error stream and the exit status, byte for byte.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "process.hpp"

namespace {

namespace fs = std::filesystem;
using kit::test::RunOptions;
using kit::test::RunResult;
using kit::test::writeFile;

const std::string VERSION = "vusk Version 1.040\n\n";
const std::string SHORT = VERSION + "vusk -m3 file_name \nvusk file_name \nvusk -V \nvusk -VC \n";
const std::string COMMENTED =
    VERSION +
    "vusk -m3 file_name # Express 3 lines in hexadecimal notation. \n"
    "vusk file_name     # Express the first part of file as hexadecimal. \n"
    "vusk -V            # version \n"
    "vusk -VC           # version with comments \n";

// The platform's text for an error, as vusk prints it.
std::string reason(int error) { return std::strerror(error); }

class Vusk : public ::testing::Test {
 protected:
  void SetUp() override { writeFile(dir / "six.txt", "A\nB\nC\nD\nE\nF\n"); }
  RunResult vusk(const std::vector<std::string>& args, RunOptions options = {}) {
    options.cwd = dir.path();
    RunResult r = kit::test::run(VUSK_EXE, args, options);
    // Both are text streams: on Windows every row break is CR LF.
    r.out = kit::test::fromTextLines(r.out);
    r.err = kit::test::fromTextLines(r.err);
    return r;
  }
  kit::test::TempDir dir;
};

struct Form {
  const char* name;
  std::vector<std::string> args;
  std::string out;
  std::string err;
  int status;
};

void PrintTo(const Form& f, std::ostream* os) { *os << f.name; }

const std::vector<Form>& forms() {
  static const std::vector<Form> rows = {
      {"NoArguments", {}, "", SHORT, 1},
      {"Version", {"-V"}, "", SHORT, 1},
      {"VersionWithComments", {"-VC"}, "", COMMENTED, 1},
      {"FileAlone", {"six.txt"}, "41 0A 42 0A 43 0A 44 0A 45 0A ", "", 0},
      {"CountThenFile", {"-m2", "six.txt"}, "41 0A 42 0A ", "", 0},
      {"CountWithLetters", {"-m2abc", "six.txt"}, "41 0A 42 0A ", "", 0},
      {"NegativeCountIsFive", {"-m-4", "six.txt"}, "41 0A 42 0A 43 0A 44 0A 45 0A ", "", 0},
      {"CountZero", {"-m0", "six.txt"}, "", "", 0},
      {"CountEmpty", {"-m", "six.txt"}, "", "", 0},
      {"CountWithoutDigits", {"-mall", "six.txt"}, "", "", 0},
      {"CountPastTheRange",
       {"-m99999999999", "six.txt"},
       "41 0A 42 0A 43 0A 44 0A 45 0A 46 0A ",
       "",
       0},
      {"VersionThenFile", {"-V", "six.txt"}, "", SHORT, 1},
      {"VersionWithCommentsThenFile", {"-VC", "six.txt"}, "", SHORT, 1},
      {"OtherOptionThenFile", {"-x3", "six.txt"}, "", SHORT, 1},
      {"ThreeArguments", {"-m3", "six.txt", "six.txt"}, "", SHORT, 1},
      {"LoneCountIsAFileName", {"-m3"}, "", "-m3: " + reason(ENOENT) + "\n", 1},
      {"LowerCaseVersionIsAFileName", {"-v"}, "", "-v: " + reason(ENOENT) + "\n", 1},
      {"MissingFile", {"nope.bin"}, "", "nope.bin: " + reason(ENOENT) + "\n", 1},
      {"MissingFileWithCount", {"-m0", "nope.bin"}, "", "nope.bin: " + reason(ENOENT) + "\n", 1},
      {"EmptyName", {""}, "", reason(ENOENT) + "\n", 1},
      {"NoWildcardExpansion", {"*.txt"}, "", "", 1},  // the platform's text: see Row
  };
  return rows;
}

class CommandLine : public Vusk, public ::testing::WithParamInterface<Form> {};

TEST_P(CommandLine, Row) {
  const RunResult r = vusk(GetParam().args);
  EXPECT_EQ(r.out, GetParam().out);
  if (GetParam().args == std::vector<std::string>{"*.txt"}) {
    // No such file, though six.txt matches: what the platform says of "*.txt".
    EXPECT_EQ(r.err, "*.txt: " + kit::test::openErrorText(dir / "*.txt") + "\n");
  } else {
    EXPECT_EQ(r.err, GetParam().err);
  }
  EXPECT_EQ(r.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Forms, CommandLine, ::testing::ValuesIn(forms()), kit::test::ByName());

TEST_F(Vusk, DirectoryIsAFailedOpen) {
  fs::create_directory(dir / "adir");
  for (const auto& args : {std::vector<std::string>{"adir"}, {"-m0", "adir"}, {"-m9", "adir"}}) {
    const RunResult r = vusk(args);
    EXPECT_EQ(r.out, "");
    // What the platform says: Windows refuses to open a directory.
    EXPECT_EQ(r.err, "adir: " + reason(kit::test::onWindows ? EACCES : EISDIR) + "\n");
    EXPECT_EQ(r.status, 1) << args.size() << " arguments";
  }
}

TEST_F(Vusk, FailedWriteIsReported) {
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here";
  }
  writeFile(dir / "big.bin", std::string(1 << 20, 'z'));
  for (const std::string file : {"six.txt", "big.bin"}) {
    RunOptions options;
    options.stdoutFile = "/dev/full";
    const RunResult r = vusk({"-m1", file}, options);
    EXPECT_EQ(r.err, "stdout: " + reason(ENOSPC) + "\n") << file;
    EXPECT_EQ(r.status, 1) << file;
  }
}

TEST_F(Vusk, RowsOfTwentyAcrossBlocks) {
  // Larger than one read; one line, so all of it is shown.
  std::string in;
  for (int i = 0; i < 200000; ++i) in += static_cast<char>(i % 251 == 10 ? 11 : i % 251);
  writeFile(dir / "long.bin", in);
  std::string expected;
  char value[4];
  for (std::size_t i = 0; i < in.size(); ++i) {
    std::snprintf(value, sizeof value, "%02X ", static_cast<unsigned char>(in[i]));
    expected += value;
    if (i % 20 == 19) expected += '\n';
  }
  const RunResult r = vusk({"long.bin"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out == expected);
  EXPECT_EQ(r.out.substr(0, 60), "00 01 02 03 04 05 06 07 08 09 0B 0B 0C 0D 0E 0F 10 11 12 13 ");
}

TEST_F(Vusk, InputFromAPipe) {
  KIT_SKIP_ON_WINDOWS("no /dev/stdin");
  RunOptions options;
  options.stdinData = std::string(100000, 'q') + "\nrest\nmore\n";
  const RunResult r = vusk({"-m2", "/dev/stdin"}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.size(), (100000 + 1 + 5) * 3 + (100000 + 1 + 5) / 20);
  EXPECT_EQ(r.out.substr(r.out.size() - 15), "72 65 73 74 0A ");
}

TEST_F(Vusk, LongNameAndLongCount) {
  std::string relative;
  for (int i = 0; i < 3; ++i) {
    relative += std::string(100, static_cast<char>('a' + i)) + "/";
  }
  fs::create_directories(dir / relative);
  writeFile(dir / relative / "f", "x\ny\n");
  const std::string count = "-m" + std::string(1500, '0') + "1";
  const RunResult r = vusk({count, relative + "f"});
  EXPECT_EQ(r.out, "78 0A ");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(Vusk, FiveLinesOfAFileBeyond4GiB) {
  KIT_SKIP_ON_WINDOWS("sparse files of 4 GiB");
  // Sparse: six short lines, then zeros up to 4 GiB + 1 byte.
  writeFile(dir / "huge.bin", "1\n2\n3\n4\n5\n6\n");
  fs::resize_file(dir / "huge.bin", (std::uintmax_t{4} << 30) + 1);
  const RunResult r = vusk({"huge.bin"});
  EXPECT_EQ(r.out, "31 0A 32 0A 33 0A 34 0A 35 0A ");
  EXPECT_EQ(r.status, 0);
}

}  // namespace
