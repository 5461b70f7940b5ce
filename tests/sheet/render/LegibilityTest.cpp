#include "SampleWorkbook.h"

#include "sheet/render/RangePicture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace render_testing;

namespace {

// Reads a picture's text back with tesseract: labels and amounts must be legible.
TEST(Legibility, TesseractReadsTheLabelsAndAmounts)
{
    const QString tesseract = QStandardPaths::findExecutable("tesseract");
    if (tesseract.isEmpty())
        GTEST_SKIP() << "tesseract is not installed";
    const auto wb = sampleWorkbook(sampleEntries());
    const QImage picture = sheet::render::drawRange(wb, 0, {2, 0, 8, 1}, {3.0});
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("range.png");
    ASSERT_TRUE(picture.save(path));

    QProcess process;
    process.start(tesseract, {path, "stdout", "--psm", "6"});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char* expected : {"Savings", "Stocks", "House", "Car", "25,000", "250,000", "7,500"})
        EXPECT_TRUE(text.contains(expected)) << expected << " not in:\n" << text.toStdString();
}

}  // namespace
