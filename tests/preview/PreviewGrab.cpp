// Shows the preview window with a generated sheet picture and saves grabs of it:
//     preview_grab <folder> [seconds to stay on screen]
#include "preview/Form2.h"

#include "platform/QtPlatform.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

namespace {

// A sheet-like picture, a small table beside a pie, drawn at the given width.
QImage sheetPicture(int width)
{
    const double scale = width / 820.0;
    QImage image(width, static_cast<int>(560 * scale), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    const QStringList labels{QStringLiteral("Stocks"), QStringLiteral("Bonds"), QStringLiteral("Cash"),
                             QStringLiteral("Property"), QStringLiteral("Gold"), QStringLiteral("Crypto")};
    const QList<int> amounts{40, 25, 10, 15, 6, 4};
    const QList<QColor> colours{QColor(0x4F81BD), QColor(0xC0504D), QColor(0x9BBB59), QColor(0x8064A2),
                                QColor(0x4BACC6), QColor(0xF79646)};
    painter.fillRect(10, 10, 250, 24, QColor(0x4F81BD));
    painter.setPen(Qt::white);
    painter.drawText(16, 27, QStringLiteral("Asset Type"));
    painter.drawText(160, 27, QStringLiteral("Amount"));
    int start = 90 * 16;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const int top = 34 + static_cast<int>(i) * 22;
        painter.fillRect(10, top, 250, 22, i % 2 ? QColor(0xB8CCE4) : QColor(0xDBE5F1));
        painter.setPen(Qt::black);
        painter.drawText(16, top + 16, labels[i]);
        painter.drawText(160, top + 16, QStringLiteral("$%1,000").arg(amounts[i]));
        const int span = -amounts[i] * 360 * 16 / 100;
        painter.setBrush(colours[i]);
        painter.setPen(Qt::white);
        painter.drawPie(QRect(330, 60, 440, 440), start, span);
        start += span;
    }
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("Arial"), 16, QFont::Bold));
    painter.drawText(QRect(330, 10, 440, 40), Qt::AlignCenter, QStringLiteral("Assets"));
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const int seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    platform::QtPlatform system;
    preview::Form2 form(system.platform(), [] {}, [] { QCoreApplication::quit(); });
    form.setPicture(sheetPicture(150));
    form.show();

    QTimer::singleShot(300, &form, [&] {
        for (int step = 0; step < 3; ++step)
            form.PushButton1_Click();
        form.grab().save(folder + QStringLiteral("/preview-small-zoomed.png"));
        form.hide();
        form.setPicture(sheetPicture(900));
        form.show();
        form.grab().save(folder + QStringLiteral("/preview-large.png"));
        form.HScroll1->setValue(form.HScroll1->maximum());
        form.VScroll1->setValue(form.VScroll1->maximum() / 2);
        form.grab().save(folder + QStringLiteral("/preview-large-scrolled.png"));
        form.HScroll1->setValue(0);
        form.VScroll1->setValue(0);
        QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    });
    return application.exec();
}
