#pragma once

#include <QProcess>

namespace testing_support {

// An engine instance running in another process for as long as this object lives.
class OtherProcessInstance {
public:
    OtherProcessInstance();
    ~OtherProcessInstance();
    OtherProcessInstance(const OtherProcessInstance&) = delete;
    OtherProcessInstance& operator=(const OtherProcessInstance&) = delete;

    bool ready() const { return ready_; }

private:
    QProcess process_;
    bool ready_ = false;
};

}  // namespace testing_support
