#pragma once

#include <string>

namespace bench {

// Workbooks made only of dense cell records, the cheapest cells a file can hold: 20,000 rows of 256
// numbers in MULRK records (6 bytes a cell, about 31 MB), or 65,536 rows of 256 formatted blank cells
// in MULBLANK records (2 bytes a cell, about 34 MB).
enum class DenseCells { MulRk, MulBlank };

void writeDenseWorkbook(DenseCells cells, const std::string& path);

}  // namespace bench
