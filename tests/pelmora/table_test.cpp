// The table module: lookups over the flat two-byte table, and the rules by
// which table-file lines fill both tables.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "conversionTable.hpp"
#include "process.hpp"
#include "settingKanji.hpp"
#include "shiftJIStoUTF8.hpp"

namespace {

using namespace pelmora;

class Tables : public ::testing::Test {
 protected:
  void SetUp() override {
    clearKana();
    ASSERT_TRUE(allocateTable());
  }
  void TearDown() override {
    releaseTable();
    clearKana();
  }
};

std::string value(unsigned code) {
  return unionKanji(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code));
}

std::string kanaValue(unsigned byte) { return kana[byte - FIRST_KANA]; }

std::size_t filledEntries() {
  std::size_t count = 0;
  for (std::size_t i = 0; i < TABLE_SIZE; i += ENTRY_SIZE) {
    count += unionKanjiTable[i] != 0 ? 1u : 0u;
  }
  for (const auto& entry : kana) {
    count += entry[0] != 0 ? 1u : 0u;
  }
  return count;
}

TEST_F(Tables, LookupCoversExactlyTheTableRange) {
  settingKanjiBytes(0x81, 0x40, 'a', 'b', 'c');
  settingKanjiBytes(0xEE, 0xFC, 'x', 'y', 'z');
  EXPECT_EQ(unionKanji(0x81, 0x40), unionKanjiTable);
  EXPECT_EQ(unionKanji(0xEE, 0xFC), unionKanjiTable + TABLE_SIZE - ENTRY_SIZE);
  EXPECT_EQ(value(0x8140), "abc");
  EXPECT_EQ(value(0xEEFC), "xyz");
  for (const unsigned outside : {0x0000u, 0x813Fu, 0xEEFDu, 0xEEFFu, 0xEF40u, 0xFC40u, 0xFFFFu}) {
    EXPECT_EQ(
        unionKanji(static_cast<unsigned char>(outside >> 8), static_cast<unsigned char>(outside)),
        POINTER_TO_EMPTY)
        << std::hex << outside;
  }
  // Stores outside the table change nothing, EMPTY above all.
  settingKanjiBytes(0xEE, 0xFD, 'q', 'q', 'q');
  settingKanjiBytes(0xFC, 0x40, 'q', 'q', 'q');
  EXPECT_STREQ(EMPTY, "");
  EXPECT_EQ(filledEntries(), 2u);
  EXPECT_EQ(TABLE_SIZE, 112372u);
}

struct LoadCase {
  const char* name;
  std::string file;
  std::map<unsigned, std::string> twoByte;  // code -> value, every other entry empty
  std::map<unsigned, std::string> oneByte;  // katakana byte -> value
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

const std::vector<LoadCase>& loadCases() {
  static const std::vector<LoadCase> cases = {
      {"TwoByteLine", "\x88\x9f,\xe4\xba\x9c\n", {{0x889F, "\xe4\xba\x9c"}}, {}},
      {"SeparatorNeverExamined", "\x88\x9f\xff\xe4\xba\x9c\n", {{0x889F, "\xe4\xba\x9c"}}, {}},
      {"TwoByteValue", "\x82\xa0,\xc3\xa9\n", {{0x82A0, "\xc3\xa9"}}, {}},
      {"CrLfBelongsToTheLineEnd",
       "\x82\xa0,\xc3\xa9\r\n\x82\xa1,ab\r\n",
       {{0x82A0, "\xc3\xa9"}, {0x82A1, "ab"}},
       {}},
      {"LoneCrIsPartOfTheValue", "\x82\xa0,a\rb\n", {{0x82A0, "a\rb"}}, {}},
      {"LongValueKeepsThreeBytes", "\x82\xa0,ABCDE\n", {{0x82A0, "ABC"}}, {}},
      {"NulEndsTheValue", std::string("\x82\xa0,a\0b\n", 6), {{0x82A0, "a"}}, {}},
      {"EdgesOfTheTable",
       "\x81\x40,lo\n\xee\xfc,hi\n\xee\xfd,no\n\x81\x3f,no\n\xfc\x40,no\n",
       {{0x8140, "lo"}, {0xEEFC, "hi"}},
       {}},
      {"IgnoredLines", "A,xyz\nAB,xyz\n\n\r\n,,,\n", {}, {}},
      {"Katakana", "\xb1,\xef\xbd\xb1\n", {}, {{0xB1, "\xef\xbd\xb1"}}},
      {"KatakanaRangeEnds",
       "\xa1,lo\n\xdf,hi\n\xa0,no\n\xe0,no\nA,no\n",
       {},
       {{0xA1, "lo"}, {0xDF, "hi"}}},
      {"LastLineWithoutLineEnd", "\x82\xa0,xyz", {{0x82A0, "xyz"}}, {}},
      {"LastLineOnlyKeyEmptiesTheEntry", "\x82\xa0,xyz\n\x82\xa0", {{0x82A0, ""}}, {}},
      {"LaterLineWins", "\x82\xa0,one\n\x82\xa0,two\n", {{0x82A0, "two"}}, {}},
      // 100 bytes: a line of 63, then a line of the other 37.
      {"LongLineIsCutIntoPieces",
       "\x82\xa0,abc" + repeat('.', 57) + "\x82\xa1,def" + repeat('.', 31) + "\n",
       {{0x82A0, "abc"}, {0x82A1, "def"}},
       {}},
      // Exactly 63 bytes: the line end that follows is an empty line.
      {"PieceOf63ThenLineEnd",
       "\x82\xa0,abc" + repeat('.', 57) + "\n\x82\xa1,def\n",
       {{0x82A0, "abc"}, {0x82A1, "def"}},
       {}},
      // Offsets past the end of a piece read as NUL, not as an earlier line.
      {"ShortLineAfterLongOne", "\x82\xa0,abc\n\x82\xa1\n", {{0x82A0, "abc"}}, {}},
      {"CtrlZEndsTheFile", "\x82\xa0,abc\n\x1a\x82\xa1,def\n", {{0x82A0, "abc"}}, {}},
      {"CtrlZInsideALine", "\x82\xa0,ab\x1a\x82\xa1,def\n", {{0x82A0, "ab"}}, {}},
  };
  return cases;
}

class Load : public Tables, public ::testing::WithParamInterface<LoadCase> {};

void expectTables(const LoadCase& c) {
  std::size_t nonEmpty = 0;
  for (const auto& [code, expected] : c.twoByte) {
    EXPECT_EQ(value(code), expected) << std::hex << code;
    nonEmpty += expected.empty() ? 0u : 1u;
  }
  for (const auto& [byte, expected] : c.oneByte) {
    EXPECT_EQ(kanaValue(byte), expected) << std::hex << byte;
    nonEmpty += expected.empty() ? 0u : 1u;
  }
  EXPECT_EQ(filledEntries(), nonEmpty);
}

TEST_P(Load, WholeFile) {
  const LoadCase& c = GetParam();
  TableReader reader;
  reader.feed(reinterpret_cast<const unsigned char*>(c.file.data()), c.file.size());
  reader.finish();
  expectTables(c);
}

TEST_P(Load, ByteAtATime) {
  const LoadCase& c = GetParam();
  TableReader reader;
  for (const char byte : c.file) {
    const auto b = static_cast<unsigned char>(byte);
    reader.feed(&b, 1);
  }
  reader.finish();
  expectTables(c);
}

INSTANTIATE_TEST_SUITE_P(Lines, Load, ::testing::ValuesIn(loadCases()), kit::test::ByName());

TEST_F(Tables, LoaderReportsAFileThatCannotBeOpened) {
  kit::test::TempDir dir;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(conversionTable((dir / "missing.bin").string().c_str()), 0);
  EXPECT_EQ(conversionTable(dir.path().string().c_str()), 0);  // a directory
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "fopen(conversion_table, \"rt\")\nfopen(conversion_table, \"rt\")\n");
  // The empty table stays allocated.
  ASSERT_NE(unionKanjiTable, nullptr);
  EXPECT_EQ(filledEntries(), 0u);
}

TEST_F(Tables, LoaderReadsAFile) {
  kit::test::TempDir dir;
  kit::test::writeFile(dir / "t.bin", "\x88\x9f,\xe4\xba\x9c\r\n\xb1,\xef\xbd\xb1\r\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(conversionTable((dir / "t.bin").string().c_str()), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(value(0x889F), "\xe4\xba\x9c");
  EXPECT_EQ(kanaValue(0xB1), "\xef\xbd\xb1");
}

// The table that ships with pelmora, spot-checked.
struct Spot {
  const char* sjis;
  const char* utf8;
};

TEST_F(Tables, BundledTableSpotChecks) {
  ASSERT_EQ(conversionTable(PELMORA_TABLE), 1);
  const Spot spots[] = {
      {"\x88\x9f", "\xe4\xba\x9c"},  // 亜
      {"\x82\xa0", "\xe3\x81\x82"},  // あ
      {"\xb1", "\xef\xbd\xb1"},      // half-width ア
      {"\x87\x40", "\xe2\x91\xa0"},  // ①
      {"\xed\x40", "\xe7\xba\x8a"},  // an NEC-selected IBM extension
      {"\x81\x5f", "\xef\xbc\xbc"},  // full-width reverse solidus
      {"\xf0\x40", ""},              // beyond the table's range
  };
  for (const Spot& spot : spots) {
    char out[16];
    shiftJIStoUTF8(spot.sjis, out, "\n");
    EXPECT_STREQ(out, spot.utf8) << spot.sjis;
  }
}

}  // namespace
