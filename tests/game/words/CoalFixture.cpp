#include "CoalFixture.h"

#include <string>

#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/UpdatePass.h"

namespace {

constexpr const char kGlyphs[] = "ABQ";
constexpr int32_t kGlyphSize = 3;

Ref<BitmapFont> SolidFont(uint32_t colour) {
    std::string xml = "<root><Vector id=\"charset\">";
    for (int i = 0; kGlyphs[i] != '\0'; ++i) {
        xml += std::string("<Node id=\"") + kGlyphs[i] + "\"><Integer id=\"x\" value=\"" + std::to_string(4 * i) +
               "\"/><Integer id=\"y\" value=\"0\"/><Integer id=\"w\" value=\"3\"/><Integer id=\"h\" value=\"3\"/>"
               "<Integer id=\"width\" value=\"3\"/></Node>";
    }
    xml += "</Vector><Node id=\"charsetinfo\"><Integer id=\"sidepad\" value=\"1\"/></Node></root>";
    const Ref<PropertyFile> description = ParseDefinitions(xml);
    Ref<MemorySurface> picture = new MemorySurface(4 * 3, kGlyphSize);
    for (int32_t i = 0; i < picture->GetWidth() * picture->GetHeight(); ++i) {
        picture->Pixels32()[i] = 0xFF000000u | colour;
    }
    Ref<BitmapFont> font = new BitmapFont;
    font->UsePicture(false, 0, *picture);
    font->ReadFormat(*description);
    return font;
}

Ref<Surface> SolidCoal(int32_t size) {
    Ref<MemorySurface> picture = new MemorySurface(size, size);
    for (int32_t i = 0; i < size * size; ++i) {
        picture->Pixels32()[i] = 0xFF000000u | CoalFixture::kCoalColour;
    }
    return picture;
}

}  // namespace

CoalFixture::CoalFixture() {
    std::string xml = "<Vector id=\"ID_TOOLTIP_COAL\">";
    for (int type = 0; type <= LetterData::kJoker; ++type) {
        xml += "<String value=\"TIP_ID" + std::to_string(type) + "\"/>";
    }
    xml += "</Vector>";
    for (int type = 1; type <= LetterData::kJoker; ++type) {
        xml += "<Text id=\"TIP_ID" + std::to_string(type) + "\" value=\"TIP" + std::to_string(type) + "\"/>";
    }
    TicketConstantsFixture::Define(xml);
    LetterSprite::Looks& looks = LetterSprite::SharedLooks();
    for (int i = 0; i < LetterSprite::kFontCount; ++i) {
        looks.fonts[i] = SolidFont(kFontColours[i]);
    }
    for (int i = 0; i < LetterSprite::kImageCount; ++i) {
        looks.images[i] = SolidCoal(i < 10 ? 9 : 7);
    }
}

CoalFixture::~CoalFixture() { LetterSprite::SharedLooks() = LetterSprite::Looks{}; }

uint32_t CoalFixture::CentreColour(const LetterSprite& coal) {
    const Surface* picture = coal.GetImage();
    if (picture == nullptr) {
        return 0;
    }
    const int32_t x = picture->GetWidth() / 2;
    const int32_t y = picture->GetHeight() / 2;
    return picture->Pixels32()[picture->PixelIndex(x, y)] & 0xFFFFFFu;
}

Ref<LetterSprite> CoalFixture::CoalOf(char character, int type, bool small, bool isNew) {
    Ref<LetterData> letter = new LetterData;
    letter->SetChar(static_cast<uint8_t>(character));
    letter->SetType(type);
    letter->SetSmall(small);
    return new LetterSprite(letter.Get(), isNew);
}

void CoalFixture::Run(GameNode& node, int32_t totalMs) {
    for (int32_t done = 0; done < totalMs; done += 50) {
        UpdatePass::StepNodeTree(node, 50);
        DeletePass::SweepNodeTree(node);
    }
}

int CoalFixture::ChildCount(const GameNode& node) {
    int count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        ++count;
    }
    return count;
}
