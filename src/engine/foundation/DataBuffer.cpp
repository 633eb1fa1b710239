#include "engine/foundation/DataBuffer.h"

#include <utility>

void DataBuffer::Assign(std::vector<uint8_t> bytes) {
    bytes_ = std::move(bytes);
    bytes_.push_back(0);
}
