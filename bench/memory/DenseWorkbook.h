#pragma once

#include <string>

namespace bench {

// Workbooks made only of dense cell records, the cheapest cells a file can hold: rows of 256 numbers
// in MULRK records (6 bytes a cell; 20,000 rows make about 31 MB), or of 256 formatted blank cells in
// MULBLANK records (2 bytes a cell; 65,536 rows make about 34 MB).
enum class DenseCells { MulRk, MulBlank };

// `rows` from 1 to 65,536; 0 for 20,000 rows of numbers or 65,536 rows of blanks.
void writeDenseWorkbook(DenseCells cells, const std::string& path, int rows = 0);

}  // namespace bench
