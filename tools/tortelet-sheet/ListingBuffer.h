#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <string_view>
#include <vector>

namespace tools {

// A listing of millions of lines built in one large block that goes to the stream whenever it fills:
// each field is copied into it once, without a string of its own.
class ListingBuffer {
public:
    explicit ListingBuffer(std::ostream& output) : output_(output), block_(BlockSize), at_(block_.data()) {}
    ListingBuffer(const ListingBuffer&) = delete;
    ListingBuffer& operator=(const ListingBuffer&) = delete;

    // The place to write up to `size` characters; `advance` takes the ones written.
    char* room(std::size_t size)
    {
        if (size > static_cast<std::size_t>(block_.data() + block_.size() - at_))
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
        output_.write(block_.data(), at_ - block_.data());
        at_ = block_.data();
    }

private:
    static constexpr std::size_t BlockSize = 1 << 20;

    void makeRoom(std::size_t size)
    {
        flush();
        if (size > block_.size()) {
            block_.resize(size);
            at_ = block_.data();
        }
    }

    std::ostream& output_;
    std::vector<char> block_;
    char* at_;
};

}  // namespace tools
