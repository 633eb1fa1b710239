#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"

class StyleLabel;

// One kind of markup tag of the styled label: its names (an opening form and,
// for most, a closing form beginning with "/") and what it does to the label.
class MarkupTag : public Object {
    ENGINE_CLASS(MarkupTag, Object)

public:
    explicit MarkupTag(std::vector<std::wstring> names) : names_(std::move(names)) {}

    const std::vector<std::wstring>& Names() const { return names_; }
    // `nameIndex` tells which of the names was written.
    virtual void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const = 0;

private:
    std::vector<std::wstring> names_;
};

// The nine tags, in the registry's order.
class BreakTag : public MarkupTag {
    ENGINE_CLASS(BreakTag, MarkupTag)
public:
    BreakTag() : MarkupTag({L"br"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class ColorTag : public MarkupTag {
    ENGINE_CLASS(ColorTag, MarkupTag)
public:
    ColorTag() : MarkupTag({L"color", L"/color"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class FontTag : public MarkupTag {
    ENGINE_CLASS(FontTag, MarkupTag)
public:
    FontTag() : MarkupTag({L"font", L"/font"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class ImageTag : public MarkupTag {
    ENGINE_CLASS(ImageTag, MarkupTag)
public:
    ImageTag() : MarkupTag({L"image"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class WrapStyleTag : public MarkupTag {
    ENGINE_CLASS(WrapStyleTag, MarkupTag)
public:
    WrapStyleTag() : MarkupTag({L"wrapstyle", L"/wrapstyle"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class AlignVTag : public MarkupTag {
    ENGINE_CLASS(AlignVTag, MarkupTag)
public:
    AlignVTag() : MarkupTag({L"alignv", L"/alignv"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class AlignHTag : public MarkupTag {
    ENGINE_CLASS(AlignHTag, MarkupTag)
public:
    AlignHTag() : MarkupTag({L"alignh", L"/alignh"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class TabTag : public MarkupTag {
    ENGINE_CLASS(TabTag, MarkupTag)
public:
    TabTag() : MarkupTag({L"tabs", L"tab"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};

class WidthTag : public MarkupTag {
    ENGINE_CLASS(WidthTag, MarkupTag)
public:
    WidthTag() : MarkupTag({L"width"}) {}
    void Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const override;
};
