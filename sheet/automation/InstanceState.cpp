#include "sheet/automation/InstanceState.h"

#include "sheet/Errors.h"

namespace sheet {

void InstanceState::checkRunning() const
{
    if (quit)
        throw StateError("the instance has quit");
}

} // namespace sheet
