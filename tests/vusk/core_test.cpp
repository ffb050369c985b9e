// vusk's core: the "-m" count, the command-line forms, the usage texts and
// the dump formatter, whole, in pieces and against the plain snprintf path.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "process.hpp"
#include "vuskCore.hpp"

namespace {

using namespace vusk;

TEST(VuskCount, ParsesLikeTheCLibrary) {
  const struct {
    const char* text;
    int count;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"-0", 0},
      {"abc", 0},
      {"3", 3},
      {"+3", 3},
      {"-3", 5},
      {"-1", 5},
      {"2abc", 2},
      {" \t\n\v\f\r7", 7},
      {"++1", 0},
      {"- 1", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999", INT_MAX},
      {"-99999999999999999999", 5},
      {"007", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseCount(c.text), c.count) << '"' << c.text << '"';
  }
  // A count of any length is read without a fixed buffer.
  EXPECT_EQ(parseCount((std::string(2000, '0') + "12").c_str()), 12);
  EXPECT_EQ(parseCount(std::string(2000, '9').c_str()), INT_MAX);
}

TEST(VuskCommandLine, Forms) {
  const struct {
    std::vector<const char*> args;
    Invocation::Action action;
    int lines;
  } cases[] = {
      {{}, Invocation::SHORT_GUIDE, 0},
      {{"-V"}, Invocation::SHORT_GUIDE, 0},
      {{"-VC"}, Invocation::COMMENTED_GUIDE, 0},
      {{"f"}, Invocation::DUMP, 5},
      {{"-v"}, Invocation::DUMP, 5},
      {{"-m3"}, Invocation::DUMP, 5},
      {{"-Vx"}, Invocation::DUMP, 5},
      {{"-m3", "f"}, Invocation::DUMP, 3},
      {{"-m", "f"}, Invocation::DUMP, 0},
      {{"-m-2", "f"}, Invocation::DUMP, 5},
      {{"-mx", "f"}, Invocation::DUMP, 0},
      {{"-V", "f"}, Invocation::SHORT_GUIDE, 0},
      {{"-VC", "f"}, Invocation::SHORT_GUIDE, 0},
      {{"-M3", "f"}, Invocation::SHORT_GUIDE, 0},
      {{"-m3", "f", "g"}, Invocation::SHORT_GUIDE, 0},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"vusk"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const Invocation run = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(run.action, c.action) << (argv.size() > 1 ? argv[1] : "(none)");
    if (run.action == Invocation::DUMP) {
      EXPECT_EQ(run.lineLimit, c.lines) << argv[1];
      EXPECT_EQ(run.fileName, argv.back());
    }
  }
}

TEST(VuskGuide, Texts) {
  EXPECT_EQ(guideText(0),
            "vusk Version 1.040\n\nvusk -m3 file_name \nvusk file_name \nvusk -V \nvusk -VC \n");
  const std::string commented = guideText(1);
  EXPECT_EQ(commented,
            "vusk Version 1.040\n\n"
            "vusk -m3 file_name # Express 3 lines in hexadecimal notation. \n"
            "vusk file_name     # Express the first part of file as hexadecimal. \n"
            "vusk -V            # version \n"
            "vusk -VC           # version with comments \n");
  // The "#" of every usage line stands in the twentieth column.
  std::size_t start = commented.find("\n\n") + 2;
  for (int line = 0; line < 4; ++line) {
    EXPECT_EQ(commented.find('#', start) - start, 19u) << "line " << line + 1;
    start = commented.find('\n', start) + 1;
  }
}

std::string hexOf(const std::string& bytes, std::size_t rowLength = 20) {
  std::string text;
  const char* digits = "0123456789ABCDEF";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text += digits[b >> 4];
    text += digits[b & 15];
    text += ' ';
    if ((i + 1) % rowLength == 0) text += '\n';
  }
  return text;
}

enum class Path { FAST, REFERENCE };

// The dump of in with the given limit, fed in pieces cut at cuts.
std::string dump(const std::string& in, int limit, Path path, std::vector<std::size_t> cuts = {}) {
  Dumper dumper(limit);
  std::string result;
  std::size_t start = 0;
  cuts.push_back(in.size());
  for (const std::size_t cut : cuts) {
    std::vector<char> out(Dumper::room(cut - start));
    const auto* data = reinterpret_cast<const unsigned char*>(in.data()) + start;
    char* end = path == Path::FAST ? dumper.format(data, cut - start, out.data())
                                   : dumper.formatReference(data, cut - start, out.data());
    result.append(out.data(), static_cast<std::size_t>(end - out.data()));
    start = cut;
  }
  return result;
}

struct DumpCase {
  const char* name;
  std::string in;
  int limit;
  std::string out;
};

void PrintTo(const DumpCase& c, std::ostream* os) { *os << c.name; }

const std::vector<DumpCase>& dumpCases() {
  const std::string twenty(20, 'x');
  static const std::vector<DumpCase> cases = {
      {"Empty", "", 5, ""},
      {"TwentyBytes", twenty, 5, hexOf(twenty)},
      {"TwentyOneBytes", twenty + "y", 5, hexOf(twenty) + "79 "},
      {"SixOneLetterLines", "A\nB\nC\nD\nE\nF\n", 5, "41 0A 42 0A 43 0A 44 0A 45 0A "},
      {"LineFeedIsTheTwentiethValue", std::string(19, 'a') + "\nmore", 1,
       hexOf(std::string(19, 'a') + "\n")},
      {"LineFeedDoesNotStartARow", "ab\ncd\n", 5, "61 62 0A 63 64 0A "},
      {"CrLfShowsBoth", "a\r\nb\r\n", 1, "61 0D 0A "},
      {"FewerLinesThanTheLimit", "a\nb", 5, "61 0A 62 "},
      {"LimitZero", "a\nb\n", 0, ""},
      {"HugeLimit", std::string(45, '\n'), INT_MAX, hexOf(std::string(45, '\n'))},
      {"AllByteValues",
       [] {
         std::string s;
         for (int b = 0; b < 256; ++b) s += static_cast<char>(b == '\n' ? 0x0B : b);
         return s;
       }(),
       1, ""},
  };
  return cases;
}

class Dump : public ::testing::TestWithParam<DumpCase> {};

TEST_P(Dump, FastPathWholeAndCut) {
  const DumpCase& c = GetParam();
  const std::string expected = c.out.empty() && c.limit > 0 ? hexOf(c.in) : c.out;
  EXPECT_EQ(dump(c.in, c.limit, Path::FAST), expected);
  for (std::size_t cut = 0; cut <= c.in.size(); ++cut) {
    EXPECT_EQ(dump(c.in, c.limit, Path::FAST, {cut}), expected) << "cut at " << cut;
  }
}

TEST_P(Dump, ReferencePath) {
  const DumpCase& c = GetParam();
  const std::string expected = c.out.empty() && c.limit > 0 ? hexOf(c.in) : c.out;
  EXPECT_EQ(dump(c.in, c.limit, Path::REFERENCE), expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Dump, ::testing::ValuesIn(dumpCases()), kit::test::ByName());

TEST(VuskDumper, StopsTakingInputAtTheLimit) {
  Dumper dumper(2);
  const std::string in = "a\nb\nc\nd\n";
  std::vector<char> out(Dumper::room(in.size()));
  std::size_t used = 0;
  dumper.format(reinterpret_cast<const unsigned char*>(in.data()), in.size(), out.data(), &used);
  EXPECT_EQ(used, 4u);
  EXPECT_TRUE(dumper.done());
}

TEST(VuskDumper, FastPathMatchesReference) {
  std::mt19937 engine(1211);
  const auto random = [&] {
    const unsigned long draw = engine();  // uint_fast32_t differs between platforms
    return draw;
  };
  for (int round = 0; round < 300; ++round) {
    std::string in(random() % 3000, '\0');
    const unsigned long lfEvery = 1 + random() % 80;
    for (char& c : in) {
      c = random() % lfEvery == 0 ? '\n' : static_cast<char>(random() % 256);
    }
    const int limit = static_cast<int>(random() % 40);
    std::vector<std::size_t> cuts;
    for (std::size_t at = random() % 200; at < in.size(); at += 1 + random() % 200)
      cuts.push_back(at);
    const std::string expected = dump(in, limit, Path::REFERENCE);
    EXPECT_EQ(dump(in, limit, Path::FAST), expected) << "round " << round;
    EXPECT_EQ(dump(in, limit, Path::FAST, cuts), expected) << "round " << round;
    EXPECT_EQ(dump(in, limit, Path::REFERENCE, cuts), expected) << "round " << round;
  }
}

}  // namespace
