// Runs the tortelet-sheet program as a user would and checks its exit codes, messages and files.

#include "ChartRecordList.h"
#include "KeptFile.h"
#include "ZipParts.h"

#include "resources/ChartTemplate.h"
#include "sheet/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <sys/stat.h>

namespace {

const QString SampleFormat = QStringLiteral(R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"??_);_(@_))");

struct Outcome {
    int code = -1;
    QString output;
    QString errors;
};

// Runs the program with `input` on its standard input, or with the file `inputFile` as its standard input;
// with `outputFile` as its standard output when one is named.
Outcome runTool(const QStringList& arguments, const QByteArray& input = {}, const QString& inputFile = {},
                const QString& outputFile = {})
{
    QProcess process;
    if (!inputFile.isEmpty())
        process.setStandardInputFile(inputFile);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TORTELET_SHEET_PROGRAM), arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList lines(const QString& text) { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

// The listing's cell lines, without the last field (the text as the format shows it).
QStringList cellLines(const QString& dump)
{
    QStringList cells;
    for (const QString& line : lines(dump))
        if (line.startsWith(QLatin1String("cell\t")))
            cells << line.section(QLatin1Char('\t'), 0, 4);
    return cells;
}

QStringList linesStartingWith(const QString& dump, const QString& start)
{
    QStringList found;
    for (const QString& line : lines(dump))
        if (line.startsWith(start))
            found << line;
    return found;
}

class ToolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QString templateFile() const { return write(QStringLiteral("template.xlt"), resources::chartTemplate()); }

    void expectFileFailure(const QStringList& arguments, const QString& named, const QByteArray& input = {},
                           const QString& inputFile = {})
    {
        const Outcome outcome = runTool(arguments, input, inputFile);
        EXPECT_EQ(outcome.code, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.output, QString());
        EXPECT_EQ(outcome.errors.count(QLatin1Char('\n')), 1) << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.errors.startsWith(QStringLiteral("tortelet-sheet: ") + named + QStringLiteral(": ")))
            << outcome.errors.toStdString();
    }

    QTemporaryDir folder_;
};

TEST_F(ToolTest, UsageErrorsEndWithCodeTwo)
{
    const QString any = path(QStringLiteral("any.xls"));
    const QList<QStringList> wrong = {
        {}, {QStringLiteral("paint")}, {QStringLiteral("template")}, {QStringLiteral("template"), any, any},
        {QStringLiteral("fill"), any}, {QStringLiteral("fill"), any, any, any, any}, {QStringLiteral("dump")},
        {QStringLiteral("dump"), any, any}};
    for (const QStringList& arguments : wrong) {
        const Outcome outcome = runTool(arguments);
        EXPECT_EQ(outcome.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.errors.contains(QStringLiteral("Usage"))) << outcome.errors.toStdString();
    }
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());

    const Outcome help = runTool({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    for (const char* synopsis : {"template OUT", "fill TEMPLATE OUT [ENTRIES]", "dump WORKBOOK", "convert IN OUT"})
        EXPECT_TRUE(help.output.contains(QLatin1String(synopsis))) << synopsis;
}

QByteArray noise()
{
    QByteArray bytes(4096, '\0');
    QRandomGenerator generator(7);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

// An input that is no workbook: a file of these bytes, or without them a folder or nothing at all.
struct NotAWorkbook {
    const char* name;
    std::function<QByteArray()> bytes;
    bool folder = false;
};

void PrintTo(const NotAWorkbook& input, std::ostream* out)
{
    *out << input.name;
}

class NotAWorkbookInput : public ToolTest, public ::testing::WithParamInterface<NotAWorkbook> {};

TEST_P(NotAWorkbookInput, EndsDumpAndFillWithOneLineNamingTheFile)
{
    const QString input = path(QStringLiteral("input.xls"));
    if (GetParam().folder)
        QDir(folder_.path()).mkdir(QStringLiteral("input.xls"));
    else if (GetParam().bytes)
        write(QStringLiteral("input.xls"), GetParam().bytes());
    const QString out = path(QStringLiteral("out.xls"));
    expectFileFailure({QStringLiteral("dump"), input}, input);
    expectFileFailure({QStringLiteral("fill"), input, out}, input);
    EXPECT_FALSE(QFile::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, NotAWorkbookInput,
    ::testing::Values(NotAWorkbook{"Missing", nullptr}, NotAWorkbook{"Folder", nullptr, true},
                      NotAWorkbook{"Empty", [] { return QByteArray(); }},
                      NotAWorkbook{"Text", [] { return QByteArray("Asset Type,Amount\nSavings,25000\n"); }},
                      NotAWorkbook{"Noise", noise},
                      NotAWorkbook{"SignatureAndNoise", [] { return QByteArray::fromHex("d0cf11e0a1b11ae1") + noise(); }},
                      NotAWorkbook{"TemplateCutInHalf",
                                   [] {
                                       const QByteArray bytes = resources::chartTemplate();
                                       return bytes.left(bytes.size() / 2);
                                   }}),
    [](const ::testing::TestParamInfo<NotAWorkbook>& info) { return std::string(info.param.name); });

TEST_F(ToolTest, BadEntriesAndUnwritableOutputsEndWithOneLineNamingTheFile)
{
    const QString workbook = templateFile();
    const QString out = path(QStringLiteral("out.xls"));
    const QString missing = path(QStringLiteral("missing.txt"));
    expectFileFailure({QStringLiteral("fill"), workbook, out, missing}, missing);
    const QString noTab = write(QStringLiteral("no-tab.txt"), "Savings\t25000\nCar 7500\n");
    expectFileFailure({QStringLiteral("fill"), workbook, out, noTab}, noTab);
    expectFileFailure({QStringLiteral("fill"), workbook, out, QStringLiteral("-")}, QStringLiteral("standard input"),
                      "Caf\xE9\t1\n");
    EXPECT_FALSE(QFile::exists(out));

    // Rows 4 to 65536 hold 65533 entries; one more does not fit on the sheet.
    QByteArray tooMany;
    for (int entry = 0; entry < 65534; ++entry)
        tooMany += "Item\t" + QByteArray::number(entry) + "\n";
    const QString tooManyFile = write(QStringLiteral("too-many.txt"), tooMany);
    expectFileFailure({QStringLiteral("fill"), workbook, out, tooManyFile}, tooManyFile);
    EXPECT_FALSE(QFile::exists(out));

    const QString nowhere = path(QStringLiteral("no/such/folder/out.xls"));
    expectFileFailure({QStringLiteral("fill"), workbook, nowhere}, nowhere);
    expectFileFailure({QStringLiteral("template"), nowhere}, nowhere);
}

// A FIFO would block the program and a device would never end: neither is read as a file, and
// standard input, which may be either, is read only up to the limit.
TEST_F(ToolTest, FifosAndDevicesAreRefusedAndStandardInputIsBounded)
{
    const QString workbook = templateFile();
    const QString out = path(QStringLiteral("out.xls"));
    const QString fifo = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = QStringLiteral("/dev/zero");
    for (const QString& input : {fifo, zero}) {
        expectFileFailure({QStringLiteral("dump"), input}, input);
        expectFileFailure({QStringLiteral("fill"), input, out}, input);
        expectFileFailure({QStringLiteral("fill"), workbook, out, input}, input);
    }
    const QString standardInput = QStringLiteral("standard input");
    expectFileFailure({QStringLiteral("fill"), workbook, out, QStringLiteral("-")}, standardInput, {}, zero);
    expectFileFailure({QStringLiteral("fill"), workbook, out, QStringLiteral("-")}, standardInput,
                      QByteArray((64 << 20) + 1, 'x'));
    EXPECT_FALSE(QFile::exists(out));
}

// A full disk cuts the listing, the help and a written file short: each is a failure, never a success.
TEST_F(ToolTest, AWriteThatFailsIsAFailure)
{
    const QString full = QStringLiteral("/dev/full");
    for (const QStringList& arguments : {QStringList{QStringLiteral("dump"), templateFile()},
                                         QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("--version")}}) {
        const Outcome outcome = runTool(arguments, {}, {}, full);
        EXPECT_EQ(outcome.code, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.errors, QStringLiteral("tortelet-sheet: standard output: No space left on device\n"));
    }
    expectFileFailure({QStringLiteral("template"), full}, full);
}

TEST_F(ToolTest, TemplateWritesTheBuiltInTemplate)
{
    const QString out = path(QStringLiteral("Pie Chart.xlt"));
    write(QStringLiteral("Pie Chart.xlt"), "an older file");
    EXPECT_EQ(runTool({QStringLiteral("template"), out}).code, 0);
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), resources::chartTemplate());
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ToolTest, DumpListsTheTemplate)
{
    const Outcome outcome = runTool({QStringLiteral("dump"), templateFile()});
    ASSERT_EQ(outcome.code, 0) << outcome.errors.toStdString();
    const QStringList listing = lines(outcome.output);
    ASSERT_GE(listing.size(), 2);
    EXPECT_EQ(listing[0], QStringLiteral("sheet\t1\tAssets\tworksheet\tactive"));
    EXPECT_EQ(listing[1], QStringLiteral("used\tA3:B19"));

    QStringList expected = {QStringLiteral("cell\tA3\ttext\tAsset Type\tGeneral"),
                            QStringLiteral("cell\tB3\ttext\tAmount\tGeneral")};
    const QList<QPair<QString, int>> samples = {{QStringLiteral("Savings"), 25000}, {QStringLiteral("401k"), 55000},
                                                {QStringLiteral("Stocks"), 15000},  {QStringLiteral("House"), 250000},
                                                {QStringLiteral("Bonds"), 11000},   {QStringLiteral("Car"), 7500}};
    int row = 4;
    for (const auto& [label, amount] : samples) {
        expected << QStringLiteral("cell\tA%1\ttext\t%2\tGeneral").arg(row).arg(label);
        expected << QStringLiteral("cell\tB%1\tnumber\t%2\t%3").arg(row).arg(amount).arg(SampleFormat);
        ++row;
    }
    EXPECT_EQ(cellLines(outcome.output), expected);
    EXPECT_TRUE(outcome.output.contains(QStringLiteral("\t $25,000 \n")) ||
                outcome.output.contains(QStringLiteral("\t $ 25,000 \n")))
        << outcome.output.toStdString();

    EXPECT_EQ(linesStartingWith(outcome.output, QStringLiteral("chart")),
              QStringList{QStringLiteral("chart\t1\tpie\t3-D")});
    EXPECT_EQ(linesStartingWith(outcome.output, QStringLiteral("series")),
              QStringList{QStringLiteral("series\t1\tname=Assets!B3\tvalues=Assets!B4:B9\tcategories=Assets!A4:A9")});
}

// A fill whose listing and chart records are kept in expected/<file>.dump.txt and
// expected/<file>.chart-records.txt.
struct Fill {
    const char* name;
    const char* file;
    const char* entries;  // on standard input; nullptr: the fill names no entries
};

void PrintTo(const Fill& fill, std::ostream* out)
{
    *out << fill.name;
}

class KeptFill : public ToolTest, public ::testing::WithParamInterface<Fill> {};

TEST_P(KeptFill, ListsAndChartRecordsAreTheKeptOnes)
{
    const Fill& fill = GetParam();
    const QString out = path(QStringLiteral("filled.xls"));
    QStringList arguments = {QStringLiteral("fill"), templateFile(), out};
    if (fill.entries)
        arguments << QStringLiteral("-");
    const Outcome filled = runTool(arguments, fill.entries);
    ASSERT_EQ(filled.code, 0) << filled.errors.toStdString();
    EXPECT_EQ(filled.output + filled.errors, QString());

    const Outcome dump = runTool({QStringLiteral("dump"), out});
    ASSERT_EQ(dump.code, 0) << dump.errors.toStdString();
    tools::test::expectKeptFile(std::string(fill.file) + ".dump.txt", dump.output.toStdString());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    tools::test::expectKeptFile(
        std::string(fill.file) + ".chart-records.txt",
        tools::test::chartRecordList({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())}));
}

INSTANTIATE_TEST_SUITE_P(
    Fills, KeptFill,
    ::testing::Values(Fill{"SevenEntries", "fill-seven-entries",
                           "Épargne\t1234.5\nЖильё\t-200\n株式\t0\nCar\t7500\nBoat\t12\nBike\t3\nTent\t99\n"},
                      Fill{"NoEntries", "fill-no-entries", nullptr}),
    [](const ::testing::TestParamInfo<Fill>& info) { return std::string(info.param.name); });

// A template in any format the engine reads is filled, and saved in any of the three formats: the copy
// lists every entry, and the pie's series has grown to the last of them.
TEST_F(ToolTest, FillTakesATemplateInEveryFormatAndWritesEveryFormat)
{
    QByteArray entries;
    for (int n = 1; n <= 20; ++n)
        entries += QStringLiteral("Asset %1\t%2\n").arg(n).arg(1000 + 7 * n).toUtf8();
    const QStringList templates = {templateFile(),
                                   QStringLiteral(TORTELET_TEST_DATA "/libreoffice-pie-chart.xltx"),
                                   QStringLiteral(TORTELET_TEST_DATA "/openpyxl-pie-3d.xlsx"),
                                   QStringLiteral(TORTELET_TEST_DATA "/libreoffice-template.ots"),
                                   QStringLiteral(TORTELET_TEST_DATA "/libreoffice-template.ods")};
    for (const QString& source : templates) {
        for (const QString& extension : {QStringLiteral("xls"), QStringLiteral("xlsx"), QStringLiteral("ods")}) {
            const QString out = path(QStringLiteral("filled.") + extension);
            const Outcome filled = runTool({QStringLiteral("fill"), source, out, QStringLiteral("-")}, entries);
            ASSERT_EQ(filled.code, 0) << source.toStdString() << " -> " << extension.toStdString() << ": "
                                      << filled.errors.toStdString();
            const Outcome dump = runTool({QStringLiteral("dump"), out});
            ASSERT_EQ(dump.code, 0) << dump.errors.toStdString();
            const QStringList cells = cellLines(dump.output);
            for (int n = 1; n <= 20; ++n)
                EXPECT_TRUE(cells.contains(QStringLiteral("cell\tA%1\ttext\tAsset %2\tGeneral").arg(n + 3).arg(n)))
                    << source.toStdString() << " -> " << extension.toStdString() << ": entry " << n;
            const QStringList series = linesStartingWith(dump.output, QStringLiteral("series\t1\t"));
            ASSERT_EQ(series.size(), 1) << source.toStdString() << " -> " << extension.toStdString();
            EXPECT_TRUE(series.first().contains(QStringLiteral("B4:B23"))) << series.first().toStdString();
        }
    }
}

// The password never has to stand on the command line: it comes from a file or the environment, and
// the filled copy needs it again.
TEST_F(ToolTest, EncryptedWorkbooksTakeTheirPasswordFromAFileOrTheEnvironment)
{
    const QString workbook = QString::fromStdString(sheet::test::dataPath("libreoffice-password.xls"));
    const QString password = write(QStringLiteral("password"), "Brötchen-7\n");
    const QString wrong = write(QStringLiteral("wrong"), "Brotchen-7\r\n");
    const QString option = QStringLiteral("--password-file");

    const Outcome read = runTool({QStringLiteral("dump"), workbook, option, password});
    ASSERT_EQ(read.code, 0) << read.errors.toStdString();
    EXPECT_TRUE(read.output.contains(QStringLiteral("cell\tA4\ttext\tSavings"))) << read.output.toStdString();
    expectFileFailure({QStringLiteral("dump"), option, wrong, workbook}, workbook);
    EXPECT_TRUE(runTool({QStringLiteral("dump"), option, wrong, workbook}).errors.contains(QStringLiteral("the password is wrong")));
    // A byte order mark is no part of the password, and an endless file is read no further than a
    // password may reach.
    const QString marked = write(QStringLiteral("marked"), "\xEF\xBB\xBF" "Brötchen-7\r\n");
    EXPECT_EQ(runTool({QStringLiteral("dump"), workbook, option, marked}).code, 0);
    expectFileFailure({QStringLiteral("dump"), workbook, option, QStringLiteral("/dev/zero")}, QStringLiteral("/dev/zero"));

    const QString copy = path(QStringLiteral("copy.xls"));
    qputenv("TORTELET_PASSWORD", "Brötchen-7");
    const Outcome filled = runTool({QStringLiteral("fill"), workbook, copy, QStringLiteral("-")}, "Boat\t3200\n");
    qunsetenv("TORTELET_PASSWORD");
    ASSERT_EQ(filled.code, 0) << filled.errors.toStdString();
    expectFileFailure({QStringLiteral("dump"), copy}, copy);
    const Outcome again = runTool({QStringLiteral("dump"), copy, option, password});
    EXPECT_TRUE(again.output.contains(QStringLiteral("cell\tA4\ttext\tBoat"))) << again.errors.toStdString();
    EXPECT_TRUE(again.output.contains(QStringLiteral("cell\tA411\ttext\tline 411"))) << again.errors.toStdString();

    // The package formats are not encrypted: the workbook is not converted into one, and nothing is written.
    const QString xlsx = path(QStringLiteral("copy.xlsx"));
    const Outcome converted = runTool({QStringLiteral("convert"), workbook, xlsx, option, password});
    EXPECT_EQ(converted.code, 1);
    EXPECT_TRUE(converted.errors.contains(QStringLiteral("encrypted with a password"))) << converted.errors.toStdString();
    EXPECT_FALSE(QFile::exists(xlsx));
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The sample filled straight into a .xlsx: its parts are the kept ones in expected/fill-sample.xlsx/, and
// converting the .xls of the same fill gives the same bytes.
TEST_F(ToolTest, SampleXlsxPartsAreTheKeptOnesAndConvertWritesTheSame)
{
    const QByteArray sample = "Savings\t25000\n401k\t55000\nStocks\t15000\nHouse\t250000\nBonds\t11000\nCar\t7500\n";
    const QString workbook = templateFile();
    const QString xlsx = path(QStringLiteral("sample.XLSX"));
    const QString xls = path(QStringLiteral("sample.xls"));
    const QString converted = path(QStringLiteral("converted.xlsx"));
    ASSERT_EQ(runTool({QStringLiteral("fill"), workbook, xlsx, QStringLiteral("-")}, sample).code, 0);
    ASSERT_EQ(runTool({QStringLiteral("fill"), workbook, xls, QStringLiteral("-")}, sample).code, 0);
    const Outcome conversion = runTool({QStringLiteral("convert"), xls, converted});
    ASSERT_EQ(conversion.code, 0) << conversion.errors.toStdString();
    EXPECT_EQ(conversion.output + conversion.errors, QString());

    std::string names;
    for (const auto& [name, content] : tools::test::zipParts(xlsx.toStdString())) {
        names += name + "\n";
        tools::test::expectKeptFile("fill-sample.xlsx/" + name, content);
    }
    tools::test::expectKeptFile("fill-sample.xlsx.parts.txt", names);
    EXPECT_EQ(fileContent(converted), fileContent(xlsx));
    EXPECT_TRUE(fileContent(xls).startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")));
}

TEST_F(ToolTest, ConvertNamesTheWorkbookThatTheFormatCannotHold)
{
    const QString groups = QStringLiteral(TORTELET_TEST_DATA "/pictures-and-lines.xls");
    const QString out = path(QStringLiteral("out.xlsx"));
    expectFileFailure({QStringLiteral("convert"), groups, out}, groups);
    const QString missing = path(QStringLiteral("missing.xls"));
    expectFileFailure({QStringLiteral("convert"), missing, out}, missing);
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
    // Macros are what only an .xls keeps: the copy is written without them, saying so.
    const Outcome converted = runTool({QStringLiteral("convert"), QStringLiteral(TORTELET_TEST_DATA "/names-and-external-books.xls"), out});
    EXPECT_EQ(converted.code, 0);
    EXPECT_TRUE(converted.errors.contains(QStringLiteral("holds macros (a VBA project)"))) << converted.errors.toStdString();
    EXPECT_TRUE(QFile::exists(out));
}

}  // namespace
