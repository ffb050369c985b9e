// The conversion tables of pelmora: one entry per half-width katakana byte and
// one per two-byte code from 0x8140 to 0xEEFC, filled from conversionTable.bin.
//
// An entry is four bytes: the UTF-8 bytes of one character (none to three)
// followed by NUL bytes, so it reads as a NUL-terminated string.
#ifndef PELMORA_SETTINGKANJI_HPP
#define PELMORA_SETTINGKANJI_HPP

#include <cstddef>

namespace pelmora {

constexpr unsigned FIRST_CODE = 0x8140;
constexpr unsigned LAST_CODE = 0xEEFC;
constexpr std::size_t ENTRY_SIZE = 4;
constexpr std::size_t TABLE_SIZE = (LAST_CODE - FIRST_CODE + 1) * ENTRY_SIZE;  // 112372
constexpr unsigned FIRST_KANA = 0xA1;
constexpr unsigned LAST_KANA = 0xDF;
constexpr std::size_t KANA_COUNT = LAST_KANA - FIRST_KANA + 1;  // 63

// The two-byte table: TABLE_SIZE bytes from std::calloc, or null before the
// first load. The entry of code c starts at (c - FIRST_CODE) * ENTRY_SIZE.
extern char* unionKanjiTable;
// Entry k - FIRST_KANA holds half-width katakana byte k.
extern char kana[KANA_COUNT][ENTRY_SIZE];
// The empty string, the value of every code outside the two-byte table.
extern const char EMPTY[1];
extern const char* const POINTER_TO_EMPTY;

// The value stored for lead * 256 + trail, or POINTER_TO_EMPTY outside the
// table (and while no table is allocated).
const char* unionKanji(unsigned char lead, unsigned char trail);

// Stores three value bytes and a NUL. settingKana wants a byte in
// FIRST_KANA..LAST_KANA; settingKanjiBytes ignores codes outside the table.
void settingKana(int katakana, char b0, char b1, char b2);
void settingKanjiBytes(unsigned char lead, unsigned char trail, char b0, char b1, char b2);

// Releases any earlier two-byte table and allocates a zero-filled one.
// Returns false when the allocation fails (no table is left then).
bool allocateTable();
// Frees the two-byte table; safe to call when there is none.
void releaseTable();
// Empties every kana entry (a fresh start, as at program start).
void clearKana();

// Feeds table-file bytes to the tables. The file is text: a CR right before
// an LF belongs to the line end, a Ctrl-Z byte ends the file, and lines are
// taken in pieces of at most 63 bytes, each piece judged as a line of its own.
// Bytes may arrive in blocks of any size; finish() judges the last line.
class TableReader {
 public:
  void feed(const unsigned char* data, std::size_t size);
  void finish();

 private:
  void takeByte(unsigned char c);
  void endPiece();
  static constexpr std::size_t PIECE = 63;
  unsigned char piece_[PIECE] = {};
  std::size_t length_ = 0;
  bool crPending_ = false;
  bool ended_ = false;  // Ctrl-Z seen
};

// Applies one line (without its line end) to the tables by the file format's
// rules. Lines longer than 63 bytes must already be cut into pieces.
void storeTableLine(const unsigned char* line, std::size_t length);

}  // namespace pelmora

#endif
