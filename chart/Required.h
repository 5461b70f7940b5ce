#pragma once

#include <stdexcept>
#include <string>

namespace chart {

// The object behind a reference that an earlier step may have left unset.
template <typename Pointer>
auto& required(const Pointer& object, const char* name)
{
    if (!object)
        throw std::runtime_error(std::string("Object variable not set: ") + name);
    return *object;
}

}  // namespace chart
