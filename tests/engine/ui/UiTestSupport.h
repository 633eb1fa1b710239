#pragma once

#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneTestSupport.h"

// A fixed-width font for golden layouts: every glyph is 3 x 4 pixels with an
// advance of 3; side pad 1, top pad 1, bottom pad 2, spacing 1, space width
// 6, line height 6, baseline 3. So a tight width of n glyphs is 4n + 3, a
// space adds 7, and n lines are 6n high. Each glyph is an opaque block of its
// own colour.
inline const std::wstring kTinyFontChars = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,[]-";

inline Ref<BitmapFont> MakeTinyFont(int32_t baseline = 3, int32_t lineHeight = 6) {
    std::string xml = "<root><Vector id=\"charset\">";
    for (size_t i = 0; i < kTinyFontChars.size(); ++i) {
        xml += "<Node id=\"" + std::string(1, static_cast<char>(kTinyFontChars[i])) + "\"><Integer id=\"x\" value=\"" +
               std::to_string(4 * i) +
               "\"/><Integer id=\"y\" value=\"0\"/><Integer id=\"w\" value=\"3\"/><Integer id=\"h\" value=\"4\"/>"
               "<Integer id=\"width\" value=\"3\"/><Integer id=\"offsetx\" value=\"0\"/></Node>";
    }
    xml += "</Vector><Node id=\"charsetinfo\"><Integer id=\"sidepad\" value=\"1\"/>"
           "<Integer id=\"toppad\" value=\"1\"/><Integer id=\"bottompad\" value=\"2\"/>"
           "<Integer id=\"charspacing\" value=\"1\"/><Integer id=\"spacewidth\" value=\"6\"/>"
           "<Integer id=\"lineheight\" value=\"" +
           std::to_string(lineHeight) + "\"/><Integer id=\"baseline\" value=\"" + std::to_string(baseline) +
           "\"/></Node></root>";
    const Ref<PropertyFile> description = ParseDefinitions(xml);
    const int32_t width = static_cast<int32_t>(4 * kTinyFontChars.size());
    const Ref<MemorySurface> picture = CreateMemorySurface(width, 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture->Pixels32()[y * width + x] = x % 4 == 3 ? 0u : 0xFF000000u | (0x10101u * (40 + x / 4 * 3));
        }
    }
    Ref<BitmapFont> font(new BitmapFont);
    font->UsePicture(false, 0, *picture);
    font->ReadFormat(*description);
    return font;
}

// The first definition of an XML text, built through the class registry.
template <typename T>
Ref<T> BuildFromXml(const std::string& xml) {
    const Ref<PropertyFile> file = ParseDefinitions("<root>" + xml + "</root>");
    const Ref<Object> built(ClassFactory::Instance().Create(file->IndexOrder().front().Get()));
    return Ref<T>(ObjectCast<T>(built.Get()));
}

// A running section manager with a section "fonts" holding the tiny font as
// "TINY" and, as "TALL", one with a deeper baseline and taller lines, plus
// a section "pics" holding a 5 x 8 picture "PIC".
class UiResources {
public:
    UiResources() {
        auto* section = new Section("fonts", false);
        section->AddResource("TINY", new HeldResource(tiny.Get()));
        section->AddResource("TALL", new HeldResource(tall.Get()));
        sections_.Load(section);
        auto* pics = new Section("pics", false);
        pics->AddResource("PIC", new HeldResource(picture.Get()));
        sections_.Load(pics);
    }

    // Enters the section and waits until it is loaded.
    void Load(Section* section) const { sections_.Load(section); }

    Ref<BitmapFont> tiny = MakeTinyFont();
    Ref<BitmapFont> tall = MakeTinyFont(5, 9);
    Ref<MemorySurface> picture = CreateMemorySurface(5, 8);

private:
    RunningSectionManager sections_;
};
