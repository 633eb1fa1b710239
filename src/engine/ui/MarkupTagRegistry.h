#pragma once

#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/ui/MarkupTag.h"

class StyleLabel;

// The markup tags by name. One instance exists at a time: a layout makes it
// with its first tag and destroys it at its end.
class MarkupTagRegistry : public Object {
    ENGINE_CLASS(MarkupTagRegistry, Object)

public:
    static MarkupTagRegistry& GetInstance();
    static void DestroyInstance();

    // Hands the tag to the first tag object that has the name (compared
    // exactly); false when none has it.
    bool Apply(const std::wstring& name, const std::wstring& argument, StyleLabel& label) const;

private:
    MarkupTagRegistry();

    std::vector<Ref<MarkupTag>> tags_;
};
