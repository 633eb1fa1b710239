#include "scenes/MapAnchorPoints.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Sprite.h"
#include "game/world/SectionList.h"

namespace map_assets {

namespace {

constexpr int32_t kNotBoughtStationFrame = 3;

const Property* DefinesVector(const char* name) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetVector(name) : nullptr;
}

// A kind's anchor table entries; a missing or non-vector table counts as empty.
struct KindTable {
    const Property* kinds = nullptr;
    const Property* anchors = nullptr;

    float AnchorValue(int32_t kind, int32_t offset) const {
        const Property* value = kind >= 0 ? Property::At(anchors, 3 * kind + offset) : nullptr;
        if (value == nullptr) return 0.0f;
        float parsed = 0.0f;
        return std::sscanf(Property::AsString(value).c_str(), "%f", &parsed) == 1 ? parsed : 0.0f;
    }
    const Property* Circles(int32_t kind) const {
        return kind >= 0 ? Property::At(anchors, 3 * kind + 2) : nullptr;
    }
};

const Property* VectorOrNull(const Property* node) {
    return node != nullptr && node->GetKind() == Property::kVector ? node : nullptr;
}

struct BuiltPiece {
    Ref<Sprite> sprite;
    std::vector<HitCircle> circles;
};

BuiltPiece MakePiece(const KindTable& table, int32_t kind, PointF position) {
    Property* definition = kind >= 0 ? Property::At(table.kinds, kind) : nullptr;
    if (definition == nullptr || definition->GetKind() != Property::kNode) {
        definition = &Property::DummyNode();
    }
    const Ref<Object> made(ClassFactory::Instance().Create(definition));
    BuiltPiece piece;
    piece.sprite = ObjectCast<Sprite>(made.Get());
    if (!piece.sprite) {
        piece.sprite = new Sprite(definition);
    }
    Sprite& sprite = *piece.sprite;
    sprite.SetPosition(static_cast<int32_t>(std::lround(position.x)), static_cast<int32_t>(std::lround(position.y)));
    sprite.SetAnchorPoint(table.AnchorValue(kind, 0), table.AnchorValue(kind, 1));
    piece.circles = ReadHitCircles(table.Circles(kind), sprite.GetX(), sprite.GetY());
    return piece;
}

// The station's not-bought look; its disabled twin stands where it stands.
void PrepareStation(Sprite& station, bool bought) {
    auto* vector = ObjectCast<DisabledSpriteImageVector>(&station);
    Sprite* disabled = vector != nullptr ? vector->GetDisabledSprite() : nullptr;
    if (disabled == nullptr) return;
    if (!bought) station.SetFrame(kNotBoughtStationFrame);
    disabled->SetAnchorPoint(station.GetAnchorX(), station.GetAnchorY());
    disabled->SetPosition(station.GetX(), station.GetY());
}

Ref<PropertyFile> ReadAnchorFile() {
    Ref<PropertyFile> file(new PropertyFile());
    const LoadMode global = GetGlobalLoadMode();
    const bool scrambled = global == LoadMode::ScrambledFile || global == LoadMode::ScrambledArchive;
    file->SetLoadMode(scrambled ? LoadMode::ScrambledFile : LoadMode::File);
    if (!file->CanLoad(kAnchorPointsFile) || !file->LoadOne(kAnchorPointsFile)) {
        ENGINE_LOG(1, "MapScene: cannot read \"%s\"; the map shows no landscape pieces", kAnchorPointsFile);
        return {};
    }
    return file;
}

}  // namespace

int32_t ParseCircleValue(const std::string& text) {
    if (!text.empty() && text.front() == '#') {
        unsigned int value = 0;
        return std::sscanf(text.c_str(), "#%x", &value) == 1 ? static_cast<int32_t>(value) : 0;
    }
    int value = 0;
    return std::sscanf(text.c_str(), "%d", &value) == 1 ? value : 0;
}

std::vector<HitCircle> ReadHitCircles(const Property* circles, int32_t x, int32_t y) {
    std::vector<HitCircle> result;
    if (VectorOrNull(circles) == nullptr) return result;
    for (int32_t i = 0;; i += 3) {
        const Property* dx = Property::At(circles, i);
        const Property* dy = Property::At(circles, i + 1);
        const Property* radius = Property::At(circles, i + 2);
        if (dx == nullptr || dy == nullptr || radius == nullptr) break;
        // Offsets and radii are distances on the screen.
        const auto held = [](const Property* value, int32_t low) {
            return std::clamp(ParseCircleValue(Property::AsString(value)), low, media_numbers::kPositionLimit);
        };
        result.push_back({x + held(dx, -media_numbers::kPositionLimit), y + held(dy, -media_numbers::kPositionLimit),
                          held(radius, 0)});
    }
    return result;
}

bool InsideCircle(const std::vector<HitCircle>& circles, const TrackPart::CirclePoint& point) {
    return std::all_of(circles.begin(), circles.end(), [&point](const HitCircle& circle) {
        const double dx = static_cast<double>(circle.x) - point.x;
        const double dy = static_cast<double>(circle.y) - point.y;
        return std::sqrt(dx * dx + dy * dy) + circle.radius <= point.radius;
    });
}

void AttachToTrackParts(SectionInfo& section, Sprite& sprite, const std::vector<HitCircle>& circles) {
    for (const Ref<TrackPart>& part : section.trackParts) {
        part->circleItems.resize(part->circlePoints.size());
        for (size_t i = 0; i < part->circlePoints.size(); ++i) {
            if (InsideCircle(circles, part->circlePoints[i])) {
                part->circleItems[i].emplace_back(&sprite);
            }
        }
    }
}

void ClearSectionAssets(SectionInfo& section) {
    for (const Ref<TrackPart>& part : section.trackParts) {
        for (auto& items : part->circleItems) items.clear();
    }
    for (const Ref<CityInfo>& city : section.cities) {
        city->mapNodes.clear();
    }
}

void LoadAnchorPoints(SectionList& map, const std::array<GameNode*, 10>& sectionNodes) {
    for (GameNode* node : sectionNodes) {
        if (node != nullptr) node->RemoveChildren();
    }
    const Ref<PropertyFile> file = ReadAnchorFile();
    if (!file) return;
    const KindTable assets{DefinesVector("ASSETS"), VectorOrNull(Property::Child(file.Get(), "anchorpoints"))};
    const KindTable stations{DefinesVector("STATIONS"), VectorOrNull(Property::Child(file.Get(), "cityanchorpoints"))};

    for (int32_t s = 0; s < SectionList::kSectionCount; ++s) {
        SectionInfo& section = map.Section(s);
        ClearSectionAssets(section);
        std::vector<Ref<Sprite>> pieces;
        const size_t assetCount = std::min(section.assets.ids.size(), section.assets.positions.size());
        for (size_t i = 0; i < assetCount; ++i) {
            BuiltPiece piece = MakePiece(assets, section.assets.ids[i], section.assets.positions[i]);
            // Hidden until the track beside it is played or its section is complete.
            piece.sprite->SetVisible(false);
            AttachToTrackParts(section, *piece.sprite, piece.circles);
            pieces.push_back(piece.sprite);
        }
        for (const Ref<CityInfo>& city : section.cities) {
            const size_t count = std::min(city->assets.ids.size(), city->assets.positions.size());
            for (size_t i = 0; i < count; ++i) {
                BuiltPiece piece = MakePiece(stations, city->assets.ids[i], city->assets.positions[i]);
                PrepareStation(*piece.sprite, city->bought);
                pieces.push_back(piece.sprite);
                city->AddSignpostLabel(piece.sprite.Get());
            }
        }
        // Stable, so that tests and screenshots do not depend on the sort.
        std::stable_sort(pieces.begin(), pieces.end(),
                         [](const Ref<Sprite>& a, const Ref<Sprite>& b) { return a->GetY() < b->GetY(); });
        GameNode* node = sectionNodes[static_cast<size_t>(s)];
        if (node == nullptr) continue;
        for (const Ref<Sprite>& piece : pieces) {
            node->AddChild(piece.Get());
        }
    }
}

}  // namespace map_assets
