#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "mediagen/Families.h"
#include "mediagen/MusicScores.h"
#include "mediagen/OggVorbisEncoder.h"

namespace {

constexpr int kMusicRate = 44100;
constexpr float kMusicQuality = 0.2f;
// Every piece is heard at -20 dBFS RMS: loud enough beside the effects,
// with its peaks well clear of full scale.
constexpr double kMusicLoudness = 0.1;
// A stream plays at half its channel volume (its volume byte is 128) times
// the level its scene fades it to; its multiplier brings that back to the
// full channel volume, so each piece is heard as loud as it was rendered.
constexpr double kStreamVolumeShare = 128.0 / 255.0;

struct MusicPiece {
    const char* id;
    const char* name;
    Piece (*score)();
    // The level the scene that plays the piece fades it to.
    double sceneLevel;
};

constexpr MusicPiece kPieces[] = {
    {"MUSIC_SELECTION", "selection", SelectionMusic, 1.0},
    {"MUSIC_MAP", "map", MapMusic, 1.0},
    {"MUSIC_GAME", "game", GameMusic, 0.7},
};

std::string VolumeMultiplier(double sceneLevel) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", 1.0 / (kStreamVolumeShare * sceneLevel));
    return text;
}

std::string SyncPointsXml(const std::vector<uint32_t>& frames) {
    std::string xml = "<?xml version=\"1.0\" ?>\n<root>\n  <Vector id=\"SyncPoints\">\n";
    for (const uint32_t frame : frames) {
        xml += "    <Node>\n      <Integer id=\"value\" value=\"" + std::to_string(frame) + "\"/>\n    </Node>\n";
    }
    return xml + "  </Vector>\n</root>\n";
}

}  // namespace

void AddMusicRows(Manifest& manifest) {
    for (const MusicPiece& piece : kPieces) {
        const std::string file = std::string("media/music/") + piece.name + ".ogg";
        const std::string syncPoints = std::string("media/music/") + piece.name + "_sync.xml";
        auto make = [file, syncPoints, score = piece.score](MediaTree& tree) {
            const RenderedPiece rendered = RenderPiece(score(), kMusicRate, kMusicLoudness);
            tree.Add(file, EncodeOggVorbis(rendered.interleaved, 2, rendered.rate, kMusicQuality));
            tree.Add(syncPoints, SyncPointsXml(rendered.barStarts));
            // The program opens streams and their sync points from disk only.
            tree.MarkLooseOnly(file);
            tree.MarkLooseOnly(syncPoints);
        };
        manifest.Add({"music", piece.id, "Stream", file,
                      {{"syncpointsfile", syncPoints},
                       {"volumemultiplier", VolumeMultiplier(piece.sceneLevel)},
                       {"panning", "128"}},
                      make});
    }
}
