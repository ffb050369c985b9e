// klep's core: the "-x" limit, the pattern-file reader, the wildcard rules
// and the command-line forms, each as a table of cases.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "klepCore.hpp"
#include "process.hpp"

namespace {

using namespace klep;

struct LimitCase {
  const char* text;
  int limit;
};

TEST(KlepLimit, ParsesLikeTheCLibrary) {
  const LimitCase cases[] = {
      {"", 64},
      {"0", 64},
      {"-5", 64},
      {"-0", 64},
      {"abc", 64},
      {"+", 64},
      {"-", 64},
      {"1", 1},
      {"100", 100},
      {"+7", 7},
      {"12abc", 12},
      {" \t\n\v\f\r42", 42},
      {"  -3", 64},
      {"4 5", 4},
      {"++4", 64},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483649", 64},
      {"00000000000000000000063", 63},
      {"x64", 64},
      {"0x10", 64},
  };
  for (const LimitCase& c : cases) {
    EXPECT_EQ(parseLimit(c.text), c.limit) << '"' << c.text << '"';
  }
}

struct ReadCase {
  const char* name;
  std::string file;
  std::vector<std::string> rows;  // every row read, empty ones included
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ReadCase>& readCases() {
  static const std::vector<ReadCase> cases = {
      {"Empty", "", {}},
      {"LfLines", "a*.txt\nb?.csv\n", {"a*.txt", "b?.csv"}},
      {"CrLfLines", "a*.txt\r\nb?.csv\r\n", {"a*.txt", "b?.csv"}},
      {"LastLineWithoutLf", "a*.txt\nlast", {"a*.txt", "last"}},
      {"LoneCrDropped", "a\rb\n", {"ab"}},
      {"ByteAfterCrTakenAsItIs",
       "a\r\rb\n\r\x1a"
       "c\n",
       {"a\rb",
        "\x1a"
        "c"}},
      {"TrailingSpacesKept", "x*.txt  \n", {"x*.txt  "}},
      {"EmptySecondLine", "one\n\nthree\n", {"one", "", "three"}},
      {"CtrlZFirstOnALineEndsTheFile", "one\n\x1atwo\n", {"one"}},
      {"CtrlZInsideALineEndsTheLine", "one\x1atwo\nthree\n", {"one", "two", "three"}},
      {"Line254IsOneRow", std::string(254, 'a') + "\nb\n", {std::string(254, 'a'), "b"}},
      {"Line255ThenItsLfAlone", std::string(255, 'a') + "\nb\n", {std::string(255, 'a'), "", "b"}},
      {"Line300IsTwoRows",
       std::string(255, 'a') + std::string(45, 'b') + "\nc\n",
       {std::string(255, 'a'), std::string(45, 'b'), "c"}},
      {"CrNotCounted",
       std::string(200, 'a') + "\r" + std::string(54, 'b') + "\r\n",
       {std::string(200, 'a') + std::string(54, 'b')}},
      {"NulEndsTheRow", std::string("ab\0cd\nef\n", 9), {"ab", "ef"}},
      {"Line600",
       std::string(600, 'z'),
       {std::string(255, 'z'), std::string(255, 'z'), std::string(90, 'z')}},
  };
  return cases;
}

class Reader : public ::testing::TestWithParam<ReadCase> {};

std::vector<std::string> rowsOf(const PatternSet& set) {
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(set.patternCount));
  for (int i = 0; i < set.patternCount; ++i) rows.emplace_back(set.patternTable[i]);
  return rows;
}

TEST_P(Reader, WholeFile) {
  PatternSet set;
  PatternReader reader(set);
  reader.feed(reinterpret_cast<const unsigned char*>(GetParam().file.data()),
              GetParam().file.size());
  reader.finish();
  EXPECT_EQ(rowsOf(set), GetParam().rows);
}

TEST_P(Reader, ByteAtATime) {
  PatternSet set;
  PatternReader reader(set);
  for (const char c : GetParam().file) {
    const auto b = static_cast<unsigned char>(c);
    reader.feed(&b, 1);
  }
  reader.finish();
  EXPECT_EQ(rowsOf(set), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(PatternFile, Reader, ::testing::ValuesIn(readCases()),
                         kit::test::ByName());

TEST(KlepReader, ThirtyRowsAtMost) {
  std::string file;
  for (int i = 1; i <= 31; ++i) file += "p" + std::to_string(i) + "\n";
  PatternSet set;
  PatternReader reader(set);
  reader.feed(reinterpret_cast<const unsigned char*>(file.data()), file.size());
  EXPECT_TRUE(reader.done());
  reader.finish();
  ASSERT_EQ(set.patternCount, ROWS);
  EXPECT_STREQ(set.patternTable[29], "p30");
}

struct MatchCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(KlepMatch, WildcardRules) {
  const MatchCase cases[] = {
      {"CCC*.txt", "CCC1.txt", true},
      {"CCC*.txt", "ccc1.TXT", true},
      {"CCC*.txt", "CCC.txt", true},
      {"CCC*.txt", "CCC1.txt.bak", false},
      {"CCC*.txt", "xCCC1.txt", false},
      {"*.tmp", ".tmp", true},
      {"*.tmp", "a.tmp", true},
      {"*.tmp", "a.tmpx", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"a?c", "abbc", false},
      {"?", ".", true},
      {"*", ".", true},
      {"*", "..", true},
      {"*", "anything", true},
      {"**a**", "a", true},
      {"*a*b*", "xxaxxbxx", true},
      {"*a*b*", "xxbxxaxx", false},
      {"a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
      {"", "", true},
      {"", "a", false},
      {"[ab]", "a", false},
      {"[ab]", "[ab]", true},
      {"\\*", "\\x", true},
      {"\xe3\x81\x82*", "\xe3\x81\x82.txt", true},
      {"\xc4*", "\xe4x", false},  // only ASCII letters fold
      {"remove_e.*", "REMOVE_E.TXT", true},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(matchWildcard(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
  }
}

TEST(KlepMatch, DirectoryPart) {
  EXPECT_EQ(lastComponent("*.tmp", false), 0u);
  EXPECT_EQ(lastComponent("sub/*.tmp", false), 4u);
  EXPECT_EQ(lastComponent("/a/b/c*", false), 5u);
  EXPECT_EQ(lastComponent("a\\b*", false), 0u);
  EXPECT_EQ(lastComponent("a\\b*", true), 2u);
  EXPECT_EQ(lastComponent("a/b\\c*", true), 4u);
}

struct FormCase {
  std::vector<const char*> args;
  Invocation::Action action;
  int limit;
};

TEST(KlepCommandLine, Forms) {
  const FormCase cases[] = {
      {{}, Invocation::BUILTIN, 64},
      {{"-V"}, Invocation::VERSION, 64},
      {{"-V", "x"}, Invocation::BUILTIN, 64},
      {{"-x"}, Invocation::SIZE_FILTER, 64},
      {{"-x100"}, Invocation::SIZE_FILTER, 100},
      {{"-xjunk"}, Invocation::SIZE_FILTER, 64},
      {{"-x100", "more"}, Invocation::BUILTIN, 64},
      {{"-X100"}, Invocation::PATTERN_FILE, 64},
      {{"-VC"}, Invocation::PATTERN_FILE, 64},
      {{"-v"}, Invocation::PATTERN_FILE, 64},
      {{"-Vx"}, Invocation::PATTERN_FILE, 64},
      {{"-"}, Invocation::PATTERN_FILE, 64},
      {{""}, Invocation::PATTERN_FILE, 64},
      {{"a", "b", "c"}, Invocation::BUILTIN, 64},
  };
  for (const FormCase& c : cases) {
    std::vector<const char*> argv = {"klep"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const Invocation run = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(run.action, c.action) << argv.size() - 1 << " arguments";
    if (run.action == Invocation::SIZE_FILTER) {
      EXPECT_EQ(run.sizeLimit, c.limit);
    }
    if (run.action == Invocation::PATTERN_FILE) {
      EXPECT_EQ(run.patternFile, argv[1]);
    }
  }
}

TEST(KlepText, VersionAndListLines) {
  EXPECT_EQ(versionText(), "klep Version 1.073\n\nklep -V\nklep -x64\nklep  \nklep klep.txt\n");
  EXPECT_EQ(listLine("a.tmp"), "a.tmp\r\n");
  EXPECT_EQ(listLine(""), "\r\n");
  EXPECT_EQ(listLine("odd\nname"), "odd\r\nname\r\n");
}

TEST(KlepText, BuiltinPatternsInOrder) {
  PatternSet set;
  setBuiltinPatterns(set);
  EXPECT_EQ(set.patternCount, 30);
  const std::vector<std::string> expected = {
      "CCC*.txt", "DIR*.bat", "LS_*.bat", "FNL*.txt", "*.tmp",
      "err*.txt", "pic*.txt", "tru*.txt", "see*.txt", "tab*.csv",
      "tab*.txt", "unq*.txt", "und*.bin", "who*.csv", "who*.txt",
  };
  std::vector<std::string> rows(set.patternTable, set.patternTable + 15);
  EXPECT_EQ(rows, expected);
  EXPECT_STREQ(set.patternTable[15], "");
}

}  // namespace
