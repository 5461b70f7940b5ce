#include "sheet/container/CompoundFile.h"

namespace sheet::container {
namespace {

char16_t upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool sameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

} // namespace

Entry* Entry::child(std::u16string_view childName)
{
    for (Entry& entry : children)
        if (sameName(entry.name, childName))
            return &entry;
    return nullptr;
}

const Entry* Entry::child(std::u16string_view childName) const
{
    return const_cast<Entry*>(this)->child(childName);
}

} // namespace sheet::container
