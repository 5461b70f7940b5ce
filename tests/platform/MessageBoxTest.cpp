#include "platform/QtPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBox, ShowsTheTextAsPlainText)
{
    platform::MessageRequest request;
    request.text = QStringLiteral("<b>Disk</b> full\r\nin Torvane2021/08/31.Form1.Form_Load at line 104\r\rPlease email");
    request.icon = platform::Icon::Warning;
    request.title = QStringLiteral("Application Error");
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            format = box->textFormat();
            shown = box->text();
            box->accept();
        }
    });
    poll.start(10);
    EXPECT_EQ(platform::QtMessageBoxes().show(request), platform::AnswerOk);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, request.text);
}

}  // namespace
