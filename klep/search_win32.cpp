// The directory search on Windows: the platform's own FindFirstFileA,
// FindNextFileA and FindClose, which match "*" and "?" without regard to
// case and search the directory that the pattern names.
#include <windows.h>

#include "search.hpp"

namespace klep {

class Search {
 public:
  explicit Search(HANDLE handle) : handle_(handle) {}
  ~Search() { FindClose(handle_); }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  bool next(SearchRecord& record) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(handle_, &data)) {
      return false;
    }
    take(data, record);
    return true;
  }

  static void take(const WIN32_FIND_DATAA& data, SearchRecord& record) {
    record.name = data.cFileName;
    record.size = static_cast<std::uint32_t>(data.nFileSizeLow);
  }

 private:
  HANDLE handle_;
};

void SearchCloser::operator()(Search* search) const { findClose(search); }

SearchHandle findFirst(const char* pattern, bool /*wantSize*/, SearchRecord& record) {
  WIN32_FIND_DATAA data;
  HANDLE handle = FindFirstFileA(pattern, &data);
  if (handle == INVALID_HANDLE_VALUE) {
    return nullptr;
  }
  Search::take(data, record);
  return SearchHandle(new Search(handle));
}

bool findNext(Search& search, SearchRecord& record) { return search.next(record); }

void findClose(Search* search) { delete search; }

}  // namespace klep
