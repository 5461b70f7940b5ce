// Writes one of the dense workbooks, for measuring tortelet-sheet on it with /usr/bin/time -v:
//   make_dense_workbook mulrk|mulblank OUT.xls [ROWS]
#include "DenseWorkbook.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    const int rows = argc == 4 ? std::atoi(argv[3]) : 0;
    if (argc < 3 || argc > 4 || (std::strcmp(argv[1], "mulrk") != 0 && std::strcmp(argv[1], "mulblank") != 0)
        || rows < 0 || rows > 65536 || (argc == 4 && rows == 0)) {
        std::cerr << "usage: make_dense_workbook mulrk|mulblank OUT.xls [ROWS, 1 to 65536]\n";
        return 2;
    }
    try {
        bench::writeDenseWorkbook(std::strcmp(argv[1], "mulrk") == 0 ? bench::DenseCells::MulRk : bench::DenseCells::MulBlank,
                                  argv[2], rows);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
