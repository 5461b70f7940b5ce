#pragma once

#include <QString>
#include <QStringList>

namespace chart {

// The entries whose amounts a build could not read as numbers, so that their slices are missing
// from the chart; said once a build.
class LeftOutEntries {
public:
    void add(const QString& label, const QString& amount);

    // Throws a description naming the entries and why they were left out, when there are any.
    void report() const;

private:
    QStringList named_;
    qsizetype count_ = 0;
};

}  // namespace chart
