#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Object.h"

class Property;

// A submitted word as a stored record: its text, when and how far it took
// the train. Built by class name from a node whose missing keys read as
// empty text and 0.
class SubmitInfo : public Object {
    ENGINE_CLASS(SubmitInfo, Object)

public:
    explicit SubmitInfo(Property* node = nullptr);

    std::string text;
    int32_t time = 0;
    int32_t dist = 0;
};
