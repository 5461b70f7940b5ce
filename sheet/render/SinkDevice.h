#pragma once

#include "sheet/io/FileBytes.h"

#include <QIODevice>

#include <exception>

namespace sheet::render {

// A write-only device that hands what is written to it on to a byte sink. A sink's exception
// cannot pass through Qt's frames: it is kept, the write fails, and rethrow() throws it again once
// Qt is done.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(const io::ByteSink& sink);

    void rethrow() const;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    const io::ByteSink& sink_;
    std::exception_ptr failure_;
};

}  // namespace sheet::render
