// klep: writes remove_e.txt, the names of the entries that match its fifteen
// built-in patterns or the patterns of a pattern file, with "-x" only those
// smaller than a byte limit. It deletes nothing itself.
#include <cstdio>
#include <string>

#include "klepCore.hpp"
#include "search.hpp"

#ifdef _WIN32
// Patterns reach klep as typed: the C run-time must not expand them.
extern "C" {
int _dowildcard = 0;
}
#endif

namespace {

using namespace klep;

const char* const LIST_FILE = "remove_e.txt";

// Fills the set from the pattern file; false when it cannot be opened.
bool readPatternFile(const char* name, PatternSet& set) {
  std::FILE* file = std::fopen(name, "rb");  // PatternReader applies the text rules
  if (file == nullptr) {
    return false;
  }
  PatternReader reader(set);
  unsigned char block[4096];
  bool first = true;
  while (!reader.done()) {
    const std::size_t got = std::fread(block, 1, sizeof block, file);
    if (got == 0 && first && std::ferror(file) != 0) {
      // A directory opens on some systems and fails at the first read; it
      // is a pattern file that cannot be opened, as on Windows.
      std::fclose(file);
      return false;
    }
    first = false;
    reader.feed(block, got);
    if (got < sizeof block) {
      break;
    }
  }
  reader.finish();
  std::fclose(file);
  return true;
}

int listFailed() {
  std::fprintf(stderr, "%s\n", LIST_FILE);
  return 1;
}

int writeList(const PatternSet& set, bool sizeFilter, int sizeLimit) {
  std::FILE* list = std::fopen(LIST_FILE, "wb");  // CR LF written by listLine
  if (list == nullptr) {
    return listFailed();
  }
  const auto limit = static_cast<std::uint32_t>(sizeLimit);
  bool written = true;
  for (int row = 0; row < set.patternCount && written; ++row) {
    const char* pattern = set.patternTable[row];
    if (pattern[0] == '\0') {
      break;  // an empty row ends the set
    }
    SearchRecord record;
    SearchHandle search = findFirst(pattern, sizeFilter, record);
    if (!search) {
      continue;
    }
    do {
      if (!sizeFilter || record.size < limit) {
        const std::string line = listLine(record.name.c_str());
        written = std::fwrite(line.data(), 1, line.size(), list) == line.size();
      }
    } while (written && findNext(*search, record));
  }
  if (std::fclose(list) != 0 || !written) {
    return listFailed();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Invocation run = parseCommandLine(argc, argv);
  PatternSet set;
  switch (run.action) {
    case Invocation::VERSION:
      std::fputs(versionText().c_str(), stderr);
      return 1;
    case Invocation::PATTERN_FILE:
      if (!readPatternFile(run.patternFile, set)) {
        std::fprintf(stderr, "%s\n", run.patternFile);
        return 1;
      }
      break;
    case Invocation::BUILTIN:
    case Invocation::SIZE_FILTER:
      setBuiltinPatterns(set);
      break;
  }
  return writeList(set, run.action == Invocation::SIZE_FILTER, run.sizeLimit);
}
