#include "game/world/CityInfo.h"

#include <optional>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/foundation/PropertyNode.h"

namespace {
const ClassRegistration registration("CityInfo", CreateFromProperty<CityInfo>);

int32_t ReadInt(const Property* node, const char* key) {
    return Property::AsInt(Property::Child(node, key));
}
}  // namespace

CityInfo::CityInfo(const Property* definition)
    : x(ReadInt(definition, "x")),
      y(ReadInt(definition, "y")),
      circleX(ReadInt(definition, "circleX")),
      circleY(ReadInt(definition, "circleY")),
      circleRadius(ReadInt(definition, "circleRadius")),
      ticketX(ReadInt(definition, "ticketX")),
      ticketY(ReadInt(definition, "ticketY")),
      ticketIndex(ReadInt(definition, "ticketIndex")),
      index(ReadInt(definition, "index")) {
    assets.Read(Property::Child(definition, "assets"));
}

void CityInfo::ResetProgress() {
    bought = false;
    visited = false;
    mapNodes.clear();
}

void CityInfo::WriteProgress(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("bought", bought, false);
    target.SetBool("visited", visited, false);
}

void CityInfo::ReadProgress(const Property* node) {
    bought = Property::AsBool(Property::Child(node, "bought"));
    visited = Property::AsBool(Property::Child(node, "visited"));
}

namespace {

// The sign's picture is a shared resource: a match by identity tells the kind.
std::optional<uint32_t> SignpostLabelColour(const Surface* image) {
    if (image == nullptr) {
        return std::nullopt;
    }
    const Ref<Object> blue = FindResourceData("POST_BLUE", "mapscene");
    if (blue.Get() == image) {
        return 0xFF0000FFu;
    }
    const Ref<Object> red = FindResourceData("POST_RED", "mapscene");
    if (red.Get() == image) {
        return 0xFFFF0000u;
    }
    return std::nullopt;
}

constexpr int32_t kSignpostLabelCentreX = 46;
constexpr int32_t kSignpostLabelY = 1;

}  // namespace

void CityInfo::AddSignpostLabel(Sprite* sign) {
    if (sign == nullptr) {
        return;
    }
    mapNodes.emplace_back(sign);
    const std::optional<uint32_t> colour = SignpostLabelColour(sign->GetImage());
    if (!colour) {
        return;
    }
    const Ref<MemorySurface> copy = CloneSurface(*sign->GetImage());
    sign->SetImage(copy.Get());
    const Ref<Object> fontData = FindResourceData("FONT_TEXT", "default");
    auto* font = ObjectCast<BitmapFont>(fontData.Get());
    if (font == nullptr) {
        return;
    }
    const std::wstring text = std::to_wstring(index);
    const int32_t width = font->GetTextWidth(text, 0, static_cast<int32_t>(text.size()), false);
    Ref<Canvas> canvas = copy->CreateCanvas();
    canvas->SetFont(font);
    canvas->SetColor(Color(*colour));
    canvas->DrawText(text, kSignpostLabelCentreX - width / 2, kSignpostLabelY);
    sign->SetDirty(true);
}
