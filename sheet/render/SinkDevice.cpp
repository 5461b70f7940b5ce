#include "sheet/render/SinkDevice.h"

namespace sheet::render {

SinkDevice::SinkDevice(const io::ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly); }

void SinkDevice::rethrow() const
{
    if (failure_)
        std::rethrow_exception(failure_);
}

qint64 SinkDevice::writeData(const char* data, qint64 length)
{
    if (failure_)
        return -1;
    try {
        sink_({reinterpret_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)});
    } catch (...) {
        failure_ = std::current_exception();
        return -1;
    }
    return length;
}

}  // namespace sheet::render
