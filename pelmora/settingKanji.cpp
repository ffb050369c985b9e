#include "settingKanji.hpp"

#include <cstdlib>
#include <cstring>

namespace pelmora {

char* unionKanjiTable = nullptr;
char kana[KANA_COUNT][ENTRY_SIZE] = {};
const char EMPTY[1] = {'\0'};
const char* const POINTER_TO_EMPTY = EMPTY;

const char* unionKanji(unsigned char lead, unsigned char trail) {
  const unsigned code = lead * 256u + trail;
  if (unionKanjiTable == nullptr || code < FIRST_CODE || code > LAST_CODE) {
    return POINTER_TO_EMPTY;
  }
  return unionKanjiTable + (code - FIRST_CODE) * ENTRY_SIZE;
}

void settingKana(int katakana, char b0, char b1, char b2) {
  char* entry = kana[katakana - static_cast<int>(FIRST_KANA)];
  entry[0] = b0;
  entry[1] = b1;
  entry[2] = b2;
  entry[3] = '\0';
}

void settingKanjiBytes(unsigned char lead, unsigned char trail, char b0, char b1, char b2) {
  const char* found = unionKanji(lead, trail);
  if (found == POINTER_TO_EMPTY) {
    return;
  }
  char* entry = unionKanjiTable + (found - unionKanjiTable);
  entry[0] = b0;
  entry[1] = b1;
  entry[2] = b2;
  entry[3] = '\0';
}

bool allocateTable() {
  releaseTable();
  unionKanjiTable = static_cast<char*>(std::calloc(TABLE_SIZE, 1));
  return unionKanjiTable != nullptr;
}

void releaseTable() {
  std::free(unionKanjiTable);
  unionKanjiTable = nullptr;
}

void clearKana() { std::memset(kana, 0, sizeof kana); }

void storeTableLine(const unsigned char* line, std::size_t length) {
  // Offsets past the end of the line read as NUL.
  const auto at = [&](std::size_t i) -> char {
    return i < length ? static_cast<char>(line[i]) : '\0';
  };
  const auto byte0 = static_cast<unsigned char>(at(0));
  const auto byte1 = static_cast<unsigned char>(at(1));
  if (byte1 == ',') {
    if (byte0 >= FIRST_KANA && byte0 <= LAST_KANA) {
      settingKana(byte0, at(2), at(3), at(4));
    }
    return;
  }
  settingKanjiBytes(byte0, byte1, at(3), at(4), at(5));
}

void TableReader::feed(const unsigned char* data, std::size_t size) {
  for (std::size_t i = 0; i < size && !ended_; ++i) {
    takeByte(data[i]);
  }
}

void TableReader::takeByte(unsigned char c) {
  if (c == 0x1A) {  // Ctrl-Z: the end of a text file
    finish();
    return;
  }
  if (crPending_) {
    crPending_ = false;
    if (c == '\n') {
      endPiece();
      return;
    }
    piece_[length_++] = '\r';
    if (length_ == PIECE) {
      endPiece();
    }
  }
  if (c == '\r') {
    crPending_ = true;
    return;
  }
  if (c == '\n') {
    endPiece();
    return;
  }
  piece_[length_++] = c;
  if (length_ == PIECE) {
    endPiece();
  }
}

void TableReader::finish() {
  if (ended_) {
    return;
  }
  if (crPending_) {
    crPending_ = false;
    piece_[length_++] = '\r';
  }
  if (length_ > 0) {
    endPiece();
  }
  ended_ = true;
}

void TableReader::endPiece() {
  storeTableLine(piece_, length_);
  length_ = 0;
}

}  // namespace pelmora
