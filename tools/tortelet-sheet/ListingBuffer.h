#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <string_view>

namespace tools {

// A listing of millions of lines built in one large block that goes to the stream whenever it fills:
// each field is copied into it once, without a string of its own.
class ListingBuffer {
public:
    // The block is left uninitialised, so a short listing touches only the memory it writes.
    explicit ListingBuffer(std::ostream& output)
        : output_(output), block_(std::make_unique_for_overwrite<char[]>(BlockSize)), size_(BlockSize),
          at_(block_.get())
    {
    }
    ListingBuffer(const ListingBuffer&) = delete;
    ListingBuffer& operator=(const ListingBuffer&) = delete;

    // The place to write up to `size` characters; `advance` takes the ones written.
    char* room(std::size_t size)
    {
        if (size > static_cast<std::size_t>(block_.get() + size_ - at_))
            makeRoom(size);
        return at_;
    }
    void advance(char* end) { at_ = end; }

    void add(char c) { *room(1) = c, ++at_; }
    void add(std::string_view text)
    {
        std::memcpy(room(text.size()), text.data(), text.size());
        at_ += text.size();
    }
    // Adds the text with tabs and line breaks written as \t, \n and \r.
    void addEscaped(std::string_view text)
    {
        char* out = room(2 * text.size());
        for (const char c : text) {
            if (c == '\t' || c == '\n' || c == '\r') {
                *out++ = '\\';
                *out++ = c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
            } else {
                *out++ = c;
            }
        }
        at_ = out;
    }

    // Writes what is built to the stream.
    void flush()
    {
        output_.write(block_.get(), at_ - block_.get());
        at_ = block_.get();
    }

private:
    static constexpr std::size_t BlockSize = 1 << 20;

    void makeRoom(std::size_t size)
    {
        flush();
        if (size > size_) {
            block_ = std::make_unique_for_overwrite<char[]>(size);
            size_ = size;
            at_ = block_.get();
        }
    }

    std::ostream& output_;
    std::unique_ptr<char[]> block_;
    std::size_t size_;
    char* at_;
};

}  // namespace tools
