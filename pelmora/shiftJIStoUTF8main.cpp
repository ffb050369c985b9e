// pelmora: converts a Shift_JIS text file to UTF-8 with the mapping of
// conversionTable.bin, dropping CRs and writing every LF as LF or CR LF.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "conversionTable.hpp"
#include "settingKanji.hpp"
#include "shiftJIStoUTF8.hpp"

#ifndef PELMORA_FIXED_TABLE
#error "PELMORA_FIXED_TABLE names the table's fixed location; the build sets it"
#endif

#ifdef _WIN32
// The C run-time expands wildcards in the arguments, so a file-name pattern
// arrives as the matching names.
extern "C" {
int _dowildcard = -1;
}
#endif

namespace {

using namespace pelmora;

// The input is converted a block at a time, so memory stays small whatever
// the input's size and inputs that cannot be measured (pipes) work too.
constexpr std::size_t BLOCK = std::size_t{1} << 17;

void guide(int withComments) { std::fputs(guideText(withComments).c_str(), stderr); }

int fail(const char* text) {
  std::fprintf(stderr, "%s\n", text);
  return 1;
}

// An existing regular output file that is the input under another name (the
// same path, a link to it): opening it for writing would empty the input.
bool outputIsInput(const char* input, const char* output) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(fs::status(output, ec))) {
    return false;
  }
  return fs::equivalent(input, output, ec);
}

int convert(const Invocation& run) {
  if (conversionTable(PELMORA_FIXED_TABLE) == 0 && conversionTable("conversionTable.bin") == 0) {
    return 1;
  }
  std::FILE* in = std::fopen(run.input, "rb");
  if (in == nullptr) {
    return fail(run.input);
  }
  const std::unique_ptr<unsigned char[]> inBuffer(new (std::nothrow) unsigned char[BLOCK]);
  if (!inBuffer) {
    std::fputs("malloc( file_size + 1 )\n", stderr);
    return 1;
  }
  const std::unique_ptr<unsigned char[]> outBuffer(
      new (std::nothrow) unsigned char[outputRoom(BLOCK)]);
  const std::unique_ptr<FastTables> tables(new (std::nothrow) FastTables);
  if (!outBuffer || !tables) {
    std::fputs("malloc( 2 * file_size + 1 )\n", stderr);
    return 1;
  }
  buildFastTables(*tables, run.lineEnd);

  // Every check that can end the run comes before the output is created: the
  // first block is read now, so an input that cannot be read (a directory on
  // some systems) leaves no empty output behind.
  std::size_t got = std::fread(inBuffer.get(), 1, BLOCK, in);
  if (std::ferror(in) != 0) {
    return fail(run.input);
  }
  if (outputIsInput(run.input, run.output)) {
    return fail(run.output);
  }
  std::FILE* out = std::fopen(run.output, "wb");
  if (out == nullptr) {
    return fail(run.output);
  }

  ConversionState state;
  for (;;) {
    unsigned char* end = convertFast(*tables, state, inBuffer.get(), got, outBuffer.get());
    const auto length = static_cast<std::size_t>(end - outBuffer.get());
    if (std::fwrite(outBuffer.get(), 1, length, out) != length) {
      std::fclose(out);
      return fail(run.output);
    }
    if (state.ended || got < BLOCK) {
      break;
    }
    got = std::fread(inBuffer.get(), 1, BLOCK, in);
  }
  const bool readFailed = std::ferror(in) != 0;
  if (std::fclose(out) != 0) {
    return fail(run.output);
  }
  if (readFailed) {
    return fail(run.input);
  }
  std::fclose(in);
  releaseTable();
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
    case Invocation::CONVERT:
      break;
  }
  return convert(run);
}
