#pragma once

#include "Entry.h"

#include <vector>

class QTreeWidget;

namespace entries {

// The entry list is the rows of the main window's list control; this reads and changes them.
// Rows are numbered from 1 in display order.
class EntryList {
public:
    explicit EntryList(QTreeWidget& view);

    // Adds the two columns "Label" and "Number (Value)".
    void CreateColumns();

    int count() const;
    QString label(int row) const;
    QString amount(int row) const;
    std::vector<Entry> rows() const;

    // The selected row; throws when the list reports none.
    int selectedRow() const;

    // Adds a row holding the label after the last one and returns its number.
    int appendLabel(const QString& label);
    void setLabel(int row, const QString& label);
    void setAmount(int row, const QString& amount);
    void remove(int row);
    void clear();
    // Makes the list exactly these rows.
    void setRows(const std::vector<Entry>& rows);
    // Selects the row, gives it the focus frame and scrolls it into view.
    void select(int row);

    // Adds a row after the last one: first its label, then its amount.
    void AppendEntry(const QString& label, const QString& amount);

    // The locale ("de_DE") whose numbers the amounts were last typed in; empty when unknown. A build
    // reads an amount that the person's present locale does not read as a number in this one.
    QString amountLocale() const { return amountLocale_; }
    void setAmountLocale(const QString& name) { amountLocale_ = name; }

private:
    void checkRow(int row) const;

    QTreeWidget& view_;
    QString amountLocale_;
};

}  // namespace entries
