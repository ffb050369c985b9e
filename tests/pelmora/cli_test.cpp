// pelmora as a user runs it: each case in a fresh directory, comparing the
// standard error stream, the (empty) standard output, the exit status and
// every file left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "process.hpp"
#include "settingKanji.hpp"
#include "shiftJIStoUTF8.hpp"

namespace {

namespace fs = std::filesystem;
using kit::test::readFile;
using kit::test::RunOptions;
using kit::test::RunResult;
using kit::test::TempDir;
using kit::test::writeFile;

const std::string SHORT_GUIDE =
    "pelmora C-1.01\n\n"
    "pelmora -CRLF file_name \n"
    "pelmora -CRLF file_name new_file \n"
    "pelmora -LF file_name \n"
    "pelmora -LF file_name new_file \n"
    "pelmora -V \n"
    "pelmora -VC \n"
    "pelmora file_name \n";

const std::string COMMENTED_GUIDE =
    "pelmora C-1.01\n\n"
    "pelmora -CRLF file_name          # Produce pelmora.txt that includes 0Dh. \n"
    "pelmora -CRLF file_name new_file # Produce new_file that includes 0Dh. \n"
    "pelmora -LF file_name            # Produce pelmora.txt \n"
    "pelmora -LF file_name new_file   # Produce new_file. \n"
    "pelmora -V                       # version\n"
    "pelmora -VC                      # version with comments\n"
    "pelmora file_name                # Produce pelmora.txt \n";

const std::string TABLE_MISS = "fopen(conversion_table, \"rt\")\n";

bool fixedTableInstalled() { return fs::exists(PELMORA_FIXED_TABLE); }

// What every conversion prints before anything else: the miss at the fixed
// location, unless a table has been installed there.
std::string loaderMiss() { return fixedTableInstalled() ? "" : TABLE_MISS; }

// 'A', half-width ア, 亜, CR LF, 'B', LF.
const std::string INPUT = "A\xb1\x88\x9f\r\nB\n";
const std::string AS_LF = "A\xef\xbd\xb1\xe4\xba\x9c\nB\n";
const std::string AS_CRLF = "A\xef\xbd\xb1\xe4\xba\x9c\r\nB\r\n";

// A directory holding the bundled table and in.txt.
class Pelmora : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(PELMORA_TABLE, dir / "conversionTable.bin");
    writeFile(dir / "in.txt", INPUT);
  }
  RunResult pelmora(const std::vector<std::string>& args, RunOptions options = {}) {
    options.cwd = dir.path();
    RunResult r = kit::test::run(PELMORA_EXE, args, options);
    r.err = kit::test::fromTextLines(r.err);  // a text stream
    return r;
  }
  // The files in the directory besides the table, with their contents.
  std::map<std::string, std::string> files() {
    std::map<std::string, std::string> found;
    for (const auto& name : kit::test::listDir(dir.path())) {
      if (name != "conversionTable.bin" && fs::is_regular_file(dir / name)) {
        found[name] = readFile(dir / name);
      }
    }
    return found;
  }
  TempDir dir;
};

struct Dispatch {
  const char* name;
  std::vector<std::string> args;
  std::string err;  // after the loader's miss, for conversions
  int status;
  bool converts;
  std::map<std::string, std::string> after;  // files besides the table
};

void PrintTo(const Dispatch& c, std::ostream* os) { *os << c.name; }

const std::vector<Dispatch>& dispatchRows() {
  static const std::vector<Dispatch> rows = {
      {"NoArguments", {}, SHORT_GUIDE, 1, false, {{"in.txt", INPUT}}},
      {"Version", {"-V"}, SHORT_GUIDE, 1, false, {{"in.txt", INPUT}}},
      {"VersionWithComments", {"-VC"}, COMMENTED_GUIDE, 1, false, {{"in.txt", INPUT}}},
      {"FileAlone", {"in.txt"}, "", 0, true, {{"in.txt", INPUT}, {"pelmora.txt", AS_LF}}},
      {"CrLf", {"-CRLF", "in.txt"}, "", 0, true, {{"in.txt", INPUT}, {"pelmora.txt", AS_CRLF}}},
      {"Lf", {"-LF", "in.txt"}, "", 0, true, {{"in.txt", INPUT}, {"pelmora.txt", AS_LF}}},
      {"OtherChoiceIsLf",
       {"-crlf", "in.txt"},
       "",
       0,
       true,
       {{"in.txt", INPUT}, {"pelmora.txt", AS_LF}}},
      {"VersionAsChoiceIsLf",
       {"-V", "in.txt"},
       "",
       0,
       true,
       {{"in.txt", INPUT}, {"pelmora.txt", AS_LF}}},
      {"CrLfNamed",
       {"-CRLF", "in.txt", "out.txt"},
       "",
       0,
       true,
       {{"in.txt", INPUT}, {"out.txt", AS_CRLF}}},
      {"LfNamed",
       {"-LF", "in.txt", "out.txt"},
       "",
       0,
       true,
       {{"in.txt", INPUT}, {"out.txt", AS_LF}}},
      {"OtherChoiceNamed",
       {"-VC", "in.txt", "out.txt"},
       "",
       0,
       true,
       {{"in.txt", INPUT}, {"out.txt", AS_LF}}},
      {"FourArguments",
       {"-LF", "in.txt", "out.txt", "x"},
       SHORT_GUIDE,
       1,
       false,
       {{"in.txt", INPUT}}},
      {"LowerCaseVersionIsAFile", {"-v"}, "-v\n", 1, true, {{"in.txt", INPUT}}},
      {"CrLfAloneIsAFile", {"-CRLF"}, "-CRLF\n", 1, true, {{"in.txt", INPUT}}},
      {"LfAloneIsAFile", {"-LF"}, "-LF\n", 1, true, {{"in.txt", INPUT}}},
  };
  return rows;
}

class CommandLine : public Pelmora, public ::testing::WithParamInterface<Dispatch> {};

TEST_P(CommandLine, Row) {
  const Dispatch& row = GetParam();
  const RunResult r = pelmora(row.args);
  EXPECT_EQ(r.err, (row.converts ? loaderMiss() : "") + row.err);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.status, row.status);
  EXPECT_EQ(files(), row.after);
}

INSTANTIATE_TEST_SUITE_P(Forms, CommandLine, ::testing::ValuesIn(dispatchRows()),
                         kit::test::ByName());

TEST(PelmoraGuide, CommentsStartInOneColumn) {
  std::size_t start = COMMENTED_GUIDE.find('\n', COMMENTED_GUIDE.find('\n') + 1) + 1;
  int lines = 0;
  for (std::size_t end; (end = COMMENTED_GUIDE.find('\n', start)) != std::string::npos;
       start = end + 1, ++lines) {
    EXPECT_EQ(COMMENTED_GUIDE.find('#', start) - start, 33u) << "line " << lines + 3;
  }
  EXPECT_EQ(lines, 7);
}

TEST_F(Pelmora, TableOnlyInTheCurrentDirectory) {
  if (fixedTableInstalled()) {
    GTEST_SKIP() << "a table is installed at " << PELMORA_FIXED_TABLE;
  }
  const RunResult r = pelmora({"in.txt"});
  EXPECT_EQ(r.err, TABLE_MISS);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readFile(dir / "pelmora.txt"), AS_LF);
}

TEST_F(Pelmora, NoTableAnywhere) {
  if (fixedTableInstalled()) {
    GTEST_SKIP() << "a table is installed at " << PELMORA_FIXED_TABLE;
  }
  fs::remove(dir / "conversionTable.bin");
  // The input is never opened, so a missing one goes unreported.
  for (const auto& args : std::vector<std::vector<std::string>>{{"in.txt"}, {"missing.txt"}}) {
    const RunResult r = pelmora(args);
    EXPECT_EQ(r.err, TABLE_MISS + TABLE_MISS);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"in.txt", INPUT}}));
  }
}

TEST_F(Pelmora, MissingInputLeavesTheOutputAlone) {
  writeFile(dir / "out.txt", "old");
  const RunResult r = pelmora({"-LF", "missing.txt", "out.txt"});
  EXPECT_EQ(r.err, loaderMiss() + "missing.txt\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(readFile(dir / "out.txt"), "old");
}

TEST_F(Pelmora, OutputThatCannotBeOpened) {
  fs::create_directory(dir / "adir");
  for (const std::string out : {"no/such/dir/out.txt", "adir"}) {
    const RunResult r = pelmora({"-LF", "in.txt", out});
    EXPECT_EQ(r.err, loaderMiss() + out + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"in.txt", INPUT}}));
  }
}

TEST_F(Pelmora, InputThatIsADirectory) {
  fs::create_directory(dir / "adir");
  const RunResult r = pelmora({"adir"});
  EXPECT_EQ(r.err, loaderMiss() + "adir\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(dir / "pelmora.txt"));
}

TEST_F(Pelmora, ExistingOutputIsReplaced) {
  writeFile(dir / "pelmora.txt", std::string(1000, 'x'));
  const RunResult r = pelmora({"-CRLF", "in.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readFile(dir / "pelmora.txt"), AS_CRLF);
}

struct Content {
  const char* name;
  std::string in;
  std::string out;  // LF mode
};

TEST_F(Pelmora, ContentEdgeCases) {
  const Content cases[] = {
      {"empty", "", ""},
      {"NUL ends the input", std::string("AB\r\n\0CD\n", 8), "AB\n"},
      {"katakana grow threefold", std::string(100000, '\xb1'),
       [] {
         std::string s;
         for (int i = 0; i < 100000; ++i) s += "\xef\xbd\xb1";
         return s;
       }()},
      {"beyond the table", "<\xf0\x40\xee\xfd>", "<>"},
  };
  for (const Content& c : cases) {
    writeFile(dir / "case.txt", c.in);
    const RunResult r = pelmora({"-LF", "case.txt", "case.out"});
    EXPECT_EQ(r.err, loaderMiss()) << c.name;
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(readFile(dir / "case.out"), c.out) << c.name;
  }
}

TEST_F(Pelmora, FailedWriteIsReported) {
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here";
  }
  for (const std::string& in : {std::string("AB\n"), std::string(3 << 20, 'a')}) {
    writeFile(dir / "in.txt", in);
    const RunResult r = pelmora({"-LF", "in.txt", "/dev/full"});
    EXPECT_EQ(r.err, loaderMiss() + "/dev/full\n");
    EXPECT_EQ(r.status, 1);
  }
}

TEST_F(Pelmora, OutputThatIsTheInputIsRefused) {
  fs::create_directory(dir / "sub");
  std::vector<std::string> outputs = {"in.txt", "./in.txt", "sub/../in.txt",
                                      (dir / "in.txt").string()};
  // Links where the platform makes them.
  std::error_code ec;
  fs::create_symlink(dir / "in.txt", dir / "symlink.txt", ec);
  if (!ec) outputs.push_back("symlink.txt");
  fs::create_hard_link(dir / "in.txt", dir / "sub" / "hardlink.txt", ec);
  if (!ec) outputs.push_back("sub/hardlink.txt");
  if (!kit::test::onWindows) {
    EXPECT_EQ(outputs.size(), 6u);
  }
  for (const std::string& out : outputs) {
    const RunResult r = pelmora({"-LF", "in.txt", out});
    EXPECT_EQ(r.err, loaderMiss() + out + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(readFile(dir / "in.txt"), INPUT) << out;
  }
  // The default output name given as the input.
  writeFile(dir / "pelmora.txt", INPUT);
  const RunResult r = pelmora({"pelmora.txt"});
  EXPECT_EQ(r.err, loaderMiss() + "pelmora.txt\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(readFile(dir / "pelmora.txt"), INPUT);
}

TEST_F(Pelmora, NamesLongerThan255Bytes) {
  KIT_SKIP_ON_WINDOWS("the ANSI file functions stop at MAX_PATH");
  fs::path deep = dir.path();
  std::string relative;
  for (int i = 0; i < 3; ++i) {
    const std::string part(100, static_cast<char>('a' + i));
    deep /= part;
    relative += part + "/";
  }
  fs::create_directories(deep);
  writeFile(deep / "in.txt", INPUT);
  const std::string in = relative + "in.txt";
  const std::string out = relative + "out-" + std::string(150, 'o') + ".txt";
  ASSERT_GT(in.size(), 255u);
  const RunResult r = pelmora({"-CRLF", in, out});
  EXPECT_EQ(r.err, loaderMiss());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readFile(dir / out), AS_CRLF);
}

// A mixed text several blocks long: kanji, kana, ASCII and CR LF, with lead
// bytes falling on block boundaries somewhere.
std::string mixedText(std::size_t size) {
  const std::string pieces[] = {"\x88\x9f", "\x82\xa0\x82\xa2", "\xb1\xb2", "ASCII text, ",
                                "\r\n",     "\x81\x40",         "1234567"};
  std::string text;
  for (std::size_t i = 0; text.size() < size; i = (i * 7 + 3) % 101) {
    text += pieces[i % 7];
  }
  return text;
}

// The conversion the program should make, by the plain path over the
// bundled table.
std::string expectedConversion(const std::string& in, const char* lineEnd) {
  pelmora::clearKana();
  EXPECT_TRUE(pelmora::allocateTable());
  const std::string table = readFile(PELMORA_TABLE);
  pelmora::TableReader reader;
  reader.feed(reinterpret_cast<const unsigned char*>(table.data()), table.size());
  reader.finish();
  std::vector<unsigned char> out(pelmora::outputRoom(in.size()));
  pelmora::ConversionState state;
  unsigned char* end = pelmora::convertReference(
      state, reinterpret_cast<const unsigned char*>(in.data()), in.size(), out.data(), lineEnd);
  pelmora::releaseTable();
  return std::string(reinterpret_cast<char*>(out.data()),
                     static_cast<std::size_t>(end - out.data()));
}

TEST_F(Pelmora, LongInputMatchesThePlainConversion) {
  const std::string in = mixedText((5 << 20) + 333);
  writeFile(dir / "long.txt", in);
  for (const auto& [choice, lineEnd] : {std::pair{"-LF", "\n"}, std::pair{"-CRLF", "\r\n"}}) {
    const RunResult r = pelmora({choice, "long.txt", "long.out"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(readFile(dir / "long.out") == expectedConversion(in, lineEnd)) << choice;
  }
}

TEST_F(Pelmora, InputFromAPipe) {
  KIT_SKIP_ON_WINDOWS("no /dev/stdin");
  const std::string in = mixedText((1 << 20) + 77);
  RunOptions options;
  options.stdinData = in;
  const RunResult r = pelmora({"-CRLF", "/dev/stdin", "piped.txt"}, options);
  EXPECT_EQ(r.err, loaderMiss());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(readFile(dir / "piped.txt") == expectedConversion(in, "\r\n"));
}

TEST_F(Pelmora, InputOf2GiBAndMore) {
  // 2 GiB + 5 bytes: past every 32-bit signed size. One line repeated, so
  // the output can be checked by its size and its ends.
  const std::string line =
      "\x88\x9f"
      "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!\r\n";
  ASSERT_EQ(line.size(), 67u);
  const std::uint64_t lines = ((std::uint64_t{2} << 30) / line.size()) + 1;
  {
    std::string block;
    for (int i = 0; i < 1 << 14; ++i) block += line;
    std::FILE* f = std::fopen((dir / "huge.txt").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::uint64_t written = 0;
    for (; written + (1 << 14) <= lines; written += 1 << 14) {
      ASSERT_EQ(std::fwrite(block.data(), 1, block.size(), f), block.size());
    }
    for (; written < lines; ++written) {
      ASSERT_EQ(std::fwrite(line.data(), 1, line.size(), f), line.size());
    }
    ASSERT_EQ(std::fclose(f), 0);
  }
  ASSERT_GT(fs::file_size(dir / "huge.txt"), std::uint64_t{2} << 30);
  const RunResult r = pelmora({"-LF", "huge.txt", "huge.out"});
  EXPECT_EQ(r.status, 0);
  const std::string converted =
      "\xe4\xba\x9c"
      "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!\n";
  EXPECT_EQ(fs::file_size(dir / "huge.out"), lines * converted.size());
  std::FILE* f = std::fopen((dir / "huge.out").string().c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string tail(converted.size(), '\0');
  std::fseek(f, -static_cast<long>(converted.size()), SEEK_END);
  ASSERT_EQ(std::fread(tail.data(), 1, tail.size(), f), tail.size());
  std::fclose(f);
  EXPECT_EQ(tail, converted);
  fs::remove(dir / "huge.txt");
  fs::remove(dir / "huge.out");
}

#ifdef _WIN32
// The run-time expands wildcards for pelmora: two matching names and nothing
// else make a count of 3, the first name read as a line-end choice (LF).
TEST_F(Pelmora, WildcardMatchingTwoNamesChangesTheForm) {
  writeFile(dir / "a.sjis", "first\r\n");
  writeFile(dir / "b.sjis", "second\r\n");
  const RunResult r = pelmora({"*.sjis"});
  EXPECT_EQ(r.err, loaderMiss());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readFile(dir / "pelmora.txt"), "second\n");
}
#endif

}  // namespace
