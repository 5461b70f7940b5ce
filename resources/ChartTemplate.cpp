#include "ChartTemplate.h"

#include <QFile>

#include <stdexcept>

namespace resources {

QByteArray chartTemplate()
{
    QFile file(QStringLiteral(":/templates/pie-chart.xlt"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The built-in chart template :/templates/pie-chart.xlt is missing");
    return file.readAll();
}

}  // namespace resources
