#include "generate/row_buffer.h"

#include <algorithm>
#include <cstring>

namespace generate {

void RowBuffer::grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + n);
    auto data = std::make_unique<char[]>(capacity);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace generate
