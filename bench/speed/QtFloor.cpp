// The least a picture drawn with Qt costs as a whole process: the GUI application with the offscreen
// platform, then one font matched and measured, and nothing drawn. `render` pays this before its
// own work; `dump` pays only the loading of the same libraries.

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const QFontMetricsF metrics(QFont(QStringLiteral("Arial"), 10));
    std::printf("%g\n", metrics.horizontalAdvance(QLatin1Char('0')));
    return 0;
}
