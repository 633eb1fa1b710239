#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "mediagen/ConstantsFile.h"
#include "mediagen/Families.h"
#include "mediagen/MapBackArt.h"
#include "mediagen/MapChecks.h"
#include "mediagen/MapKinds.h"
#include "mediagen/MapXml.h"
#include "platform/Files.h"

namespace {

constexpr const char* kSectionsFile = "media/data/sections.xml";
constexpr const char* kAnchorPointsFile = "media/properties/anchorpoints.xml";
constexpr int kDefaultBetweenWidth = 100;

void AddPicture(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
                int frames, std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", file, keys,
                  [file, draw = std::move(draw)](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

std::string BackFile(const char* kind, int number) {
    return "media/gfx/map/backs/" + std::string(kind) + std::to_string(number) + ".png";
}

}  // namespace

std::shared_ptr<const MapLayout> BuildMap(const GeneratorInputs& inputs) {
    Bytes text;
    const std::string file = MapPlanFile(inputs.mediaSource);
    if (!platform::ReadWholeFile(file, text)) {
        throw std::runtime_error("cannot read " + file);
    }
    auto layout = std::make_shared<MapLayout>(LayOutMap(ParseMapPlan(std::string(text.begin(), text.end()))));
    const std::vector<std::string> faults = CheckMapLayout(*layout);
    if (!faults.empty()) {
        std::string message = "the map plan breaks the game's constraints:";
        for (const std::string& fault : faults) {
            message += "\n  " + fault;
        }
        throw std::runtime_error(message);
    }
    // The spread of route lengths, for tuning TRACK_LENGTH_PER_NUM_PIXELS.
    int tracks = 0;
    double shortest = 1e9, longest = 0;
    for (const LaidSection& section : layout->sections) {
        for (const LaidTrack& track : section.tracks) {
            const double length = PolylineLength(TrackRails(section, track));
            shortest = std::min(shortest, length);
            longest = std::max(longest, length);
            ++tracks;
        }
    }
    std::printf("map: %d tracks, %.0f to %.0f px long\n", tracks, shortest, longest);
    return layout;
}

int SectionBetweenWidth(const std::string& mediaSource) {
    const std::filesystem::path folder = std::filesystem::path(mediaSource) / "properties";
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".xml") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        if (const std::optional<double> width = ConstantsFile(file.string()).Number("SECTION_BETWEEN_WIDTH")) {
            if (*width < 1 || *width > 800) {
                throw std::runtime_error("SECTION_BETWEEN_WIDTH out of range in " + file.string());
            }
            return static_cast<int>(*width);
        }
    }
    return kDefaultBetweenWidth;
}

void AddMapRows(Manifest& manifest, const std::shared_ptr<const MapLayout>& map, int betweenWidth) {
    for (const AssetKind& kind : LandscapeKinds()) {
        AddPicture(manifest, kind.section, kind.id, kind.file, kind.frames, [&kind] { return kind.draw(kind); });
    }
    for (const AssetKind& kind : StationKinds()) {
        AddPicture(manifest, kind.section, kind.id, kind.file, kind.frames, [&kind] { return kind.draw(kind); });
        if (!kind.disabledId.empty()) {
            AddPicture(manifest, kind.section, kind.disabledId, kind.disabledFile, 4,
                       [&kind] { return DrawDisabledStation(kind); });
        }
    }
    const int sections = static_cast<int>(map->sections.size());
    for (int n = 0; n < sections; ++n) {
        const int number = n + 1;
        AddPicture(manifest, "mapbacks", "BACKGROUND" + std::to_string(number), BackFile("background", number), 1,
                   [map, n, betweenWidth] { return DrawSectionBackground(map->sections[n], n, betweenWidth); });
        AddPicture(manifest, "mapbacks", "OVERLAY" + std::to_string(number), BackFile("overlay", number), 1,
                   [map, n] { return DrawSectionOverlay(map->sections[n], n); });
        if (n + 1 < sections) {
            AddPicture(manifest, "mapbacks", "BETWEEN_A" + std::to_string(number), BackFile("between_a", number), 1,
                       [map, n, betweenWidth] {
                           return DrawBetween(map->sections[n], map->sections[n + 1], n, betweenWidth);
                       });
            AddPicture(manifest, "mapbacks", "BETWEEN_B" + std::to_string(number), BackFile("between_b", number), 1,
                       [map, n, betweenWidth] { return DrawBetweenLocked(map->sections[n + 1], betweenWidth); });
        }
    }
}

void AddMapFiles(const MapLayout& map, const GeneratorInputs& inputs, MediaTree& tree) {
    tree.Add(kSectionsFile, SectionsXml(map));
    tree.Add(kAnchorPointsFile, AnchorPointsXml());
    tree.MarkLooseOnly(kAnchorPointsFile);
    Bytes handWritten;
    const std::string assets = inputs.mediaSource + "/" + kHandWrittenAssets;
    if (platform::FileExists(assets) && !platform::ReadWholeFile(assets, handWritten)) {
        throw std::runtime_error("cannot read " + assets);
    }
    tree.Add("media/" + std::string(kHandWrittenAssets),
             CompleteAssetsXml(std::string(handWritten.begin(), handWritten.end())));
}
