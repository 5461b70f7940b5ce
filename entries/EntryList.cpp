#include "EntryList.h"

#include "common/Twips.h"

#include <QTreeWidget>

#include <stdexcept>

namespace entries {

namespace {
// The most of a text a row shows: a longer one is shown cut, with a mark, and kept whole beside it, so that a
// huge stored label neither stalls the list's drawing nor loses a character.
constexpr qsizetype kMostShown = 1000;

void setCell(QTreeWidgetItem& item, int column, const QString& text)
{
    item.setText(column, text.size() > kMostShown ? text.left(kMostShown) + QChar(0x2026) : text);
    item.setData(column, Qt::UserRole, text);
}

QString cell(const QTreeWidgetItem& item, int column) { return item.data(column, Qt::UserRole).toString(); }
}  // namespace

EntryList::EntryList(QTreeWidget& view) : view_(view) {}

void EntryList::CreateColumns()
{
    view_.setColumnCount(2);
    view_.setHeaderLabels({QStringLiteral("Label"), QStringLiteral("Number (Value)")});
    view_.setColumnWidth(0, common::twipsToPixels(5000));
    view_.setColumnWidth(1, common::twipsToPixels(2000));
}

int EntryList::count() const { return view_.topLevelItemCount(); }

void EntryList::checkRow(int row) const
{
    if (row < 1 || row > count())
        throw std::out_of_range("Index out of bounds: the list has no row " + std::to_string(row));
}

QString EntryList::label(int row) const
{
    checkRow(row);
    return cell(*view_.topLevelItem(row - 1), 0);
}

QString EntryList::amount(int row) const
{
    checkRow(row);
    return cell(*view_.topLevelItem(row - 1), 1);
}

std::vector<Entry> EntryList::rows() const
{
    std::vector<Entry> result;
    result.reserve(static_cast<std::size_t>(count()));
    for (int row = 1; row <= count(); ++row)
        result.push_back({label(row), amount(row)});
    return result;
}

int EntryList::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = view_.selectedItems();
    if (selected.isEmpty())
        throw std::runtime_error("Object variable not set: the list has no selected item");
    return view_.indexOfTopLevelItem(selected.first()) + 1;
}

int EntryList::appendLabel(const QString& label)
{
    auto* item = new QTreeWidgetItem(&view_);
    setCell(*item, 0, label);
    return count();
}

void EntryList::setLabel(int row, const QString& label)
{
    checkRow(row);
    setCell(*view_.topLevelItem(row - 1), 0, label);
}

void EntryList::setAmount(int row, const QString& amount)
{
    checkRow(row);
    setCell(*view_.topLevelItem(row - 1), 1, amount);
}

void EntryList::remove(int row)
{
    checkRow(row);
    delete view_.takeTopLevelItem(row - 1);
}

void EntryList::clear() { view_.clear(); }

void EntryList::setRows(const std::vector<Entry>& rows)
{
    clear();
    for (const Entry& entry : rows)
        AppendEntry(entry.label, entry.amount);
}

void EntryList::select(int row)
{
    checkRow(row);
    QTreeWidgetItem* item = view_.topLevelItem(row - 1);
    view_.clearSelection();
    view_.setCurrentItem(item);
    item->setSelected(true);
    view_.scrollToItem(item);
}

void EntryList::AppendEntry(const QString& label, const QString& amount)
{
    const int row = appendLabel(label);
    setAmount(row, amount);
}

}  // namespace entries
