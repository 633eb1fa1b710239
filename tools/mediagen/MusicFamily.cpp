#include <cstdint>
#include <string>
#include <vector>

#include "mediagen/Families.h"
#include "mediagen/MusicScores.h"
#include "mediagen/OggVorbisEncoder.h"

namespace {

constexpr int kMusicRate = 44100;
constexpr float kMusicQuality = 0.2f;
// Well under full scale: the music sits beneath the effects, and the
// encoder's ringing stays clear of clipping.
constexpr double kMusicPeak = 0.5;

struct MusicPiece {
    const char* id;
    const char* name;
    Piece (*score)();
};

constexpr MusicPiece kPieces[] = {
    {"MUSIC_SELECTION", "selection", SelectionMusic},
    {"MUSIC_MAP", "map", MapMusic},
    {"MUSIC_GAME", "game", GameMusic},
};

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
            const RenderedPiece rendered = RenderPiece(score(), kMusicRate, kMusicPeak);
            tree.Add(file, EncodeOggVorbis(rendered.interleaved, 2, rendered.rate, kMusicQuality));
            tree.Add(syncPoints, SyncPointsXml(rendered.barStarts));
            // The program opens streams and their sync points from disk only.
            tree.MarkLooseOnly(file);
            tree.MarkLooseOnly(syncPoints);
        };
        manifest.Add({"music", piece.id, "Stream", file,
                      {{"syncpointsfile", syncPoints}, {"volumemultiplier", "1.0"}, {"panning", "128"}}, make});
    }
}
