#include "ApplicationTitle.h"

namespace platform {
namespace {
QString& storedTitle()
{
    static QString title;
    return title;
}
}  // namespace

void setApplicationTitle(const QString& title) { storedTitle() = title; }

QString applicationTitle() { return storedTitle(); }

}  // namespace platform
