#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"

// The bytes of one loaded file. One zero byte always follows the data, so a
// text file can be read as a zero-terminated string; Count excludes it.
class DataBuffer : public Object {
    ENGINE_CLASS(DataBuffer, Object)

public:
    // Takes the bytes as the buffer's data, in place of the previous ones.
    void Assign(std::vector<uint8_t> bytes);
    void Clear() { bytes_.clear(); }

    uint32_t Count() const { return bytes_.empty() ? 0 : static_cast<uint32_t>(bytes_.size() - 1); }
    uint8_t* Bytes() { return bytes_.data(); }
    const uint8_t* Bytes() const { return bytes_.data(); }
    const char* Text() const { return bytes_.empty() ? "" : reinterpret_cast<const char*>(bytes_.data()); }

private:
    std::vector<uint8_t> bytes_;
};
