#include "QtPlatform.h"

#include "sheet/render/PictureEncoding.h"
#include "sheet/render/PictureExport.h"
#include "sheet/render/RangePicture.h"

#include "ApplicationTitle.h"
#include "SettingsFile.h"
#include "SettingsRescue.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QVariant>
#include <QSettings>
#include <QTemporaryFile>
#include <QTime>
#include <QDateTime>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace platform {

namespace {
QSettings openSettings() { return QSettings(QStringLiteral("Vantrel"), QStringLiteral("Tortelet Studio")); }

// The clipboard format of the program's own recorded drawings.
QString drawingMimeType() { return QStringLiteral("application/x-tortelet-drawing"); }

// A drawing on the clipboard that other programs may also take as a bitmap, drawn only then.
class OfferedDrawing final : public QMimeData {
public:
    explicit OfferedDrawing(sheet::render::SheetDrawing drawing) : drawing_(std::move(drawing)) {}

    QStringList formats() const override { return QMimeData::formats() << bitmapMimeType(); }
    bool hasFormat(const QString& mimeType) const override
    {
        return mimeType == bitmapMimeType() || QMimeData::hasFormat(mimeType);
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (mimeType == bitmapMimeType())
            return sheet::render::previewBitmap(drawing_);
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    static QString bitmapMimeType() { return QStringLiteral("application/x-qt-image"); }

    sheet::render::SheetDrawing drawing_;
};

// A picture offered to other programs as a PNG, an SVG and Qt's image. Each is made when a program
// first asks for it, so copying costs nothing until someone pastes.
class OfferedPicture final : public QMimeData {
public:
    OfferedPicture(sheet::render::SheetDrawing drawing, double pixelRatio)
        : drawing_(std::move(drawing)), pixelRatio_(pixelRatio)
    {
    }

    QStringList formats() const override { return {pngType(), svgType(), imageType()}; }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        try {
            if (mimeType == imageType())
                return bitmap();
            if (mimeType == pngType()) {
                if (png_.isEmpty())
                    png_ = sheet::render::encodePicture(bitmap(), "PNG");
                return png_;
            }
            if (mimeType == svgType()) {
                if (svg_.isEmpty())
                    svg_ = sheet::render::exportPicture(drawing_, sheet::render::PictureFormat::Svg);
                return svg_;
            }
        } catch (const std::exception&) {
            // A picture too large to draw offers nothing in that format.
        }
        return {};
    }

private:
    static QString pngType() { return QStringLiteral("image/png"); }
    static QString svgType() { return QStringLiteral("image/svg+xml"); }
    static QString imageType() { return QStringLiteral("application/x-qt-image"); }

    // The natural size times the pixel ratio, for the screen it was copied on.
    const QImage& bitmap() const
    {
        if (bitmap_.isNull()) {
            bitmap_ = sheet::render::rasterize(drawing_, pixelRatio_);
            bitmap_.setDevicePixelRatio(pixelRatio_);
        }
        return bitmap_;
    }

    sheet::render::SheetDrawing drawing_;
    double pixelRatio_;
    mutable QImage bitmap_;
    mutable QByteArray png_;
    mutable QByteArray svg_;
};

QMessageBox::StandardButton standardButton(Answer answer)
{
    switch (answer) {
    case AnswerYes: return QMessageBox::Yes;
    case AnswerNo: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}
}  // namespace

int QtMessageBoxes::show(const MessageRequest& request)
{
    QMessageBox box(request.icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    request.title.isEmpty() ? applicationTitle() : request.title, request.text);
    if (request.buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(standardButton(request.defaultButton));
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Yes: return AnswerYes;
    case QMessageBox::No: return AnswerNo;
    default: return AnswerOk;
    }
}

QString QtInputBoxes::ask(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    // Wide enough for the whole title beside the frame's buttons, and for the prompt.
    // The dialog takes its width from its layout, so the text field asks for it.
    const QFontMetrics metrics(dialog.font());
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMinimumWidth(std::max({320, metrics.horizontalAdvance(title) * 5 / 4 + 140, metrics.horizontalAdvance(prompt)}));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString qtFilter(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts.at(i);
    return names.join(QStringLiteral(";;"));
}

SaveAnswer QtSaveDialog::askSavePath(const QString& title, const QString& filter, const QString& startFolder)
{
    const QString filters = qtFilter(filter);
    QString chosen;
    SaveAnswer answer;
    answer.path = QFileDialog::getSaveFileName(QApplication::activeWindow(), title, startFolder, filters, &chosen,
                                               QFileDialog::DontConfirmOverwrite);
    answer.filter = std::max<int>(0, static_cast<int>(filters.split(QStringLiteral(";;")).indexOf(chosen)));
    return answer;
}

QString QtOpenDialog::askOpenPath(const QString& title, const QString& filter, const QString& startPath)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startPath, qtFilter(filter));
}

namespace {
// QSettings reads its files at the first question put to it; each is looked at before that.
void checkSettingsFiles()
{
    for (const QString& file : userSettingsFiles())
        checkSettingsFile(file);
}

std::string unreadableReason(QSettings::Status status)
{
    return status == QSettings::FormatError ? "it holds a format error" : "it cannot be read";
}

// The first of the user's settings files that QSettings cannot read in full, with the reason. Each is
// read alone first, as QSettings keeps a file it has read and reports its errors only once.
std::optional<std::pair<QString, std::string>> unreadableSettingsFile()
{
    for (const QString& file : userSettingsFiles()) {
        QSettings alone(file, QSettings::IniFormat);
        alone.allKeys();
        if (alone.status() != QSettings::NoError)
            return std::pair(file, unreadableReason(alone.status()));
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> QtSettingsStore::read(const QString& key)
{
    problem_.clear();
    for (const QString& file : userSettingsFiles()) {
        try {
            checkSettingsFile(file);
        } catch (const std::runtime_error& refusal) {
            problem_ = refusal.what();
            if (QFileInfo(file).isFile())
                problem_ += "; it was not read, and " + keptAs(file);
            return std::nullopt;
        }
    }
    auto damaged = unreadableSettingsFile();
    QSettings settings = openSettings();
    std::optional<QString> value;
    if (settings.contains(key))
        value = settingsText(settings.value(key));
    if (!damaged && settings.status() != QSettings::NoError)
        damaged = std::pair(settings.fileName(), unreadableReason(settings.status()));
    if (damaged) {
        const auto& [file, reason] = *damaged;
        if (!value)
            value = valueFromOwnLine(file, key);
        problem_ = "The settings file " + file.toStdString() + " could not be read in full (" + reason +
                   "). What could be read from it is used, and " + keptAs(file);
    }
    return value;
}

void QtSettingsStore::checkLastRead()
{
    if (!problem_.empty())
        throw std::runtime_error(problem_);
}

// Keeps a damaged file, once a run, before a later write replaces it, and says where.
std::string QtSettingsStore::keptAs(const QString& file)
{
    auto copy = keptCopies_.find(file);
    if (copy == keptCopies_.end()) {
        try {
            copy = keptCopies_.emplace(file, keepUnreadableFile(file, QDateTime::currentDateTime())).first;
        } catch (const std::runtime_error&) {
            return "no copy of it could be kept";
        }
    }
    return "the file as it was is kept as " + copy->second.toStdString();
}

// QSettings keeps what it once read of a path, damage included, so the fresh file is written under a
// name of its own and then put in the damaged one's place.
void QtSettingsStore::writeAfresh(const QString& own, const QString& key, const QString& value)
{
    const std::string kept = keptAs(own);
    if (!keptCopies_.contains(own))
        throw std::runtime_error("The damaged settings file " + own.toStdString() + " was not replaced, as " + kept);
    QTemporaryFile fresh(own + QStringLiteral(".XXXXXX"));
    if (!fresh.open())
        throw std::runtime_error("The settings could not be written beside " + own.toStdString());
    fresh.close();
    {
        QSettings writing(fresh.fileName(), QSettings::IniFormat);
        writing.setValue(key, value);
        writing.sync();
        if (writing.status() != QSettings::NoError)
            throw std::runtime_error("The settings could not be written to " + fresh.fileName().toStdString());
    }
    if ((QFileInfo::exists(own) && !QFile::remove(own)) || !fresh.rename(own))
        throw std::runtime_error("The damaged settings file " + own.toStdString() + " could not be replaced; " + kept);
    fresh.setAutoRemove(false);
    keptCopies_.erase(own);
}

void QtSettingsStore::write(const QString& key, const QString& value)
{
    checkSettingsFiles();
    // A damaged file of the program's own is started afresh, once kept, so that what could not be
    // read does not live on beside what the program writes.
    // QSettings tells of damage only at its first reading, so what a read kept counts as well.
    const QString own = openSettings().fileName();
    const auto damaged = unreadableSettingsFile();
    if (keptCopies_.contains(own) || (damaged && damaged->first == own))
        return writeAfresh(own, key, value);
    // A format error in what was there before stays with the reading object, so the status of the
    // writing one, which shares what was read, tells of the write alone.
    QSettings reading = openSettings();
    reading.allKeys();
    QSettings settings = openSettings();
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw std::runtime_error("The settings could not be written to " + settings.fileName().toStdString());
}

QImage QtClipboard::image() { return QGuiApplication::clipboard()->image(); }

void QtClipboard::setImage(const QImage& image) { QGuiApplication::clipboard()->setImage(image); }

sheet::render::SheetDrawing QtClipboard::drawing()
{
    const QMimeData* current = QGuiApplication::clipboard()->mimeData();
    if (current == nullptr || !current->hasFormat(drawingMimeType()))
        return {};
    return sheet::render::SheetDrawing::fromBytes(current->data(drawingMimeType()));
}

void QtClipboard::setPicture(const sheet::render::SheetDrawing& drawing)
{
    auto offered = std::make_unique<OfferedDrawing>(drawing);
    offered->setData(drawingMimeType(), drawing.toBytes());
    QGuiApplication::clipboard()->setMimeData(offered.release());
}

void QtClipboard::offerPicture(const sheet::render::SheetDrawing& drawing, double pixelRatio)
{
    if (drawing.isEmpty())
        throw std::runtime_error("There is no picture to copy");
    QGuiApplication::clipboard()->setMimeData(new OfferedPicture(drawing, pixelRatio));
}

std::unique_ptr<QMimeData> QtClipboard::snapshot()
{
    const QMimeData* current = QGuiApplication::clipboard()->mimeData();
    if (current == nullptr || current->formats().isEmpty())
        return nullptr;
    auto copy = std::make_unique<QMimeData>();
    for (const QString& format : current->formats())
        copy->setData(format, current->data(format));
    return copy;
}

void QtClipboard::restore(std::unique_ptr<QMimeData> content)
{
    if (content)
        QGuiApplication::clipboard()->setMimeData(content.release());
    else
        QGuiApplication::clipboard()->clear();
}

PictureSaveAnswer QtPictureDialogs::askPicturePath(const PictureSaveRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.startPath, request.filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension takes the selected filter's.
    const auto suffixOf = [](const QString& filter) {
        const qsizetype dot = filter.lastIndexOf(QStringLiteral("(*."));
        return dot < 0 ? QString() : filter.mid(dot + 3).chopped(1);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.selectNameFilter(request.chosenFilter);
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

void QtPictureDialogs::print(const PrintRequest& request)
{
    QPrinter printer;
    printer.setResolution(request.dotsPerInch);
    printer.setDocName(request.documentName);
    printer.setPageOrientation(request.orientation);
    // The painting runs inside the dialog's event loop, which no exception may cross.
    std::exception_ptr failure;
    const auto paint = [&](QPrinter& target) {
        try {
            request.paint(target);
        } catch (...) {
            failure = std::current_exception();
        }
    };
#if QT_CONFIG(printpreviewdialog)
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(request.documentName);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) { paint(*target); });
    dialog.exec();
#else
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() == QDialog::Accepted)
        paint(printer);
#endif
    if (failure)
        std::rethrow_exception(failure);
}

void QtLauncher::openUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtRandomness::seed(std::uint32_t value) { plain_.seed(value); }

double QtRandomness::fraction() { return plain_.generateDouble(); }

std::uint32_t QtRandomness::strong(std::uint32_t bound) { return QRandomGenerator::system()->bounded(bound); }

int QtClock::secondsSinceMidnight() { return QTime(0, 0).secsTo(QTime::currentTime()); }

Platform QtPlatform::platform()
{
    return Platform{messages_, inputs_, saveDialog_, settings_, clipboard_, launcher_, random_, clock_, pictureDialogs_,
                    openDialog_};
}

}  // namespace platform
