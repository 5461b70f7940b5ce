#include "platform/QtPlatform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPicture>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

sheet::render::SheetDrawing aDrawing()
{
    QPicture part;
    QPainter painter(&part);
    painter.fillRect(QRect(0, 0, 240, 120), Qt::white);
    painter.fillRect(QRect(20, 20, 80, 40), QColor(0x4F81BD));
    painter.drawText(QPointF(20, 100), QStringLiteral("My Assets"));
    painter.end();
    return {QSize(240, 120), {part}};
}

TEST(ClipboardOffer, CopyPictureOffersPngSvgAndQtsOwnImage)
{
    platform::QtClipboard clipboard;
    clipboard.offerPicture(aDrawing(), 2.0);
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    if (offered == nullptr || offered->formats().isEmpty())
        GTEST_SKIP() << "this platform plugin (" << QGuiApplication::platformName().toStdString()
                     << ") keeps no clipboard";

    EXPECT_TRUE(offered->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(offered->imageData()).size(), QSize(480, 240));
    ASSERT_TRUE(offered->hasFormat(QStringLiteral("image/png")));
    const QImage png = QImage::fromData(offered->data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(png.size(), QSize(480, 240)) << "the natural size times the pixel ratio";
    EXPECT_EQ(png.pixelColor(120, 80), QColor(0x4F81BD));

    ASSERT_TRUE(offered->hasFormat(QStringLiteral("image/svg+xml")));
    const QByteArray svg = offered->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains(">My Assets<"));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(240, 120));
}

}  // namespace
