#include "engine/ui/MarkupTagRegistry.h"

namespace {
Ref<MarkupTagRegistry>& Instance() {
    static Ref<MarkupTagRegistry> instance;
    return instance;
}
}  // namespace

MarkupTagRegistry::MarkupTagRegistry()
    : tags_{new BreakTag,  new ColorTag,  new FontTag, new ImageTag, new WrapStyleTag,
            new AlignVTag, new AlignHTag, new TabTag,  new WidthTag} {}

MarkupTagRegistry& MarkupTagRegistry::GetInstance() {
    Ref<MarkupTagRegistry>& instance = Instance();
    if (!instance) {
        instance = new MarkupTagRegistry;
    }
    return *instance;
}

void MarkupTagRegistry::DestroyInstance() {
    Instance().Reset();
}

bool MarkupTagRegistry::Apply(const std::wstring& name, const std::wstring& argument, StyleLabel& label) const {
    for (const Ref<MarkupTag>& tag : tags_) {
        const std::vector<std::wstring>& names = tag->Names();
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                tag->Handle(static_cast<int32_t>(i), argument, label);
                return true;
            }
        }
    }
    return false;
}
