#pragma once

#include <optional>
#include <string>

namespace sheet {

// Registers a live instance of this process for the user: a file "sheet-instance-<pid>" in the private
// folder, naming the process and locked for as long as an instance of the process lives.
class InstanceRegistration {
public:
    InstanceRegistration();
    ~InstanceRegistration();
    InstanceRegistration(const InstanceRegistration&) = delete;
    InstanceRegistration& operator=(const InstanceRegistration&) = delete;

    // Whether a live instance of another process is registered; any failure counts as none.
    static bool anotherProcessRuns();
};

} // namespace sheet
