// For the reader checks: fills the chart template with "label<TAB>amount" lines from standard input
// and saves it as the OpenDocument spreadsheet named on the command line.
#include "FilledTemplate.h"

#include "sheet/Errors.h"
#include "sheet/ods/OdsFile.h"

#include <QGuiApplication>

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: ods_fill_driver OUT.ods < entries\n";
        return 2;
    }
    std::vector<ods_testing::Entry> entries;
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            entries.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    try {
        sheet::ods::saveOdsFile(ods_testing::filledTemplate(entries), argv[1], sheet::biff::SaveTarget::ChosenFile);
    } catch (const sheet::Error& error) {
        std::cerr << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
