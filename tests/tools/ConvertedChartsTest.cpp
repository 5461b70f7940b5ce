// A workbook with charts of six types and a chart sheet, converted by the tortelet-sheet program as a
// user would: the parts of its column and its line chart are the kept ones in expected/, every chart
// and the chart sheet are in the package, and the chart sheet is one.

#include "KeptFile.h"
#include "ZipParts.h"

#include "sheet/TestFiles.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<std::string, std::string> converted(const sheet::test::ScratchFolder& folder, const std::string& extension)
{
    const std::string out = folder.path("writeexcel-chart-types" + extension);
    QProcess process;
    process.start(QStringLiteral(TORTELET_SHEET_PROGRAM),
                  {QStringLiteral("convert"), QString::fromStdString(sheet::test::dataPath("writeexcel-chart-types.xls")),
                   QString::fromStdString(out)});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    std::map<std::string, std::string> parts;
    for (auto& [name, content] : tools::test::zipParts(out))
        parts[name] = std::move(content);
    return parts;
}

TEST(ConvertedCharts, ColumnAndLineChartsAreTheKeptOnesAndTheChartSheetIsOne)
{
    const sheet::test::ScratchFolder folder;
    const std::map<std::string, std::string> xlsx = converted(folder, ".xlsx");
    for (const char* name : {"xl/charts/chart1.xml", "xl/charts/chart3.xml"})
        tools::test::expectKeptFile(std::string("convert-writeexcel-chart-types.xlsx/") + name, xlsx.at(name));
    for (int k = 1; k <= 7; ++k)
        EXPECT_TRUE(xlsx.contains("xl/charts/chart" + std::to_string(k) + ".xml")) << k;
    const std::string types = xlsx.at("[Content_Types].xml");
    EXPECT_NE(types.find(R"(<Override PartName="/xl/chartsheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml"/>)"),
              std::string::npos);
    EXPECT_NE(xlsx.at("xl/_rels/workbook.xml.rels").find(R"(relationships/chartsheet" Target="chartsheets/sheet2.xml")"),
              std::string::npos);
    EXPECT_NE(xlsx.at("xl/drawings/drawing2.xml").find("<xdr:absoluteAnchor>"), std::string::npos);
    EXPECT_NE(xlsx.at("xl/drawings/_rels/drawing2.xml.rels").find(R"(Target="../charts/chart7.xml")"), std::string::npos);
    for (const auto& [k, element] : std::map<int, std::string>{{2, "<c:barDir val=\"bar\"/>"}, {4, "<c:areaChart>"},
                                                                {5, "<c:scatterChart>"}, {6, "<c:stockChart>"}})
        EXPECT_NE(xlsx.at("xl/charts/chart" + std::to_string(k) + ".xml").find(element), std::string::npos) << element;

    const std::map<std::string, std::string> ods = converted(folder, ".ods");
    for (const char* name : {"Object 1/content.xml", "Object 3/content.xml"})
        tools::test::expectKeptFile(std::string("convert-writeexcel-chart-types.ods/") + name, ods.at(name));
    const std::string content = ods.at("content.xml");
    EXPECT_NE(content.find(R"(<table:table table:name="Overview" table:style-name="ta2"><table:shapes><draw:frame)"),
              std::string::npos);
    EXPECT_NE(content.find(R"(xlink:href="./Object 7")"), std::string::npos);
    for (const auto& [k, element] : std::map<int, std::string>{{2, "chart:vertical=\"true\""}, {4, "chart:class=\"chart:area\""},
                                                                {5, "chart:class=\"chart:scatter\""},
                                                                {6, "chart:class=\"chart:stock\""}})
        EXPECT_NE(ods.at("Object " + std::to_string(k) + "/content.xml").find(element), std::string::npos) << element;
}

} // namespace
