#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sheet {

class InstanceState;
class Workbook;

// The workbooks an instance has open, in the order they were opened.
class Workbooks {
public:
    explicit Workbooks(std::shared_ptr<InstanceState> instance);
    ~Workbooks();
    Workbooks(const Workbooks&) = delete;
    Workbooks& operator=(const Workbooks&) = delete;

    // Opens the workbook at `path`; an encrypted one with the built-in default password or `password`.
    Workbook& Open(const std::string& path, const std::string& password = {});
    int count() const;
    Workbook& item(int index); // 1-based, among the open workbooks
    void closeAll();

private:
    std::shared_ptr<InstanceState> instance_;
    std::vector<std::unique_ptr<Workbook>> workbooks_; // closed ones too: references stay valid
};

} // namespace sheet
