#include "mediagen/Generator.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "mediagen/Families.h"
#include "mediagen/FontFaces.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kResourcesFile = "media/properties/resources.xml";

// The checked-in media: copied as they are, in a fixed order.
void AddCheckedInFiles(const std::string& mediaSource, MediaTree& tree) {
    if (!fs::exists(mediaSource)) {
        return;
    }
    const fs::path generatorSources = fs::path(mediaSource) / "src";
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(mediaSource)) {
        const fs::path relative = fs::relative(entry.path(), generatorSources);
        const bool isSource = !relative.empty() && *relative.begin() != "..";
        const bool completed = fs::relative(entry.path(), mediaSource).generic_string() == kHandWrittenAssets;
        if (entry.is_regular_file() && !isSource && !completed && entry.path().filename() != ".gitkeep") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const std::string path = "media/" + fs::relative(file, mediaSource).generic_string();
        for (char c : path) {
            if (c >= 'A' && c <= 'Z') {
                throw std::runtime_error("media file names are lower case: " + path);
            }
        }
        Bytes bytes;
        if (!platform::ReadWholeFile(file.string(), bytes)) {
            throw std::runtime_error("cannot read " + file.string());
        }
        tree.Add(path, std::move(bytes));
    }
}

}  // namespace

Manifest BuildManifest(const GeneratorInputs& inputs, FontFaces& faces, const std::shared_ptr<const MapLayout>& map) {
    Manifest manifest;
    // Sections in the order the program meets them; the ones never asked for
    // by name, or only waited for, load by themselves in the background.
    for (const char* name : {"splash", "music", "preloading", "default", "dialogs", "selectionscene", "classic",
                             "gamescene", "mapscene", "assets", "mapbacks"}) {
        manifest.AddSection(name, false);
    }
    for (const char* name : {"wordlist", "trophy", "rewards"}) {
        manifest.AddSection(name, true);
    }
    AddFontRows(manifest, faces);
    AddButtonRows(manifest, faces);
    AddSoundRows(manifest);
    AddMusicRows(manifest);
    AddMenuSoundRows(manifest);
    AddLevelSoundRows(manifest);
    AddLetterSoundRows(manifest);
    AddStartScreenRows(manifest, faces);
    AddMenuRows(manifest, faces);
    AddClassicRows(manifest, faces, inputs);
    AddUiRows(manifest, faces);
    AddPainterRows(manifest);
    AddGameDialogRows(manifest, faces);
    AddTrophyRows(manifest, faces);
    AddQueueRows(manifest);
    AddCoalRows(manifest, faces);
    AddWordListRows(manifest, inputs);
    AddMapRows(manifest, map, SectionBetweenWidth(inputs.mediaSource));
    AddMapSpriteRows(manifest, faces, inputs);
    AddMapHudRows(manifest, faces);
    AddResultRows(manifest, faces);
    AddMapSoundRows(manifest);
    AddRaceRows(manifest);
    AddEffectRows(manifest, faces);
    AddHudRows(manifest);
    AddGameSceneRows(manifest, faces);
    return manifest;
}

MediaTree GenerateMedia(const GeneratorInputs& inputs) {
    MediaTree tree;
    AddCheckedInFiles(inputs.mediaSource, tree);
    FontFaces faces(inputs.fontFolder);
    const std::shared_ptr<const MapLayout> map = BuildMap(inputs);
    const Manifest manifest = BuildManifest(inputs, faces, map);
    manifest.MakeFiles(tree);
    AddMapFiles(*map, inputs, tree);
    tree.Add(kResourcesFile, manifest.ResourcesXml());
    return tree;
}
