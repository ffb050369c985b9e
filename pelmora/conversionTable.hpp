// Loading conversionTable.bin from a file into the tables of settingKanji.
#ifndef PELMORA_CONVERSIONTABLE_HPP
#define PELMORA_CONVERSIONTABLE_HPP

namespace pelmora {

// Allocates the two-byte table and fills both tables from the file at
// conversion_table. Returns 1 on success; 0 after writing its message to the
// standard error stream, when the table cannot be allocated or the file
// cannot be opened.
int conversionTable(const char* conversion_table);

}  // namespace pelmora

#endif
