#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace results {

// A growing byte buffer for many short appends: a million rows are three
// million appends of a few bytes each. It copies short pieces with a few
// fixed-size moves that the compiler inlines. std::string would be the plain
// choice, but its append is a library call (the library builds it once for
// all programs) that ends in a memcpy call: the generation run takes about a
// tenth more instructions with it.
class TextBuffer {
public:
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_.get(), size_}; }

    // Empties the buffer and gives its memory back.
    void clear() {
        data_.reset();
        size_ = capacity_ = 0;
    }

    // Throws std::bad_alloc when the memory cannot be had.
    void reserve(std::size_t capacity) {
        if (capacity <= capacity_) return;
        // Not zeroed: only the bytes up to size_ are ever read.
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
        data_ = std::move(grown);
        capacity_ = capacity;
    }

    void append(std::string_view piece) {
        const std::size_t length = piece.size();
        if (capacity_ - size_ < length) grow(length);
        copy(data_.get() + size_, piece.data(), length);
        size_ += length;
    }

private:
    // Kept out of line: appends seldom grow the buffer.
    [[gnu::noinline]] void grow(std::size_t length) {
        reserve(size_ + length > 2 * capacity_ ? size_ + length : 2 * capacity_);
    }

    static void copy(char* out, const char* in, std::size_t length) {
        if (length >= 8 && length <= 16) {
            // Two overlapping 8-byte moves cover 8 to 16 bytes.
            std::memcpy(out, in, 8);
            std::memcpy(out + length - 8, in + length - 8, 8);
        } else if (length >= 4 && length < 8) {
            std::memcpy(out, in, 4);
            std::memcpy(out + length - 4, in + length - 4, 4);
        } else if (length > 16) {
            std::memcpy(out, in, length);
        } else {
            for (std::size_t i = 0; i < length; ++i) out[i] = in[i];
        }
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace results
