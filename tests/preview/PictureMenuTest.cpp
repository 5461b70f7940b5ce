#include "PreviewFixture.h"
#include "SampleWorkbook.h"

#include "preview/PrintLayout.h"
#include "sheet/render/RangePicture.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <optional>
#include <string>

namespace {

using preview_testing::PreviewFixture;
using testing_support::control;

const QString pngAt2 = QStringLiteral("PNG Image, 2\u00D7 (*.png)");
const QString svgFilter = QStringLiteral("SVG Image (*.svg)");
const QString pdfFilter = QStringLiteral("PDF Document (*.pdf)");

std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// The smallest rectangle that holds every pixel that is not near white.
QRect inked(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 230)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

class PictureMenuTest : public PreviewFixture {
protected:
    // The sample chart, delivered and shown, zoomed in once so that the viewport holds only part of it.
    preview::Form2& shownAndZoomed()
    {
        form().setPicture(platform::Picture(drawing));
        form().show();
        QApplication::setActiveWindow(&form());
        control<QPushButton>(form(), "PushButton1")->click();
        return form();
    }
    QWidget* picture() { return control<QWidget>(form(), "Picture1"); }

    const sheet::render::SheetDrawing drawing =
        sheet::render::recordSheet(render_testing::sampleWorkbook(render_testing::sampleEntries()), 0);
};

TEST_F(PictureMenuTest, TheRightClickMenuAndTheKeysReachTheirCommands)
{
    preview::Form2& window = shownAndZoomed();
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            offered << action->text();
        menu->actions().value(0)->trigger();
        menu->close();
    });
    QTest::mouseClick(picture(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(offered, (QStringList{"Copy Picture", "Export Picture\u2026", "Print\u2026", "", "Fit"}));
    EXPECT_EQ(system.clipboard.offered.size, drawing.size) << "the whole picture at its natural size";
    EXPECT_EQ(system.clipboard.offeredRatio, window.devicePixelRatioF());

    // A drag with the right button pans the picture, as any button does, and opens no menu.
    const QPoint before = picture()->pos();
    bool menuOpened = false;
    QTimer::singleShot(0, [&menuOpened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuOpened = true;
            popup->close();
        }
    });
    QTest::mousePress(picture(), Qt::RightButton, {}, QPoint(60, 60));
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 40), picture()->mapToGlobal(QPointF(30, 40)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(picture(), &drag);
    QTest::mouseRelease(picture(), Qt::RightButton, {}, QPoint(30, 40));
    QCoreApplication::processEvents();
    EXPECT_NE(picture()->pos(), before);
    EXPECT_FALSE(menuOpened);

    system.clipboard.offered = {};
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(system.clipboard.offered.size, drawing.size);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(system.pictureDialogs.saveRequests.size(), 2u);
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(system.pictureDialogs.orientations.size(), 1u);
    EXPECT_EQ(system.pictureDialogs.orientations[0], QPageLayout::Landscape) << "the chart is wider than tall";
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(PictureMenuTest, ExportWritesTheWholePictureAndRemembersTheFolderAndFormat)
{
    shownAndZoomed();
    const QString svg = path(QStringLiteral("chart"));
    system.pictureDialogs.answers = {{svg, svgFilter}, {path(QStringLiteral("big.png")), pngAt2},
                                     {path(QStringLiteral("zoomed.PNG")), QStringLiteral("PNG Image, 1.25\u00D7 as zoomed (*.png)")},
                                     {path(QStringLiteral("missing/x.pdf")), pdfFilter}};
    QFile old(path(QStringLiteral("big.png")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("replace me");
    old.close();
    for (int k = 0; k < 4; ++k)
        picture()->actions().at(1)->trigger();

    const auto& asked = system.pictureDialogs.saveRequests;
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].title, QStringLiteral("Export Picture"));
    EXPECT_EQ(asked[0].filters, (QStringList{"PNG Image, 1\u00D7 (*.png)", pngAt2, "PNG Image, 3\u00D7 (*.png)",
                                             "PNG Image, 1.25\u00D7 as zoomed (*.png)", svgFilter, pdfFilter}));
    EXPECT_EQ(asked[0].chosenFilter, pngAt2);
    EXPECT_EQ(asked[1].startPath, folder.path() + QStringLiteral("/Pie Chart"));
    EXPECT_EQ(asked[1].chosenFilter, svgFilter);

    QSvgRenderer renderer(path(QStringLiteral("chart.svg")));
    EXPECT_TRUE(renderer.isValid()) << "the SVG filter adds its extension";
    EXPECT_EQ(renderer.defaultSize(), drawing.size);
    EXPECT_EQ(QImage(path(QStringLiteral("big.png"))).size(), drawing.size * 2);
    EXPECT_EQ(QImage(path(QStringLiteral("zoomed.PNG"))).size(), QSize(std::ceil(drawing.size.width() * 1.25), std::ceil(drawing.size.height() * 1.25)));

    ASSERT_EQ(system.messages.shown.size(), 1u) << "the unwritable file is reported and the program goes on";
    EXPECT_TRUE(system.messages.shown[0].text.contains(QStringLiteral("Form2.mnuExportPicture_Click")))
        << system.messages.shown[0].text.toStdString();
}

TEST_F(PictureMenuTest, PrintingFitsTheWholePictureOnThePage)
{
    shownAndZoomed();
    system.pictureDialogs.printFile = path(QStringLiteral("printed.pdf"));
    picture()->actions().at(2)->trigger();
    ASSERT_TRUE(system.messages.shown.empty()) << system.messages.shown[0].text.toStdString();

    const auto text = run(QStringLiteral("pdftotext"), {system.pictureDialogs.printFile, QStringLiteral("-")});
    ASSERT_TRUE(text) << "pdftotext refused the printed file";
    EXPECT_TRUE(text->contains(QStringLiteral("My Assets")));
    for (const render_testing::Entry& entry : render_testing::sampleEntries())
        EXPECT_TRUE(text->contains(QString::fromStdString(entry.first))) << entry.first;

    ASSERT_TRUE(run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("48"),
                                                 QStringLiteral("-singlefile"), system.pictureDialogs.printFile,
                                                 path(QStringLiteral("page"))}));
    const QImage page(path(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height()) << "a wide picture is printed across a landscape page";
    // The printed ink is the picture's own, scaled as one: nothing cut off, proportions kept, and
    // the picture as wide as the page less its margins.
    const QRect ink = inked(page);
    const QRect own = inked(sheet::render::rasterize(drawing));
    const double scale = double(ink.width()) / own.width();
    EXPECT_NEAR(ink.height(), own.height() * scale, 3);
    EXPECT_GT(ink.left(), 0);
    EXPECT_GT(ink.top(), 0);
    EXPECT_LT(ink.right(), page.width() - 1);
    EXPECT_LT(ink.bottom(), page.height() - 1);
    EXPECT_GT(drawing.size.width() * scale, page.width() * 0.8);
    EXPECT_LE(drawing.size.width() * scale, page.width());
}

struct Placing {
    const char* name;
    QSizeF picture;
    QRectF printable;
    QPageLayout::Orientation orientation;
    QRectF placed;
};

class PrintLayoutTest : public ::testing::TestWithParam<Placing> {};

TEST_P(PrintLayoutTest, FitsKeepingProportionsInTheMiddle)
{
    const preview::PrintLayout layout(GetParam().picture);
    EXPECT_EQ(layout.orientation(), GetParam().orientation);
    EXPECT_EQ(layout.placeOn(GetParam().printable), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PrintLayoutTest,
    ::testing::Values(Placing{"Wide", {800, 400}, {0, 0, 1000, 700}, QPageLayout::Landscape, {0, 100, 1000, 500}},
                      Placing{"Tall", {300, 900}, {0, 0, 700, 1000}, QPageLayout::Portrait,
                              {183.33333333333334, 0, 333.3333333333333, 1000}},
                      Placing{"SmallEnlarged", {50, 50}, {10, 10, 400, 200}, QPageLayout::Portrait, {110, 10, 200, 200}},
                      Placing{"Empty", {0, 50}, {0, 0, 400, 200}, QPageLayout::Portrait, {}}),
    [](const ::testing::TestParamInfo<Placing>& info) { return std::string(info.param.name); });

}  // namespace
