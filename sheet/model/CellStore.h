#pragma once

#include "sheet/model/Cell.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace sheet::model {

// A sheet's cells, kept in one vector sorted by address, 16 bytes to a cell; a run of formatted blank
// cells on a row, as a MULBLANK record brings them, takes 16 bytes and the 2 bytes of each cell's format.
// It looks up like a map whose entries are made as they are read: an entry holds the address and a
// reference to a cell that lasts as long as the store, for a blank of a run the one blank cell of its
// format. Adding a cell after the last one costs no search and no move, which is how a sheet is mostly
// filled.
class CellStore {
public:
    static constexpr int Rows = 65536;
    static constexpr int Columns = 256;

    // A cell of its own, or with lastColumn > column a run of blank cells whose formats lie in the
    // store's list of run formats from the index that `cell` holds.
    struct Slot {
        std::uint16_t row = 0;
        std::uint8_t column = 0;
        std::uint8_t lastColumn = 0;
        Cell cell;
    };
    using Slots = std::vector<Slot>;
    using RunFormats = std::vector<std::uint16_t>;

    // The slot of a run whose formats start at `firstFormat` of the run formats; lastColumn > column.
    static Slot blankRun(int row, int column, int lastColumn, std::uint32_t firstFormat);

    using value_type = std::pair<CellAddress, Cell>;
    using reference = std::pair<CellAddress, const Cell&>;

    // Steps through the cells in address order, the cells of a run one by one.
    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = CellStore::value_type;
        using difference_type = std::ptrdiff_t;
        using reference = CellStore::reference;
        struct pointer {
            reference entry;
            const reference* operator->() const { return &entry; }
        };

        const_iterator() = default;
        reference operator*() const
        {
            const Slot& slot = store_->slots_[slot_];
            return {CellAddress{slot.row, slot.column + offset_}, store_->cellOf(slot, offset_)};
        }
        pointer operator->() const { return pointer{**this}; }
        const_iterator& operator++();
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        const_iterator& operator--();
        const_iterator operator--(int)
        {
            const_iterator before = *this;
            --*this;
            return before;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

        // The cells from this one to the end of its run: 1 for a cell of its own.
        int runLength() const;

    private:
        friend class CellStore;
        const_iterator(const CellStore* store, std::size_t slot, int offset) : store_(store), slot_(slot), offset_(offset) {}

        const CellStore* store_ = nullptr;
        std::size_t slot_ = 0;
        int offset_ = 0;
    };
    using iterator = const_iterator;

    const_iterator begin() const { return {this, 0, 0}; }
    const_iterator end() const { return {this, slots_.size(), 0}; }
    bool empty() const { return slots_.empty(); }
    // The cells, those of runs counted one by one.
    std::size_t size() const { return count_; }
    // The last cell; the store must not be empty.
    reference back() const { return *std::prev(end()); }

    const_iterator lower_bound(const CellAddress& at) const;
    const_iterator find(const CellAddress& at) const;

    // The cell at `at`, to be changed; added empty when there is none, taken out of its run when it
    // has one. Adding may move the other cells. Throws ArgumentError for an address off the sheet.
    Cell& operator[](const CellAddress& at);
    // Removes the cell at `at`, when there is one.
    void erase(const CellAddress& at);

    // Takes `slots` in any order as the cells, their runs with `runFormats`; where an address comes
    // more than once, the last slot that holds it gives the cell.
    void assign(Slots slots, RunFormats runFormats);

private:
    // The slots in address order; see assign.
    Slots sorted(Slots slots) const;
    // The cell of a slot, `offset` cells into a run.
    const Cell& cellOf(const Slot& slot, int offset) const;
    std::size_t slotIndex(const CellAddress& at) const;
    // Splits the run at `index` so that `column` is a cell of its own; returns that cell's slot.
    std::size_t takeOutOfRun(std::size_t index, int column);

    Slots slots_;
    RunFormats runFormats_;
    std::size_t count_ = 0;
};

} // namespace sheet::model
