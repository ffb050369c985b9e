// klep as a user runs it, each case in a directory built for it: the
// standard error stream, the (empty) standard output, the exit status and
// the bytes of remove_e.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "process.hpp"

namespace {

namespace fs = std::filesystem;
using kit::test::readFile;
using kit::test::RunResult;
using kit::test::writeFile;

const std::string VERSION = "klep Version 1.073\n\nklep -V\nklep -x64\nklep  \nklep klep.txt\n";

class Klep : public ::testing::Test {
 protected:
  RunResult klep(const std::vector<std::string>& args) {
    kit::test::RunOptions options;
    options.cwd = dir.path();
    RunResult r = kit::test::run(KLEP_EXE, args, options);
    r.err = kit::test::fromTextLines(r.err);  // a text stream
    return r;
  }
  void file(const std::string& name, std::size_t size = 0) {
    writeFile(dir / name, std::string(size, 'x'));
  }
  std::string list() { return readFile(dir / "remove_e.txt"); }
  // The list's lines, sorted: for searches whose order is the platform's.
  std::vector<std::string> sortedLines() {
    const std::string text = list();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  void expectSuccess(const RunResult& r) {
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
  }
  kit::test::TempDir dir;
};

using Lines = std::vector<std::string>;

TEST_F(Klep, VersionLeavesTheListAlone) {
  writeFile(dir / "remove_e.txt", "keep");
  const RunResult r = klep({"-V"});
  EXPECT_EQ(r.err, VERSION);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(list(), "keep");
}

TEST_F(Klep, BuiltinPatternsInTheirOrder) {
  // One match per pattern, created in reverse, plus near misses.
  const Lines matches = {"CCC1.txt", "DIR_a.bat", "LS_x.bat", "FNL.txt",  "w.tmp",
                         "err9.txt", "pic.txt",   "tru.txt",  "see.txt",  "tab.csv",
                         "tab.txt",  "unq.txt",   "und.bin",  "who1.csv", "who1.txt"};
  for (auto it = matches.rbegin(); it != matches.rend(); ++it) file(*it, 100);
  for (const char* miss : {"CC1.txt", "DIR.txt", "LS.bat", "x.tmpl", "terr.txt", "und.txt"}) {
    file(miss);
  }
  std::string expected;
  for (const auto& name : matches) {
    expected += name + "\r\n";
    // Windows' search matches "*.tmp" against the short name X~1.TMP too.
    if (kit::test::onWindows && name == "w.tmp") expected += "x.tmpl\r\n";
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"-V", "extra"}, {"-x10", "extra"}, {"a", "b", "c"}}) {
    fs::remove(dir / "remove_e.txt");
    const RunResult r = klep(args);
    expectSuccess(r);
    EXPECT_EQ(list(), expected) << args.size() << " arguments";
  }
}

TEST_F(Klep, LettersMatchWithoutRegardToCase) {
  file("ccc_lower.TXT");
  file("Who.CSV");
  expectSuccess(klep({}));
  EXPECT_EQ(list(), "ccc_lower.TXT\r\nWho.CSV\r\n");
}

struct FilterCase {
  const char* arg;
  Lines listed;
};

TEST_F(Klep, SizeFilterBoundary) {
  file("err0.txt", 0);
  file("err9.txt", 9);
  file("err10.txt", 10);
  file("err63.txt", 63);
  file("err64.txt", 64);
  file("err1000.txt", 1000);
  const FilterCase cases[] = {
      {"-x", {"err0.txt", "err10.txt", "err63.txt", "err9.txt"}},
      {"-x64", {"err0.txt", "err10.txt", "err63.txt", "err9.txt"}},
      {"-x0", {"err0.txt", "err10.txt", "err63.txt", "err9.txt"}},
      {"-x-5", {"err0.txt", "err10.txt", "err63.txt", "err9.txt"}},
      {"-xabc", {"err0.txt", "err10.txt", "err63.txt", "err9.txt"}},
      {"-x10", {"err0.txt", "err9.txt"}},
      {"-x 10kb", {"err0.txt", "err9.txt"}},
      {"-x1", {"err0.txt"}},
      {"-x65", {"err0.txt", "err10.txt", "err63.txt", "err64.txt", "err9.txt"}},
      {"-x99999999999",
       {"err0.txt", "err10.txt", "err1000.txt", "err63.txt", "err64.txt", "err9.txt"}},
  };
  for (const FilterCase& c : cases) {
    expectSuccess(klep({c.arg}));
    EXPECT_EQ(sortedLines(), c.listed) << c.arg;
  }
}

TEST_F(Klep, SizeFilterSpecialEntries) {
  KIT_SKIP_ON_WINDOWS("symbolic links and sparse files of 4 GiB");
  fs::create_directory(dir / "tab_dir.csv");                    // a directory counts as 0
  fs::create_symlink(dir / "nowhere", dir / "err_broken.txt");  // no size: 0
  // 4 GiB + 10 bytes, sparse: its low 32 bits say 10.
  file("und_big.bin");
  fs::resize_file(dir / "und_big.bin", (std::uintmax_t{4} << 30) + 10);
  expectSuccess(klep({"-x"}));
  EXPECT_EQ(list(), "err_broken.txt\r\ntab_dir.csv\r\nund_big.bin\r\n");
}

TEST_F(Klep, NothingListedLeavesAnEmptyList) {
  file("other.txt");
  writeFile(dir / "remove_e.txt", "old contents\r\n");
  expectSuccess(klep({}));
  EXPECT_EQ(list(), "");
}

struct PatternFileCase {
  const char* name;
  std::string patterns;
  Lines listed;  // sorted
};

void PrintTo(const PatternFileCase& c, std::ostream* os) { *os << c.name; }

const std::vector<PatternFileCase>& patternFileCases() {
  static const std::vector<PatternFileCase> cases = {
      {"CrLfLines", "*.log\r\nsub/*.dat\r\n", {"a.log", "b.dat"}},
      {"LfLines", "*.log\nsub/*.dat\n", {"a.log", "b.dat"}},
      {"EmptyFile", "", {}},
      {"FirstLineEmpty", "\n*.log\n", {}},
      {"SecondLineEmpty", "*.log\n\nsub/*.dat\n", {"a.log"}},
      // Windows' search drops a pattern's trailing blanks.
      {"TrailingSpaceIsPartOfThePattern", "*.log \n",
       kit::test::onWindows ? Lines{"a.log"} : Lines{}},
      {"QuestionMark", "?.log\n??.log\n", {"a.log"}},
      {"DirectoryLikeAFile", "su?\n", {"sub"}},
      {"NameMatchingTwoPatterns", "a*\n*.log\n", {"a.log", "a.log"}},
      {"MissingDirectory", "nosuch/*\n*.log\n", {"a.log"}},
      {"ListMatchesItself", "remove_e.*\n", {"remove_e.txt"}},
      {"CtrlZEndsTheFile", "*.log\n\x1asub/*.dat\n", {"a.log"}},
  };
  return cases;
}

class PatternFile : public Klep, public ::testing::WithParamInterface<PatternFileCase> {};

TEST_P(PatternFile, Lists) {
  file("a.log");
  fs::create_directory(dir / "sub");
  writeFile(dir / "sub" / "b.dat", "");
  writeFile(dir / "pat.klep", GetParam().patterns);
  expectSuccess(klep({"pat.klep"}));
  EXPECT_EQ(sortedLines(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Files, PatternFile, ::testing::ValuesIn(patternFileCases()),
                         kit::test::ByName());

TEST_F(Klep, PatternOrderIsRowOrder) {
  file("a.log");
  file("b.dat");
  file("c.ini");
  writeFile(dir / "p", "*.ini\n*.log\n*.dat\n*.log\n");
  expectSuccess(klep({"p"}));
  EXPECT_EQ(list(), "c.ini\r\na.log\r\nb.dat\r\na.log\r\n");
}

TEST_F(Klep, StarListsEverythingWithDotAndDotDot) {
  file("x");
  fs::create_directory(dir / "d");
  writeFile(dir / "p", "*\n");
  expectSuccess(klep({"p"}));
  EXPECT_EQ(sortedLines(), (Lines{".", "..", "d", "p", "remove_e.txt", "x"}));
}

TEST_F(Klep, ThirtyFirstLineIsNeverRead) {
  std::string patterns;
  for (int i = 1; i <= 30; ++i) patterns += "none" + std::to_string(i) + "\n";
  patterns += "*.log\n";
  file("a.log");
  writeFile(dir / "p", patterns);
  expectSuccess(klep({"p"}));
  EXPECT_EQ(list(), "");
}

TEST_F(Klep, LongLinesArePieces) {
  file("a.log");
  // 255 bytes: one row, then its line feed alone, an empty row that ends
  // the set before "*.log".
  writeFile(dir / "p255", std::string(250, 'q') + "*.log\n*.log\n");
  expectSuccess(klep({"p255"}));
  EXPECT_EQ(list(), "");
  // 300 bytes: rows of 255 and 45 bytes; the second one matches.
  writeFile(dir / "p300", std::string(255, 'q') + std::string(40, '?') + "*.log\n");
  expectSuccess(klep({"p300"}));
  EXPECT_EQ(list(), "");
  writeFile(dir / "p300b", std::string(255, 'q') + "*" + std::string(39, '*') + "a.log\n");
  expectSuccess(klep({"p300b"}));
  EXPECT_EQ(list(), "a.log\r\n");
  // A directory part of more than 255 bytes is cut like any line.
  writeFile(dir / "pdir", std::string(400, 'd') + "/*\n");
  expectSuccess(klep({"pdir"}));
  EXPECT_EQ(list(), "");
}

TEST_F(Klep, DeepDirectoryPart) {
  std::string relative;
  for (int i = 0; i < 2; ++i) relative += std::string(100, static_cast<char>('a' + i)) + "/";
  fs::create_directories(dir / relative);
  writeFile(dir / relative / "deep.log", "");
  writeFile(dir / "p", relative + "*.log\n");
  expectSuccess(klep({"p"}));
  EXPECT_EQ(list(), "deep.log\r\n");
}

TEST_F(Klep, PatternFileIsTheListItself) {
  file("a.log");
  writeFile(dir / "remove_e.txt", "*.log\r\n");
  expectSuccess(klep({"remove_e.txt"}));
  EXPECT_EQ(list(), "a.log\r\n");
}

TEST_F(Klep, PatternFileThatCannotBeOpened) {
  writeFile(dir / "remove_e.txt", "keep");
  fs::create_directory(dir / "adir");
  for (const std::string name : {"-VC", "-v", "-X100", "-", "", "missing.txt", "adir"}) {
    const RunResult r = klep({name});
    EXPECT_EQ(r.err, name + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(list(), "keep") << name;
  }
}

TEST_F(Klep, ListThatCannotBeWritten) {
  file("a.tmp");
  fs::create_directory(dir / "remove_e.txt");
  RunResult r = klep({});
  EXPECT_EQ(r.err, "remove_e.txt\n");
  EXPECT_EQ(r.status, 1);
  fs::remove(dir / "remove_e.txt");
  if (fs::exists("/dev/full")) {
    fs::create_symlink("/dev/full", dir / "remove_e.txt");
    r = klep({});
    EXPECT_EQ(r.err, "remove_e.txt\n");
    EXPECT_EQ(r.status, 1);
  }
}

}  // namespace
