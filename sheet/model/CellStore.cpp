#include "sheet/model/CellStore.h"

#include <algorithm>

namespace sheet::model {
namespace {

bool addressBefore(const CellStore::value_type& entry, const CellAddress& at)
{
    return entry.first < at;
}

} // namespace

CellStore::iterator CellStore::lower_bound(const CellAddress& at)
{
    return std::lower_bound(entries_.begin(), entries_.end(), at, addressBefore);
}

CellStore::const_iterator CellStore::lower_bound(const CellAddress& at) const
{
    return std::lower_bound(entries_.begin(), entries_.end(), at, addressBefore);
}

CellStore::iterator CellStore::find(const CellAddress& at)
{
    const auto found = lower_bound(at);
    return found != end() && found->first == at ? found : end();
}

CellStore::const_iterator CellStore::find(const CellAddress& at) const
{
    const auto found = lower_bound(at);
    return found != end() && found->first == at ? found : end();
}

Cell& CellStore::operator[](const CellAddress& at)
{
    return emplace(at, Cell{}).first->second;
}

std::pair<CellStore::iterator, bool> CellStore::emplace(const CellAddress& at, Cell cell)
{
    if (entries_.empty() || entries_.back().first < at) {
        entries_.emplace_back(at, std::move(cell));
        return {std::prev(entries_.end()), true};
    }
    const auto place = lower_bound(at);
    if (place != end() && place->first == at)
        return {place, false};
    return {entries_.emplace(place, at, std::move(cell)), true};
}

CellStore::iterator CellStore::erase(const_iterator at)
{
    return entries_.erase(at);
}

void CellStore::assign(Entries entries)
{
    const auto notBefore = [](const value_type& a, const value_type& b) { return !(a.first < b.first); };
    if (std::adjacent_find(entries.begin(), entries.end(), notBefore) != entries.end()) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const value_type& a, const value_type& b) { return a.first < b.first; });
        // Of the entries with one address, the last one is the cell.
        auto kept = entries.begin();
        for (auto next = std::next(kept); next != entries.end(); ++next) {
            if (next->first != kept->first)
                ++kept;
            if (kept != next)
                *kept = std::move(*next);
        }
        entries.erase(std::next(kept), entries.end());
    }
    entries_ = std::move(entries);
}

} // namespace sheet::model
