#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace sheet::render {

// The text of a pie's data label: its parts (the category, the value, the percentage) joined by the
// chart's separator.
struct PieLabelText {
    QStringList parts;
    QString separator;

    QString joined() const { return parts.join(separator); }
    bool isEmpty() const { return parts.isEmpty(); }

    // Draws the label centred in `box` with the painter's font and pen. A label reads in the direction of
    // its first letter that has one, as a paragraph of its text would: one that reads right to left, as
    // one with an Arabic category, has its first part at the right and each further part to the left of
    // the one before. Its parts are then drawn one by one: a recorded drawing, when it is played, lays out
    // each run of text from left to right again, and would move the spaces between runs.
    void paint(QPainter& painter, const QRectF& box) const;
};

}  // namespace sheet::render
