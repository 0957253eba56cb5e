#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

namespace results {

// A growing byte buffer for many short appends. It grows with realloc, which
// moves large blocks by remapping pages instead of copying them, and copies
// short pieces with a few fixed-size moves instead of a library call.
class TextBuffer {
public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { std::free(data_); }

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

    void clear() {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

    void reserve(std::size_t capacity) {
        if (capacity <= capacity_) return;
        void* grown = std::realloc(data_, capacity);
        if (!grown) throw std::bad_alloc();
        data_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }

    void append(std::string_view piece) {
        const std::size_t length = piece.size();
        if (capacity_ - size_ < length)
            reserve(size_ + length > 2 * capacity_ ? size_ + length : 2 * capacity_);
        copy(data_ + size_, piece.data(), length);
        size_ += length;
    }

private:
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

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace results
