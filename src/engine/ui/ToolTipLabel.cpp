#include "engine/ui/ToolTipLabel.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"

namespace {

const ClassRegistration registration("ToolTipLabel", CreateFromProperty<ToolTipLabel>);

void ReadInt(Property* definition, const char* key, int32_t& value) {
    if (Property* child = Property::Child(definition, key)) {
        value = Property::AsInt(child);
    }
}

}  // namespace

ToolTipLabel::ToolTipLabel(Property* definition) : Label(definition), definedWidth_(GetWidth()) {
    Property* node = &Property::NodeOf(definition);
    ReadInt(node, "backgroundcolor", backgroundColor_);
    ReadInt(node, "bordercolor", borderColor_);
    ReadInt(node, "padding", padding_);
}

void ToolTipLabel::Draw(Canvas& canvas) {
    const int32_t savedAlpha = canvas.GetAlpha();
    const Ref<Color> savedColor = canvas.GetColor();
    canvas.SetAlpha(GetAlpha());
    const int32_t p = padding_;
    const int32_t w = GetWidth() + 2 * p;
    const int32_t h = GetHeight() + 2 * p;
    canvas.SetColor(Color(static_cast<uint32_t>(borderColor_)));
    canvas.DrawRect(-p, -p, w, h);
    canvas.SetColor(Color(static_cast<uint32_t>(backgroundColor_)));
    canvas.FillRect(1 - p, 1 - p, w - 2, h - 2);
    canvas.SetColor(*savedColor);
    canvas.SetAlpha(savedAlpha);
    Label::Draw(canvas);
}

void ToolTipLabel::SetToolTip(const std::wstring& text) {
    const bool fitsDefinedWidth =
        definedWidth_ >= 1 && (GetWrapStyle() == kTruncate || GetWrapStyle() == kWordWrap);
    if (fitsDefinedWidth) {
        SetWidth(definedWidth_);
    }
    SetText(text);
    if (fitsDefinedWidth) {
        SetWidth(GetTextRect().w);
    }
}
