// The directory search klep lists from: find first, find next, close. On
// Windows the platform's own; elsewhere a small one over opendir/readdir
// with the same rules (see search_posix.cpp).
#ifndef KLEP_SEARCH_HPP
#define KLEP_SEARCH_HPP

#include <cstdint>
#include <memory>
#include <string>

namespace klep {

// What a search gives for each entry: its own name, without the pattern's
// directory part, and its size in bytes as an unsigned 32-bit value.
struct SearchRecord {
  std::string name;
  std::uint32_t size = 0;
};

class Search;
struct SearchCloser {
  void operator()(Search* search) const;
};
using SearchHandle = std::unique_ptr<Search, SearchCloser>;

// Starts a search and fills the record with the first match; null when
// nothing matches or the pattern cannot be used. Sizes are read only when
// wantSize is set; otherwise the record's size is 0.
SearchHandle findFirst(const char* pattern, bool wantSize, SearchRecord& record);
// The next match, or false when there is none.
bool findNext(Search& search, SearchRecord& record);
// Ends the search (the handle's deleter calls it too).
void findClose(Search* search);

}  // namespace klep

#endif
