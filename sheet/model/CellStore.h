#pragma once

#include "sheet/model/Cell.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace sheet::model {

// A sheet's cells, kept in one vector sorted by address. It looks up like a map; adding a cell after
// the last one costs no search and no move, which is how a sheet is mostly filled.
class CellStore {
public:
    using value_type = std::pair<CellAddress, Cell>;
    using Entries = std::vector<value_type>;
    using iterator = Entries::iterator;
    using const_iterator = Entries::const_iterator;
    using const_reverse_iterator = Entries::const_reverse_iterator;

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const_reverse_iterator rbegin() const { return entries_.rbegin(); }
    const_reverse_iterator rend() const { return entries_.rend(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    iterator lower_bound(const CellAddress& at);
    const_iterator lower_bound(const CellAddress& at) const;
    iterator find(const CellAddress& at);
    const_iterator find(const CellAddress& at) const;

    // The cell at `at`, added empty when there is none. Adding may move the other cells.
    Cell& operator[](const CellAddress& at);
    std::pair<iterator, bool> emplace(const CellAddress& at, Cell cell);
    iterator erase(const_iterator at);

    // Takes `entries` in any order as the cells; where an address comes more than once, the last
    // entry with it is the cell.
    void assign(Entries entries);

private:
    Entries entries_;
};

} // namespace sheet::model
