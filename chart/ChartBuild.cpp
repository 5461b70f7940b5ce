#include "ChartBuild.h"

#include "Excel1.h"
#include "LeftOutEntries.h"
#include "PictureFile.h"
#include "Required.h"
#include "ScratchWorkbook.h"
#include "TemplateChoice.h"
#include "TemplateFile.h"

#include "common/FileRoutines.h"
#include "common/Handler.h"
#include "common/Main.h"
#include "common/PointerState.h"
#include "common/TempFolder.h"
#include "resources/ChartTemplate.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Cell.h"
#include "sheet/automation/PrivateFolder.h"
#include "sheet/automation/Workbook.h"
#include "sheet/io/FileBytes.h"

#include <QFile>
#include <QLocale>

#include <span>
#include <stdexcept>
#include <variant>

namespace chart {

namespace {

// The built-in template's own file in the private folder, when the temporary folder's is refused.
const QString kPrivateTemplateName = QStringLiteral("Pie Chart (built-in).xlt");
const QString kPictureName = QStringLiteral("temp.bmp");
constexpr int kMostDraws = 1000;
// The largest template the build reads; the engine refuses larger workbooks anyway.
constexpr qint64 kLargestTemplate = qint64(1) << 30;
// Entries start on row 4; the sheet ends with row 65536.
constexpr int kFirstEntryRow = 4;
constexpr int kMostEntries = 65536 - kFirstEntryRow + 1;

std::string fileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

sheet::Worksheet& activeSheet(sheet::Workbook* workbook) { return required(workbook, "the workbook").ActiveSheet(); }

// Clears the running mark however the build ends.
class RunningMark {
public:
    explicit RunningMark(bool& running) : running_(running) { running_ = true; }
    ~RunningMark() { running_ = false; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    bool& running_;
};

}  // namespace

const char* const ChartBuild::AmountFormat = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";

ChartBuild::ChartBuild(platform::Platform platform, BuildHost& host) : platform_(platform), host_(host) {}

ChartBuild::~ChartBuild() = default;

void ChartBuild::run()
{
    if (running_)
        return;
    const RunningMark mark(running_);
    stopping_ = false;
    first_.reset();
    filled_ = nullptr;
    second_.reset();
    reopened_ = nullptr;
    scratchPath_.clear();
    ownTemplate_.clear();
    templateRefusal_.reset();
    steps();
    reopened_ = nullptr;
    second_.reset();
}

void ChartBuild::steps()
{
    common::Handler h(platform_.messages, QStringLiteral("Torvane2021/08/31.Form1.PushButton1_Click"));
    if (h.when(100, [&] { return warnIfExcelRunning(platform_.messages); }))
        return;
    h(102, [&] { host_.pointer().set(common::PointerState::Busy); });
    QByteArray builtIn;
    QByteArray templateBytes;
    h(104, [&] {
        builtIn = resources::chartTemplate();
        templateBytes = ownTemplateBytes().value_or(builtIn);
    });
    if (h.when(106, [&] { return !templateInPlace(); }))
        h(106, [&] { writeTemplate(templateRefusal_ ? builtIn : templateBytes); });
    h(106, [&] { reportTemplateRefusal(); });
    if (stopping_)
        return leaveNothingBehind();

    h(108, [&] {
        first_ = std::make_unique<sheet::Application>();
        first_->setNumberLocale(sheet::NumberLocale::system(), typedInLocale());
    });
    h(110, [&] {
        openTemplate(builtIn);
    });
    for (int column = 1; column <= 2; ++column) {
        for (int row = 4; row <= 9; ++row)
            h(112 + 12 * (column - 1) + 2 * (row - 4), [&] { activeSheet(filled_).Cells(row, column).setValue(""); });
    }
    int entries = 0;
    h(136, [&] {
        entries = host_.entryCount();
        if (entries > kMostEntries) {
            const int leftOut = entries - kMostEntries;
            entries = kMostEntries;
            throw std::runtime_error(QStringLiteral("the sheet holds %1 entries; %2 were left out")
                                         .arg(QLocale(QLocale::English).toString(kMostEntries),
                                              QLocale(QLocale::English).toString(leftOut))
                                         .toStdString());
        }
    });
    LeftOutEntries leftOut;
    for (int i = 1; i <= entries; ++i) {
        h(138, [&] { activeSheet(filled_).Cells(i + 3, 1).setValue(host_.entryLabel(i).toStdString()); });
        h(140, [&] {
            sheet::Cell cell = activeSheet(filled_).Cells(i + 3, 2);
            const QString amount = host_.entryAmount(i);
            cell.setValue(amount.toStdString());
            if (!std::holds_alternative<double>(cell.Value()))
                leftOut.add(host_.entryLabel(i), amount);
        });
        h(142, [&] { activeSheet(filled_).Cells(i + 3, 2).setNumberFormat(AmountFormat); });
    }
    h(144, [&] { leftOut.report(); });
    h(146, [&] { host_.pointer().set(common::PointerState::Busy); });
    drawScratchPath(h);
    h(164, [&] { saveScratchWorkbook(); });
    h(166, [&] { required(first_, "the first instance").setDisplayAlerts(false); });
    h(168, [&] { required(filled_, "the workbook").Close(); });
    h(170, [&] { required(first_, "the first instance").Quit(); });
    h(172, [&] {
        filled_ = nullptr;
        first_.reset();
    });
    h(174, [&] { common::DeleteFileForced(templatePath()); });
    if (stopping_)
        return leaveNothingBehind();

    h(176, [&] { second_ = openWorkbookInNewExcel(scratchPath_, platform_.clipboard); });
    h(178, [&] { host_.pointer().set(common::PointerState::Busy); });
    h(180, [&] {
        sheet::Workbooks& workbooks = required(second_, "the second instance").workbooks();
        reopened_ = &workbooks.item(workbooks.count());
    });
    h(182, [&] {
        saveCellsActivesheet(platform_.messages, platform_.clipboard, reopened_, common::TempPath(kPictureName));
    });
    h(184, [&] { required(second_, "the second instance").setDisplayAlerts(false); });
    h(186, [&] { required(reopened_, "the workbook").Close(); });
    h(188, [&] { required(second_, "the second instance").Quit(); });
    h(190, [&] { host_.pointer().set(common::PointerState::Ordinary); });
    h(192, [&] { host_.deliverPicture(LoadPictureFile(common::TempPath(kPictureName))); });
    h(194, [&] { host_.setPreviewWorkbook(scratchPath_); });
    h(196, [&] { host_.showPreview(); });
    h(198, [&] { host_.hideMainWindow(); });
    h(200, [&] { common::DeleteFileForced(common::TempPath(kPictureName)); });
    if (stopping_)
        return leaveNothingBehind();

    QString text;
    h(202, [&] { text.clear(); });
    h(204, [&] { entries = host_.entryCount(); });
    for (int i = 1; i <= entries; ++i) {
        h(206, [&] {
            text += host_.entryLabel(i) + QStringLiteral("||SEP1||") + host_.entryAmount(i) +
                    QStringLiteral("||SEP2||");
        });
    }
    h(210, [&] {
        platform_.settings.write(QStringLiteral("Assets"), text);
        platform_.settings.write(QStringLiteral("Amount Locale"), host_.amountLocale());
    });
}

// The locale the list was typed in, when it is another than the person's present one.
std::optional<sheet::NumberLocale> ChartBuild::typedInLocale()
{
    const QString name = host_.amountLocale();
    if (name.isEmpty() || QLocale(name) == QLocale())
        return std::nullopt;
    return sheet::NumberLocale::of(QLocale(name));
}

// The person's own template, when one is chosen: its bytes, read afresh for every build. A template that
// cannot be read is refused like a planted file, and the build takes the built-in one.
std::optional<QByteArray> ChartBuild::ownTemplateBytes()
{
    ownTemplate_ = platform_.settings.read(QString::fromLatin1(kOwnTemplateKey)).value_or(QString());
    if (ownTemplate_.isEmpty())
        return std::nullopt;
    QFile file(ownTemplate_);
    std::string reason;
    if (!TemplateKind(ownTemplate_))
        reason = "its name does not end in the extension of a workbook or template";
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString().toStdString();
    else if (file.size() > kLargestTemplate)
        reason = "it is larger than a workbook can be";
    if (reason.empty()) {
        QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
        reason = file.errorString().toStdString();
    }
    templateRefusal_ = "The chart template " + ownTemplate_.toStdString() + " cannot be read: " + reason;
    ownTemplate_.clear();
    return std::nullopt;
}

// The kind of workbook the build fills, which the scratch workbook keeps.
WorkbookKind ChartBuild::templateKind() const
{
    if (templateRefusal_ || ownTemplate_.isEmpty())
        return WorkbookKind::Excel97;
    return TemplateKind(ownTemplate_).value_or(WorkbookKind::Excel97);
}

// Whether the template is already in the temporary folder. Whatever else has its name there is
// refused, kept in mind, and left as it is: the build then takes the built-in template through a
// file of its own in the private folder.
bool ChartBuild::templateInPlace()
{
    if (templateRefusal_)
        return false;
    try {
        return existingTemplateFile(common::TempPath(TemplateFileName(ownTemplate_)));
    } catch (const std::exception& refusal) {
        templateRefusal_ = refusal.what();
        return false;
    }
}

QString ChartBuild::templatePath() const
{
    if (templateRefusal_)
        return QFile::decodeName(QByteArray::fromStdString(sheet::privateFolder(true))) + QStringLiteral("/") +
               kPrivateTemplateName;
    return common::TempPath(TemplateFileName(ownTemplate_));
}

void ChartBuild::writeTemplate(const QByteArray& bytes) const
{
    if (!templateRefusal_)
        return common::WriteFileIfMissing(bytes, templatePath());
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    sheet::io::writeFileAtomically(fileName(templatePath()), std::span(data, static_cast<std::size_t>(bytes.size())));
}

// Opens the template. The person's own template that the engine cannot fill, and any template whose
// entry rows meet merged cells (which would hide the entries under the merge), are closed, and the build
// goes on with the program's own template, saying why.
void ChartBuild::openTemplate(const QByteArray& builtIn)
{
    sheet::Workbooks& workbooks = required(first_, "the first instance").workbooks();
    try {
        filled_ = &workbooks.Open(fileName(templatePath()));
        filled_->ActiveSheet();
    } catch (const std::exception& failure) {
        if (templateRefusal_ || ownTemplate_.isEmpty())
            throw;
        return useBuiltInTemplate("The chart template " + ownTemplate_.toStdString() + " cannot be used: " +
                                  failure.what(), builtIn);
    }
    if (templateRefusal_)
        return;
    const auto merged = filled_->ActiveSheet().mergedCellsMeeting(kFirstEntryRow, 1, 65536, 2);
    if (merged)
        useBuiltInTemplate("The chart template " + templatePath().toStdString() +
                           " was not used: its entry rows meet the merged cells " + *merged + ", which would hide entries",
                           builtIn);
}

void ChartBuild::useBuiltInTemplate(const std::string& reason, const QByteArray& builtIn)
{
    if (filled_)
        filled_->Close();
    filled_ = nullptr;
    // The copy of the person's own template is ours to remove; a file someone placed stays.
    if (!ownTemplate_.isEmpty())
        QFile::remove(templatePath());
    templateRefusal_ = reason;
    writeTemplate(builtIn);
    filled_ = &required(first_, "the first instance").workbooks().Open(fileName(templatePath()));
    reportTemplateRefusal();
}

// A refused template is reported the first time it is met in a run; later builds just go on.
void ChartBuild::reportTemplateRefusal()
{
    if (!templateRefusal_ || templateRefusal_ == reportedRefusal_)
        return;
    reportedRefusal_ = templateRefusal_;
    throw std::runtime_error(*templateRefusal_ + "; the program's own template is used instead");
}

// Statements 148 to 162: "vormel" and eight digits, drawn again while the name is taken. The free
// name is claimed on the spot, so no other build and no planted file can take it in between.
void ChartBuild::drawScratchPath(common::Handler& h)
{
    int draws = 0;
    bool taken = true;
    while (taken) {
        taken = false;
        QString name;
        h(148, [&] { name = QStringLiteral("vormel"); });
        h(150, [&] { name += drawScratchDigits(platform_.random); });
        h(160, [&] { scratchPath_ = common::TempPath(name + ScratchExtension(templateKind())); });
        h(162, [&] {
            if (++draws > kMostDraws)
                throw std::runtime_error("No free name for the scratch workbook in " + fileName(common::TempFolder()));
            taken = !claimScratchPath(scratchPath_);
        });
    }
}

void ChartBuild::saveScratchWorkbook()
{
    try {
        const int fileFormat = templateKind() == WorkbookKind::Excel97 ? getSaveFileFormat(first_.get())
                                                                        : SaveFormatCode(templateKind());
        required(filled_, "the workbook").SaveAs(fileName(scratchPath_), fileFormat);
    } catch (...) {
        releaseEmptyPlaceholder(scratchPath_);
        throw;
    }
}

void ChartBuild::leaveNothingBehind()
{
    reopened_ = nullptr;
    second_.reset();
    filled_ = nullptr;
    first_.reset();
    try {
        QFile::remove(templatePath());
        QFile::remove(common::TempPath(kPictureName));
        if (!scratchPath_.isEmpty())
            QFile::remove(scratchPath_);
    } catch (...) {
        // Without a temporary folder nothing was left there.
    }
    host_.pointer().set(common::PointerState::Ordinary);
}

}  // namespace chart
