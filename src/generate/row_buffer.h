#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

namespace generate {

// Rows of text gathered for one write, in one block reserved once. Appending
// checks the room once per piece and copies the bytes; the block grows only
// when a piece does not fit. The caller writes the text out and clears the
// buffer when size() reaches the amount it writes at a time.
class RowBuffer {
public:
    explicit RowBuffer(std::size_t capacity)
        : data_(std::make_unique<char[]>(capacity)), capacity_(capacity) {}

    std::size_t size() const { return size_; }
    std::string_view text() const { return std::string_view(data_.get(), size_); }
    void clear() { size_ = 0; }

    // Room for n more bytes at the end; finish(end) then takes what was written.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    void finish(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

    void append(std::string_view piece) {
        char* at = room(piece.size());
        // copy_n, not memcpy: an empty piece may have no data at all.
        std::copy_n(piece.data(), piece.size(), at);
        size_ += piece.size();
    }
    void push_back(char c) { *room(1) = c, ++size_; }

private:
    void grow(std::size_t n);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_;
};

}  // namespace generate
