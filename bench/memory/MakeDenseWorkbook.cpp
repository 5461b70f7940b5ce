// Writes one of the dense workbooks, for measuring tortelet-sheet on it with /usr/bin/time -v:
//   make_dense_workbook mulrk|mulblank OUT.xls
#include "DenseWorkbook.h"

#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "mulrk") != 0 && std::strcmp(argv[1], "mulblank") != 0)) {
        std::cerr << "usage: make_dense_workbook mulrk|mulblank OUT.xls\n";
        return 2;
    }
    try {
        bench::writeDenseWorkbook(std::strcmp(argv[1], "mulrk") == 0 ? bench::DenseCells::MulRk : bench::DenseCells::MulBlank,
                                  argv[2]);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
