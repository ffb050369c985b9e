// The conversion: byte classes, pairs, line ends and the end of the input,
// through the plain path, the fast path and the fast path fed in pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "process.hpp"
#include "settingKanji.hpp"
#include "shiftJIStoUTF8.hpp"

namespace {

using namespace pelmora;

std::string bytes(const unsigned char* begin, const unsigned char* end) {
  return std::string(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
}

const unsigned char* data(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

std::string viaReference(const std::string& in, const char* lineEnd) {
  std::vector<char> out(outputRoom(in.size()));
  shiftJIStoUTF8(in.c_str(), out.data(), lineEnd);
  return out.data();
}

// The fast path over in, cut into pieces at the given offsets.
std::string viaFast(const std::string& in, const char* lineEnd,
                    std::vector<std::size_t> cuts = {}) {
  auto tables = std::make_unique<FastTables>();
  buildFastTables(*tables, lineEnd);
  ConversionState state;
  std::string result;
  std::size_t start = 0;
  cuts.push_back(in.size());
  for (const std::size_t cut : cuts) {
    std::vector<unsigned char> out(outputRoom(cut - start));
    unsigned char* end = convertFast(*tables, state, data(in) + start, cut - start, out.data());
    EXPECT_LE(static_cast<std::size_t>(end - out.data()), 3 * (cut - start));
    result += bytes(out.data(), end);
    start = cut;
  }
  return result;
}

// The plain path fed in pieces, as the program's reference.
std::string viaReferencePieces(const std::string& in, const char* lineEnd,
                               const std::vector<std::size_t>& cuts) {
  ConversionState state;
  std::string result;
  std::size_t start = 0;
  std::vector<std::size_t> all = cuts;
  all.push_back(in.size());
  for (const std::size_t cut : all) {
    std::vector<unsigned char> out(outputRoom(cut - start));
    unsigned char* end =
        convertReference(state, data(in) + start, cut - start, out.data(), lineEnd);
    result += bytes(out.data(), end);
    start = cut;
  }
  return result;
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    clearKana();
    ASSERT_TRUE(allocateTable());
    settingKanjiBytes(0x88, 0x9F, '\xe4', '\xba', '\x9c');  // 亜
    settingKanjiBytes(0x82, 0xA0, '\xe3', '\x81', '\x82');  // あ
    settingKanjiBytes(0x81, 0x40, '\xe3', '\x80', '\x80');  // ideographic space
    settingKanjiBytes(0xEE, 0xFC, '\xef', '\xbc', '\x82');  // the last code
    settingKanjiBytes(0x82, 0x0D, 'C', 'R', '\0');          // a pair whose trail is CR
    settingKanjiBytes(0x83, 0x41, '\xc3', '\xa9', '\0');    // a two-byte value
    settingKana(0xB1, '\xef', '\xbd', '\xb1');              // half-width ア
    settingKana(0xDF, '\xef', '\xbe', '\x9f');              // half-width semi-voiced mark
  }
  void TearDown() override {
    releaseTable();
    clearKana();
  }
};

struct Case {
  const char* name;
  std::string in;
  const char* lineEnd;
  std::string out;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::vector<Case>& cases() {
  static const std::vector<Case> all = {
      {"Empty", "", "\n", ""},
      {"AsciiPassesThrough", "Hello, world 123", "\n", "Hello, world 123"},
      {"CrLfToLf", "A\r\nB", "\n", "A\nB"},
      {"CrLfToCrLf", "A\r\nB", "\r\n", "A\r\nB"},
      {"LfToCrLf", "A\nB\n", "\r\n", "A\r\nB\r\n"},
      {"LoneCrDropped", "A\rB\r", "\n", "AB"},
      {"TwoByteCharacter", "\x88\x9f\x82\xa0", "\n", "\xe4\xba\x9c\xe3\x81\x82"},
      {"TableEdges", "\x81\x40\xee\xfc", "\n", "\xe3\x80\x80\xef\xbc\x82"},
      {"TwoByteValue", "\x83\x41!", "\n", "\xc3\xa9!"},
      {"Katakana", "\xb1\xdf", "\n", "\xef\xbd\xb1\xef\xbe\x9f"},
      {"KatakanaWithoutEntry", "x\xb2y", "\n", "xy"},
      {"KatakanaGrowsThreefold", std::string(40, '\xb1'), "\n",
       [] {
         std::string s;
         for (int i = 0; i < 40; ++i) s += "\xef\xbd\xb1";
         return s;
       }()},
      {"LeadTakesTheLineFeed", "A\x81\nB", "\n", "AB"},
      {"LeadTakesTheCarriageReturn", "A\x82\r\nB", "\r\n", "ACR\r\nB"},
      {"LeadTakesAnAsciiByte",
       "\x88"
       "A|",
       "\n", "|"},
      {"LeadAtTheEnd", "AB\x88", "\n", "AB"},
      {"NulEndsTheInput", std::string("AB\0CD", 5), "\n", "AB"},
      {"NulAfterALead", std::string("A\x88\0\x9f", 4), "\n", "A"},
      {"HighSingleBytes", "\x80\xfd\xfe\xff", "\n", "\x80\xfd\xfe\xff"},
      {"A0IsALead",
       "\xa0"
       "A",
       "\n", ""},
      {"LeadF0VanishesWithItsTrail", "<\xf0\x40\xf0\x9f>", "\n", "<>"},
      {"UnsetPairVanishes", "<\x88\xa0>", "\n", "<>"},
      {"PairOutsideBelowTable", "<\x81\x3f>", "\n", "<>"},
      {"ControlBytesPassThrough", "\x01\x09\x0b\x0c\x0e\x1a\x7f", "\n",
       "\x01\x09\x0b\x0c\x0e\x1a\x7f"},
      {"FourPairsAtOnce", "\x88\x9f\x82\xa0\x81\x40\xee\xfc\x83\x41\x88\xa0", "\n",
       "\xe4\xba\x9c\xe3\x81\x82\xe3\x80\x80\xef\xbc\x82\xc3\xa9"},
      {"FourPairsWithANulTrail", std::string("\x88\x9f\x82\xa0\x81\x00\xee\xfc", 8), "\n",
       "\xe4\xba\x9c\xe3\x81\x82"},
      {"LongAsciiRunThenKanji", std::string(37, 'a') + "\x88\x9f" + std::string(19, 'b') + "\r\n",
       "\n", std::string(37, 'a') + "\xe4\xba\x9c" + std::string(19, 'b') + "\n"},
  };
  return all;
}

class Cases : public Conversion, public ::testing::WithParamInterface<Case> {};

TEST_P(Cases, ReferencePath) {
  const Case& c = GetParam();
  EXPECT_EQ(viaReference(c.in, c.lineEnd), c.out);
}

TEST_P(Cases, FastPath) {
  const Case& c = GetParam();
  EXPECT_EQ(viaFast(c.in, c.lineEnd), c.out);
}

TEST_P(Cases, FastPathCutAnywhere) {
  const Case& c = GetParam();
  for (std::size_t cut = 0; cut <= c.in.size(); ++cut) {
    EXPECT_EQ(viaFast(c.in, c.lineEnd, {cut}), c.out) << "cut at " << cut;
    EXPECT_EQ(viaReferencePieces(c.in, c.lineEnd, {cut}), c.out) << "cut at " << cut;
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, Cases, ::testing::ValuesIn(cases()), kit::test::ByName());

// Random tables and random text, biased toward what real text holds: the
// fast path in random pieces must agree with the plain path byte for byte.
TEST(ConversionDifferential, FastPathMatchesReference) {
  std::mt19937 random(20261211);
  const auto below = [&](unsigned n) {
    const unsigned long draw = random();  // uint_fast32_t differs between platforms
    return static_cast<unsigned>(draw % n);
  };
  for (int round = 0; round < 40; ++round) {
    clearKana();
    ASSERT_TRUE(allocateTable());
    for (int i = 0; i < 2000; ++i) {
      const unsigned code = FIRST_CODE + below(LAST_CODE - FIRST_CODE + 1);
      char v[3] = {};
      const unsigned length = below(4);
      for (unsigned k = 0; k < length; ++k) v[k] = static_cast<char>(1 + below(255));
      settingKanjiBytes(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code),
                        v[0], v[1], v[2]);
    }
    for (unsigned k = FIRST_KANA; k <= LAST_KANA; ++k) {
      if (below(2) != 0)
        settingKana(static_cast<int>(k), '\xef', '\xbd', static_cast<char>(0x80 + below(64)));
    }
    std::string in;
    const std::size_t size = below(5000);
    while (in.size() < size) {
      switch (below(6)) {
        case 0:
          in.append(below(40), static_cast<char>('a' + below(26)));
          break;
        case 1:
          in += "\r\n";
          break;
        case 2:  // a run of two-byte characters, the fast path's four-at-a-time case
          for (unsigned k = 1 + below(12); k > 0; --k) {
            const unsigned lead = below(2) != 0 ? 0x81 + below(0x20) : 0xE0 + below(0x1D);
            in += static_cast<char>(lead);
            in += static_cast<char>(below(64) != 0 ? 0x40 + below(0xBD) : below(256));
          }
          break;
        case 3:
          in += static_cast<char>(0xA1 + below(63));
          break;
        case 4:
          in += static_cast<char>(below(256));
          break;
        default:
          in += static_cast<char>(below(0x20));
          break;
      }
    }
    if (below(4) != 0) {
      std::replace(in.begin(), in.end(), '\0', '.');  // mostly no NUL: convert it all
    }
    std::vector<std::size_t> cuts;
    for (std::size_t at = below(300); at < in.size(); at += 1 + below(300)) cuts.push_back(at);
    for (const char* lineEnd : {"\n", "\r\n"}) {
      const std::string expected = viaReference(in, lineEnd);
      EXPECT_EQ(viaFast(in, lineEnd), expected) << "round " << round;
      EXPECT_EQ(viaFast(in, lineEnd, cuts), expected) << "round " << round;
      EXPECT_EQ(viaReferencePieces(in, lineEnd, cuts), expected) << "round " << round;
    }
    releaseTable();
  }
  clearKana();
}

}  // namespace
