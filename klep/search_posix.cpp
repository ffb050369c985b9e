// The directory search on POSIX systems. A pattern's directory part, up to
// its last "/", names the directory searched (else the current one); its last
// component is matched by matchWildcard against every entry, "." and ".."
// included. A size is the entry's (a link's target's) size in its low 32
// bits; a directory counts as 0, as Windows reports it, and an entry whose
// size cannot be read still counts, with size 0. Entries come in the order
// the system gives them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "klepCore.hpp"
#include "search.hpp"

namespace klep {

namespace {

// The names of the directory searched last, kept while they fit in
// LISTING_LIMIT bytes: klep searches the same directory once per pattern, and
// reading it from memory spares the system a pass over the directory each
// time. A directory larger than that is read afresh for every search, so the
// memory used stays bounded however many entries there are.
constexpr std::size_t LISTING_LIMIT = std::size_t{16} << 20;

struct Listing {
  std::string directory;
  std::string names;  // each name followed by a NUL
  bool complete = false;
};
Listing listing;

}  // namespace

class Search {
 public:
  Search(DIR* dir, const std::string& directory, std::string component, bool wantSize)
      : dir_(dir), component_(std::move(component)), wantSize_(wantSize) {
    if (listing.complete && listing.directory == directory) {
      fromListing_ = true;
    } else {
      listing.directory = directory;
      listing.names.clear();
      listing.complete = false;
      recording_ = true;
    }
  }
  ~Search() { closedir(dir_); }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  bool next(SearchRecord& record) {
    while (const char* name = nextName()) {
      if (matchWildcard(component_.c_str(), name)) {
        record.name = name;
        record.size = wantSize_ ? sizeOf(name) : 0;
        return true;
      }
    }
    return false;
  }

 private:
  const char* nextName() {
    if (fromListing_) {
      if (position_ >= listing.names.size()) {
        return nullptr;
      }
      const char* name = listing.names.c_str() + position_;
      position_ += std::strlen(name) + 1;
      return name;
    }
    const dirent* entry = readdir(dir_);
    if (entry == nullptr) {
      // The whole directory went by: later searches may read the listing.
      listing.complete = recording_;
      return nullptr;
    }
    if (recording_) {
      const std::size_t length = std::strlen(entry->d_name) + 1;
      if (listing.names.size() + length > LISTING_LIMIT) {
        recording_ = false;
        listing.names.clear();
        listing.names.shrink_to_fit();
      } else {
        listing.names.append(entry->d_name, length);
      }
    }
    return entry->d_name;
  }

  std::uint32_t sizeOf(const char* name) const {
    struct stat st;
    if (fstatat(dirfd(dir_), name, &st, 0) != 0 || S_ISDIR(st.st_mode)) {
      return 0;
    }
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(st.st_size) & 0xFFFFFFFFu);
  }

  DIR* dir_;
  std::string component_;
  bool wantSize_;
  bool fromListing_ = false;
  bool recording_ = false;
  std::size_t position_ = 0;
};

void SearchCloser::operator()(Search* search) const { findClose(search); }

SearchHandle findFirst(const char* pattern, bool wantSize, SearchRecord& record) {
  const std::size_t start = lastComponent(pattern, false);
  std::string directory(pattern, start);
  if (directory.empty()) {
    directory = ".";
  }
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) {
    return nullptr;
  }
  SearchHandle search(new Search(dir, directory, pattern + start, wantSize));
  if (!search->next(record)) {
    return nullptr;
  }
  return search;
}

bool findNext(Search& search, SearchRecord& record) { return search.next(record); }

void findClose(Search* search) { delete search; }

}  // namespace klep
