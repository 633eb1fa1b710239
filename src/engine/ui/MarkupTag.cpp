#include "engine/ui/MarkupTag.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "engine/foundation/Logger.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/Surface.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/StyleLabel.h"

namespace {

// A number as "%i" reads it: decimal, "0x" hexadecimal or a leading 0 octal;
// 0 when there is none.
int32_t ReadInteger(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 0);
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// "#RRGGBB" or "RRGGBB"; 0 (black) when there are no digits.
int32_t ReadColor(const std::string& text) {
    const char* digits = !text.empty() && text[0] == '#' ? text.c_str() + 1 : text.c_str();
    return static_cast<int32_t>(std::strtoul(digits, nullptr, 16) & 0xFFFFFFFFul);
}

int Choice(const std::string& value, std::initializer_list<const char*> words) {
    int index = 0;
    for (const char* word : words) {
        if (value == word) {
            return index;
        }
        ++index;
    }
    return -1;
}

// An opening tag saves the value even when its argument names none, so that
// the closing tag restores what was there.
void Open(std::vector<int32_t>& stack, int32_t& value, int choice) {
    stack.push_back(value);
    if (choice >= 0) {
        value = choice;
    }
}

// A closing tag with nothing saved does nothing.
void Close(std::vector<int32_t>& stack, int32_t& value) {
    if (!stack.empty()) {
        value = stack.back();
        stack.pop_back();
    }
}

// The fields of "a,b,c,rest": at most `count` fields, the last taking the rest.
std::vector<std::string> SplitFields(const std::string& text, size_t count) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() + 1 < count) {
        const size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            break;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(text.substr(std::min(start, text.size())));
    return fields;
}

}  // namespace

void BreakTag::Handle(int32_t /*nameIndex*/, const std::wstring& /*argument*/, StyleLabel& label) const {
    label.EndLine();
}

void ColorTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    std::vector<int32_t>& stack = label.Settings().colorStack;
    if (nameIndex == 0) {
        stack.push_back(label.GetColor());
        label.SetColor(ReadColor(WideToNarrow(argument)));
    } else if (!stack.empty()) {
        label.SetColor(stack.back());
        stack.pop_back();
    }
}

void FontTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    StyleSettings& settings = label.Settings();
    if (nameIndex != 0) {
        if (!settings.fontStack.empty()) {
            settings.font = settings.fontStack.back();
            settings.fontStack.pop_back();
        }
        return;
    }
    // The current font is saved even when the tag names no usable font, so
    // that its closing tag pairs with it.
    settings.fontStack.push_back(settings.font);
    const std::string text = WideToNarrow(argument);
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        ENGINE_LOG(1, "StyleLabel: font tag \"%s\" names no section; the font stays", text.c_str());
        return;
    }
    const std::string name = text.substr(0, comma);
    const std::string section = text.substr(comma + 1);
    const Ref<Object> data = FindResourceData(name, section);
    if (BitmapFont* font = ObjectCast<BitmapFont>(data.Get())) {
        settings.font = font;
    } else {
        ENGINE_LOG(1, "StyleLabel: no font \"%s\" in section \"%s\"; the font stays", name.c_str(),
                   section.c_str());
    }
}

void ImageTag::Handle(int32_t /*nameIndex*/, const std::wstring& argument, StyleLabel& label) const {
    const std::string text = WideToNarrow(argument);
    // Without a comma there is no name: the section is never optional.
    std::vector<std::string> fields{""};
    if (text.find(',') != std::string::npos) {
        fields = SplitFields(text, 4);
    }
    fields.resize(4);
    const std::string& name = fields[0];
    const std::string& placement = fields[2];
    const std::string& flow = fields[3];
    const Ref<Object> data = FindResourceData(name, fields[1]);
    Surface* picture = ObjectCast<Surface>(data.Get());
    if (picture == nullptr) {
        ENGINE_LOG(1, "StyleLabel: no image \"%s\" in section \"%s\"", name.c_str(), fields[1].c_str());
        return;
    }
    const Ref<Sprite> image(new Sprite(label.GetPenX(), label.GetPenY(), picture));
    if (placement == "left") {
        image->SetX(0);
    } else if (placement == "center") {
        image->SetX((label.GetWidth() - image->GetWidth()) / 2);
    } else if (placement == "right") {
        image->SetX(label.GetWidth() - image->GetWidth());
    }
    if (flow == "none") {
        if (label.GetPenX() != 0) {
            label.EndLine();
        }
        image->SetY(label.GetPenY());
        label.SetPenY(label.GetPenY() + image->GetHeight());
    } else if (flow == "single") {
        label.SetCurrentLineHeight(std::max(label.GetCurrentLineHeight(), image->GetHeight()));
    }
    label.AddImage(image.Get());
    if (label.GetHeight() < image->GetHeight()) {
        label.SetHeight(image->GetHeight());
    }
}

void WrapStyleTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    StyleSettings& settings = label.Settings();
    if (nameIndex == 0) {
        Open(settings.wrapStack, settings.wrapStyle,
             Choice(WideToNarrow(argument), {"none", "truncate", "wordwrap"}));
    } else {
        Close(settings.wrapStack, settings.wrapStyle);
    }
}

void AlignVTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    StyleSettings& settings = label.Settings();
    if (nameIndex == 0) {
        Open(settings.alignVStack, settings.alignV,
             Choice(WideToNarrow(argument), {"top", "center", "bottom", "baseline"}));
    } else {
        Close(settings.alignVStack, settings.alignV);
    }
}

void AlignHTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    StyleSettings& settings = label.Settings();
    if (nameIndex == 0) {
        Open(settings.alignHStack, settings.alignH, Choice(WideToNarrow(argument), {"left", "center", "right"}));
    } else {
        Close(settings.alignHStack, settings.alignH);
    }
}

void TabTag::Handle(int32_t nameIndex, const std::wstring& argument, StyleLabel& label) const {
    std::vector<int32_t>& stops = label.Settings().tabStops;
    const std::string text = WideToNarrow(argument);
    if (nameIndex == 0) {
        stops.clear();
        for (const std::string& field : SplitFields(text, SIZE_MAX)) {
            stops.push_back(ReadInteger(field));
        }
        return;
    }
    if (text.empty()) {
        // The first stop in list order that is not left of the pen.
        for (const int32_t stop : stops) {
            if (stop >= label.GetPenX()) {
                label.SetPenX(stop);
                break;
            }
        }
        return;
    }
    const int32_t number = ReadInteger(text);
    if (number >= 1 && static_cast<size_t>(number) <= stops.size()) {
        label.SetPenX(stops[static_cast<size_t>(number) - 1]);
    }
}

void WidthTag::Handle(int32_t /*nameIndex*/, const std::wstring& argument, StyleLabel& label) const {
    label.SetWidth(ReadInteger(WideToNarrow(argument)));
}
