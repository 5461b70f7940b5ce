#include "sheet/model/CellStore.h"

#include "sheet/Errors.h"

#include <algorithm>
#include <string>

namespace sheet::model {
namespace {

using Slot = CellStore::Slot;

int width(const Slot& slot) { return slot.lastColumn - slot.column + 1; }

// Whether the slot lies wholly before the address.
bool slotBefore(const Slot& slot, const CellAddress& at)
{
    return slot.row < at.row || (slot.row == at.row && slot.lastColumn < at.column);
}

bool holds(const Slot& slot, const CellAddress& at)
{
    return slot.row == at.row && slot.column <= at.column && at.column <= slot.lastColumn;
}

Slot cellSlot(const CellAddress& at, const Cell& cell)
{
    return Slot{static_cast<std::uint16_t>(at.row), static_cast<std::uint8_t>(at.column),
                static_cast<std::uint8_t>(at.column), cell};
}

Slot blankSlot(int row, int column, std::uint16_t xf)
{
    Cell blank;
    blank.xf = xf;
    return cellSlot(CellAddress{row, column}, blank);
}

// The blank cell of each format, which the cells of runs refer to.
const Cell& blankCell(std::uint16_t xf)
{
    static const std::vector<Cell> blanks = [] {
        std::vector<Cell> all(0x10000);
        for (std::size_t k = 0; k < all.size(); ++k)
            all[k].xf = static_cast<std::uint16_t>(k);
        return all;
    }();
    return blanks[xf];
}

void checkAddress(const CellAddress& at)
{
    if (at.row < 0 || at.row >= CellStore::Rows || at.column < 0 || at.column >= CellStore::Columns)
        throw ArgumentError("no cell lies at row " + std::to_string(at.row + 1) + ", column "
                            + std::to_string(at.column + 1) + " of a sheet");
}

} // namespace

CellStore::Slot CellStore::blankRun(int row, int column, int lastColumn, std::uint32_t firstFormat)
{
    Slot run{static_cast<std::uint16_t>(row), static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(lastColumn), {}};
    run.cell.value_[0] = firstFormat;
    return run;
}

const Cell& CellStore::cellOf(const Slot& slot, int offset) const
{
    if (width(slot) == 1)
        return slot.cell;
    return blankCell(runFormats_[slot.cell.value_[0] + static_cast<std::uint32_t>(offset)]);
}

CellStore::const_iterator& CellStore::const_iterator::operator++()
{
    const Slot& slot = store_->slots_[slot_];
    if (slot.column + offset_ < slot.lastColumn) {
        ++offset_;
    } else {
        ++slot_;
        offset_ = 0;
    }
    return *this;
}

CellStore::const_iterator& CellStore::const_iterator::operator--()
{
    if (offset_ > 0) {
        --offset_;
    } else {
        --slot_;
        offset_ = width(store_->slots_[slot_]) - 1;
    }
    return *this;
}

int CellStore::const_iterator::runLength() const
{
    return width(store_->slots_[slot_]) - offset_;
}

std::size_t CellStore::slotIndex(const CellAddress& at) const
{
    return static_cast<std::size_t>(std::lower_bound(slots_.begin(), slots_.end(), at, slotBefore) - slots_.begin());
}

CellStore::const_iterator CellStore::lower_bound(const CellAddress& at) const
{
    const std::size_t index = slotIndex(at);
    if (index < slots_.size() && holds(slots_[index], at))
        return {this, index, at.column - slots_[index].column};
    return {this, index, 0};
}

CellStore::const_iterator CellStore::find(const CellAddress& at) const
{
    const std::size_t index = slotIndex(at);
    if (index < slots_.size() && holds(slots_[index], at))
        return {this, index, at.column - slots_[index].column};
    return end();
}

std::size_t CellStore::takeOutOfRun(std::size_t index, int column)
{
    const Slot run = slots_[index];
    const std::uint32_t first = run.cell.value_[0];
    // The cells from `from` to `to` of the run, as a run or a cell of their own.
    const auto piece = [&](int from, int to) {
        const std::uint32_t format = first + static_cast<std::uint32_t>(from - run.column);
        return from == to ? blankSlot(run.row, from, runFormats_[format]) : blankRun(run.row, from, to, format);
    };
    Slots pieces;
    if (column > run.column)
        pieces.push_back(piece(run.column, column - 1));
    const std::size_t taken = index + pieces.size();
    pieces.push_back(piece(column, column));
    if (column < run.lastColumn)
        pieces.push_back(piece(column + 1, run.lastColumn));
    slots_[index] = pieces.front();
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(index) + 1, pieces.begin() + 1, pieces.end());
    return taken;
}

Cell& CellStore::operator[](const CellAddress& at)
{
    checkAddress(at);
    if (slots_.empty() || slotBefore(slots_.back(), at)) {
        ++count_;
        return slots_.emplace_back(cellSlot(at, Cell{})).cell;
    }
    const std::size_t index = slotIndex(at);
    if (holds(slots_[index], at))
        return slots_[width(slots_[index]) == 1 ? index : takeOutOfRun(index, at.column)].cell;
    ++count_;
    return slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(index), cellSlot(at, Cell{}))->cell;
}

void CellStore::erase(const CellAddress& at)
{
    std::size_t index = slotIndex(at);
    if (index == slots_.size() || !holds(slots_[index], at))
        return;
    if (width(slots_[index]) > 1)
        index = takeOutOfRun(index, at.column);
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(index));
    --count_;
}

CellStore::Slots CellStore::sorted(Slots slots) const
{
    // The slots in address order, by their places in `slots` sorted: runs stay runs, and a slot costs
    // four bytes more while it is sorted, not the cells of its run.
    std::vector<std::uint32_t> order(slots.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<std::uint32_t>(k);
    const auto before = [&slots](std::uint32_t a, std::uint32_t b) {
        return slots[a].row < slots[b].row || (slots[a].row == slots[b].row && slots[a].column < slots[b].column);
    };
    std::stable_sort(order.begin(), order.end(), before);

    Slots result;
    result.reserve(slots.size());
    for (std::size_t k = 0; k < order.size();) {
        // Slots of one row whose columns overlap are taken apart: each address is the cell of the
        // slot read last that holds it.
        const Slot& first = slots[order[k]];
        int lastColumn = first.lastColumn;
        std::size_t end = k + 1;
        for (; end < order.size() && slots[order[end]].row == first.row && slots[order[end]].column <= lastColumn; ++end)
            lastColumn = std::max<int>(lastColumn, slots[order[end]].lastColumn);
        if (end == k + 1) {
            result.push_back(first);
            k = end;
            continue;
        }
        for (int column = first.column; column <= lastColumn; ++column) {
            const Slot* holder = nullptr;
            std::uint32_t read = 0;
            for (std::size_t m = k; m < end; ++m) {
                const Slot& slot = slots[order[m]];
                if (holds(slot, CellAddress{slot.row, column}) && (!holder || order[m] >= read)) {
                    holder = &slot;
                    read = order[m];
                }
            }
            if (holder)
                result.push_back(cellSlot(CellAddress{holder->row, column}, cellOf(*holder, column - holder->column)));
        }
        k = end;
    }
    return result;
}

void CellStore::assign(Slots slots, RunFormats runFormats)
{
    runFormats_ = std::move(runFormats);
    const auto ordered = [](const Slot& a, const Slot& b) {
        return a.row < b.row || (a.row == b.row && a.lastColumn < b.column);
    };
    // One pass over the slots sees whether they are in order and counts their cells.
    bool inOrder = true;
    count_ = slots.empty() ? 0 : static_cast<std::size_t>(width(slots.front()));
    for (std::size_t next = 1; next < slots.size(); ++next) {
        inOrder = inOrder && ordered(slots[next - 1], slots[next]);
        count_ += static_cast<std::size_t>(width(slots[next]));
    }
    if (!inOrder) {
        slots = sorted(std::move(slots));
        count_ = 0;
        for (const Slot& slot : slots)
            count_ += static_cast<std::size_t>(width(slot));
    }
    slots_ = std::move(slots);
}

} // namespace sheet::model
