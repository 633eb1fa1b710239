#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "platform/PngWriter.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/media/MusicStream.h"
#include "engine/media/Surface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Button.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/ToolTip.h"
#include "game/words/WordList.h"
#include "mediagen/WordFile.h"
#include "mediagen/MediaTree.h"
#include "platform/Files.h"
#include "platform/OggDecoder.h"
#include "platform/SampleDecoding.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

// The media this build generated, read back through the program's readers.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

Bytes Loose(const std::string& path) {
    Bytes bytes;
    EXPECT_TRUE(platform::ReadWholeFile(kBuild + "/" + path, bytes)) << path;
    return bytes;
}

Ref<PropertyFile> ReadXml(const std::string& path) {
    const Bytes bytes = Loose(path);
    Ref<PropertyFile> file = new PropertyFile;
    EXPECT_TRUE(file->LoadFromMemory(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path)) << path;
    return file;
}

std::string Key(const Property* node, const char* name) { return Property::AsString(Property::Child(node, name)); }

struct Declared {
    std::string section;
    const Property* node;
};

// Every resource of resources.xml, section by section; the nodes live as
// long as `resources`.
std::vector<Declared> DeclaredResources(const Ref<PropertyFile>& resources) {
    std::vector<Declared> declared;
    const Property* sections = Property::Child(resources.Get(), "Sections");
    for (int s = 0; const Property* section = Property::At(sections, s); ++s) {
        for (int r = 0; const Property* resource = Property::At(section, r); ++r) {
            declared.push_back({Key(section, "name"), resource});
        }
    }
    return declared;
}

// Width, height, bit depth and colour type from a PNG's header.
struct PngHeader {
    uint32_t width = 0, height = 0;
    int depth = 0, colorType = 0;
};

PngHeader ReadPngHeader(const Bytes& png) {
    PngHeader header;
    if (png.size() < 26) {
        return header;
    }
    auto word = [&png](size_t at) { return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3]; };
    header.width = word(16);
    header.height = word(20);
    header.depth = png[24];
    header.colorType = png[25];
    return header;
}

std::string PictureOf(const Property* resource) {
    const std::string file = Key(resource, "file");
    return file.empty() ? Key(resource, "mask") : file;
}

// Music streams and their sync points are opened from disk only, so they
// stay out of the archive; everything else is in both.
TEST(GeneratedMedia, EveryResourceFileIsThereLooseAndInTheArchive) {
    Ref<Archive> archive = new Archive(kBuild + "/media.dat");
    const std::set<std::string> kinds = {"Image", "Sound", "Stream", "Font", "Xmlfile", "WordList"};
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    const std::vector<Declared> declared = DeclaredResources(resources);
    ASSERT_FALSE(declared.empty());
    for (const Declared& resource : declared) {
        EXPECT_EQ(kinds.count(resource.node->TypeName()), 1u) << resource.node->Name();
        const bool looseOnly = resource.node->TypeName() == "Stream";
        for (const char* key : {"file", "mask", "format", "syncpointsfile"}) {
            const std::string path = Key(resource.node, key);
            if (path.empty()) {
                continue;
            }
            EXPECT_EQ(NormalizeMediaPath(path), path);  // found on disk as declared
            const Bytes loose = Loose(path);
            EXPECT_FALSE(loose.empty()) << path;
            Ref<DataBuffer> member = new DataBuffer;
            if (looseOnly) {
                EXPECT_EQ(archive->ReadMember(path, *member), Archive::ReadResult::Missing) << path;
                continue;
            }
            ASSERT_EQ(archive->ReadMember(path, *member), Archive::ReadResult::Loaded) << path;
            EXPECT_TRUE(Bytes(member->Bytes(), member->Bytes() + member->Count()) == loose) << path;
        }
    }
}

TEST(GeneratedMedia, PicturesAreRgba8AndHoldWholeFrames) {
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        const std::string kind = resource.node->TypeName();
        if (kind != "Image" && kind != "Font") {
            continue;
        }
        const std::string picture = PictureOf(resource.node);
        const PngHeader header = ReadPngHeader(Loose(picture));
        EXPECT_EQ(header.depth, 8) << picture;
        EXPECT_EQ(header.colorType, 6) << picture;  // RGBA
        const int frames = std::max(1, Property::AsInt(Property::Child(resource.node, "nrofframes")));
        EXPECT_EQ(header.height % frames, 0u) << picture;
    }
}

// The fonts player names are typed and shown in (name field, player list,
// greeting, rank name, score tables) also hold every character beyond ASCII
// that Windows-1252 has: 96 from 0xA0 and 27 of 0x80 to 0x9F.
const std::set<std::string> kNameFonts = {"FONT_TEXT", "FONT_DIALOG_HEADER", "FONT_DIALOG_HEADER_20"};
constexpr size_t kWindows1252Extras = 96 + 27;

TEST(GeneratedMedia, FontsDescribeEveryPrintableCharacterInOneLineBox) {
    int fonts = 0;
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        if (resource.node->TypeName() != "Font") {
            continue;
        }
        ++fonts;
        const PngHeader picture = ReadPngHeader(Loose(PictureOf(resource.node)));
        Ref<PropertyFile> format = ReadXml(Key(resource.node, "format"));
        const int lineHeight = Property::AsInt(Property::Child(Property::Child(format.Get(), "charsetinfo"), "lineheight"));
        std::set<char> characters;
        const Property* charset = Property::Child(format.Get(), "charset");
        for (int i = 0; const Property* glyph = Property::At(charset, i); ++i) {
            auto key = [glyph](const char* name) { return Property::AsInt(Property::Child(glyph, name)); };
            characters.insert(glyph->Name()[0]);
            EXPECT_EQ(key("h"), lineHeight) << resource.node->Name();
            EXPECT_LE(uint32_t(key("x") + key("w")), picture.width) << resource.node->Name();
            EXPECT_LE(uint32_t(key("y") + key("h")), picture.height) << resource.node->Name();
        }
        const bool nameFont = kNameFonts.count(resource.node->Name()) != 0;
        EXPECT_EQ(characters.size(), 94u + (nameFont ? kWindows1252Extras : 0)) << resource.node->Name();
    }
    EXPECT_GE(fonts, 22);
}

TEST(GeneratedMedia, SoundsDecodeAsShortMonoSounds) {
    int sounds = 0;
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        if (resource.node->TypeName() != "Sound") {
            continue;
        }
        ++sounds;
        EXPECT_GT(Property::AsFloat(Property::Child(resource.node, "volumemultiplier")), 0.0f);
        EXPECT_LE(Property::AsFloat(Property::Child(resource.node, "volumemultiplier")), 1.0f);
        platform::Pcm pcm;
        ASSERT_EQ(platform::DecodeOggSample(Loose(Key(resource.node, "file")), 44100, pcm),
                  platform::SampleDecodeResult::Decoded)
            << resource.node->Name();
        EXPECT_EQ(pcm.channels, 1);
        EXPECT_GT(pcm.Frames(), 0u);
        EXPECT_LT(pcm.Frames(), size_t(pcm.rate) * 3);
        // The mix adds sounds together: an effect peaks within half of full
        // scale, about as high as the music's own peaks (-20 dBFS RMS), so
        // effects over the music seldom reach the limiter.
        int peak = 0;
        for (const int16_t sample : pcm.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_LT(peak, 16384) << resource.node->Name();  // under -6 dBFS
        EXPECT_GT(peak, 4000) << resource.node->Name();   // and not near silence
    }
    EXPECT_GE(sounds, 1);
}

std::vector<Declared> DeclaredOfKind(const Ref<PropertyFile>& resources, const std::string& kind) {
    std::vector<Declared> found;
    for (const Declared& resource : DeclaredResources(resources)) {
        if (resource.node->TypeName() == kind) {
            found.push_back(resource);
        }
    }
    return found;
}

platform::Pcm DecodeMusic(const std::string& path) {
    platform::Pcm pcm;
    const std::unique_ptr<platform::OggDecoder> decoder = platform::OggDecoder::Open(Loose(path));
    if (decoder != nullptr) {
        platform::DecodeRemaining(*decoder, platform::kMaxSoundFrames, pcm);
    }
    return pcm;
}

// Nothing can be heard here, so the music's levels are measured: each piece
// heard at -20 dBFS RMS (its stream's volume byte of 128, its multiplier and
// the level its scene fades it to, at the default music volume), peaks clear
// of full scale, no offset, and no jump where the decoded loop turns over (a
// step from the last frame to the first steeper than the piece's own drum
// attacks). That notes ring on across the turn is the sequencer's test.
TEST(GeneratedMedia, MusicLoopsAtSteadyLevelsWithoutAJumpAtTheSeam) {
    const std::map<std::string, double> sceneLevels = {
        {"MUSIC_SELECTION", 1.0}, {"MUSIC_MAP", 1.0}, {"MUSIC_GAME", 0.7}};
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    const std::vector<Declared> streams = DeclaredOfKind(resources, "Stream");
    ASSERT_EQ(streams.size(), 3u);
    for (const Declared& stream : streams) {
        const std::string name = stream.node->Name();
        EXPECT_EQ(stream.section, "music") << name;
        ASSERT_EQ(sceneLevels.count(name), 1u) << name;
        const double channelVolume =
            std::min(255.0, std::round(128.0 * Property::AsFloat(Property::Child(stream.node, "volumemultiplier")) *
                                       sceneLevels.at(name)));
        const platform::Pcm pcm = DecodeMusic(Key(stream.node, "file"));
        ASSERT_EQ(pcm.channels, 2) << name;
        ASSERT_EQ(pcm.rate, 44100) << name;
        const double seconds = static_cast<double>(pcm.Frames()) / pcm.rate;
        EXPECT_GE(seconds, 60.0) << name;
        EXPECT_LE(seconds, 120.0) << name;
        for (size_t channel = 0; channel < 2; ++channel) {
            int peak = 0;
            double sum = 0;
            double power = 0;
            std::vector<int> steps;
            for (size_t frame = 0; frame < pcm.Frames(); ++frame) {
                const int sample = pcm.samples[frame * 2 + channel];
                peak = std::max(peak, std::abs(sample));
                sum += sample;
                power += static_cast<double>(sample) * sample;
                if (frame > 0) {
                    steps.push_back(std::abs(sample - pcm.samples[(frame - 1) * 2 + channel]));
                }
            }
            EXPECT_LT(peak, 29000) << name;          // under -1 dBFS
            EXPECT_GT(peak, 8000) << name;           // and not near silence
            EXPECT_LT(std::abs(sum / static_cast<double>(pcm.Frames())), 30.0) << name;  // 0.1% of full scale
            const double heard = std::sqrt(power / static_cast<double>(pcm.Frames())) * channelVolume / 255.0;
            EXPECT_NEAR(20.0 * std::log10(heard / 32768.0), -20.0, 1.0) << name;
            std::sort(steps.begin(), steps.end());
            const int steep = steps[steps.size() * 999 / 1000];
            const int seam = std::abs(pcm.samples[channel] - pcm.samples[(pcm.Frames() - 1) * 2 + channel]);
            EXPECT_LE(seam, steep) << name << " channel " << channel;
        }
    }
}

// The WAV cache of an Ogg sound is named after the file's base name alone,
// so two sound files with one base name would overwrite each other.
TEST(GeneratedMedia, SoundFilesHaveDistinctBaseNames) {
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    std::map<std::string, std::string> fileByBaseName;
    for (const Declared& sound : DeclaredOfKind(resources, "Sound")) {
        const std::string file = Key(sound.node, "file");
        const auto [entry, added] = fileByBaseName.emplace(std::filesystem::path(file).stem().string(), file);
        EXPECT_TRUE(added || entry->second == file) << file << " and " << entry->second;
    }
}

// The resource ids a text names: whole string literals "SOUND_..." and
// "MUSIC_..." (not a prefix that code completes with a number).
std::vector<std::string> QuotedSoundIds(const std::string& text) {
    std::vector<std::string> ids;
    for (size_t at = text.find('"'); at != std::string::npos; at = text.find('"', at + 1)) {
        if (text.compare(at + 1, 6, "SOUND_") != 0 && text.compare(at + 1, 6, "MUSIC_") != 0) {
            continue;
        }
        size_t end = at + 1;
        while (end < text.size() && (std::isupper(static_cast<unsigned char>(text[end])) ||
                                     std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '_')) {
            ++end;
        }
        if (end < text.size() && text[end] == '"' && text[end - 1] != '_') {
            ids.push_back(text.substr(at + 1, end - at - 1));
        }
        at = end;
    }
    return ids;
}

// The values of a definition's sound keys: "clicksound", "opensound",
// "sound" and the like.
std::vector<std::string> SoundKeyValues(const std::string& text) {
    std::vector<std::string> ids;
    const std::string key = "sound=\"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        size_t name = at;
        while (name > 0 && std::islower(static_cast<unsigned char>(text[name - 1]))) {
            --name;
        }
        const size_t value = at + key.size();
        const size_t close = text.find('"', value);
        if (name > 0 && std::isspace(static_cast<unsigned char>(text[name - 1])) && close != std::string::npos &&
            close > value) {
            ids.push_back(text.substr(value, close - value));
        }
    }
    return ids;
}

// Every sound and music id that the code names as a whole literal, or that
// a shipped definition names in one of its sound keys, is declared; the
// declared files decode (the tests above and below).
TEST(GeneratedMedia, EverySoundAndMusicIdNamedIsDeclared) {
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    std::set<std::string> declared;
    for (const char* kind : {"Sound", "Stream"}) {
        for (const Declared& resource : DeclaredOfKind(resources, kind)) {
            declared.insert(resource.node->Name());
        }
    }
    std::map<std::string, std::string> named;  // id -> the file naming it
    const auto collect = [&named](const std::filesystem::path& folder,
                                  std::vector<std::string> (*idsIn)(const std::string&)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            Bytes bytes;
            if (entry.is_regular_file() && platform::ReadWholeFile(entry.path().string(), bytes)) {
                for (const std::string& id : idsIn(std::string(bytes.begin(), bytes.end()))) {
                    named.emplace(id, entry.path().filename().string());
                }
            }
        }
    };
    collect(std::filesystem::path(WORDRAIL_MEDIA_SOURCE).parent_path() / "src", QuotedSoundIds);
    collect(std::filesystem::path(WORDRAIL_MEDIA_SOURCE) / "properties", SoundKeyValues);
    ASSERT_FALSE(named.empty());  // the scan sees the code
    for (const auto& [id, where] : named) {
        EXPECT_EQ(declared.count(id), 1u) << id << " named in " << where;
    }
}

// The text of every regular file below a folder, by file name.
std::map<std::string, std::string> FilesBelow(const std::filesystem::path& folder, const std::string& extension = "") {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        Bytes bytes;
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension) &&
            platform::ReadWholeFile(entry.path().string(), bytes)) {
            files[entry.path().filename().string()] = std::string(bytes.begin(), bytes.end());
        }
    }
    return files;
}

// What the shipped media declares: resources by id with their sections, and
// every other id a definition or constant file gives (definitions, texts,
// constants and lists).
struct KnownIds {
    std::map<std::string, std::set<std::string>> resourceSections;
    std::set<std::string> defined;

    bool IsResource(const std::string& id, const std::string& section) const {
        const auto found = resourceSections.find(id);
        return found != resourceSections.end() && (section.empty() || found->second.count(section) == 1);
    }
    // The numbers that complete `prefix` into a known id, in order.
    std::vector<int> Numbers(const std::string& prefix) const {
        std::set<int> numbers;
        const auto collect = [&](const std::string& id) {
            if (id.size() > prefix.size() && id.compare(0, prefix.size(), prefix) == 0 &&
                std::all_of(id.begin() + static_cast<std::ptrdiff_t>(prefix.size()), id.end(),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
                numbers.insert(std::stoi(id.substr(prefix.size())));
            }
        };
        for (const auto& [id, sections] : resourceSections) {
            collect(id);
        }
        for (const std::string& id : defined) {
            collect(id);
        }
        return {numbers.begin(), numbers.end()};
    }
};

// The generated definition, constant and data files, by name, less the
// resource list.
std::map<std::string, std::string> DefinitionFiles() {
    std::map<std::string, std::string> files = FilesBelow(kBuild + "/media/properties", ".xml");
    files.merge(FilesBelow(kBuild + "/media/data", ".xml"));
    files.erase("resources.xml");
    return files;
}

KnownIds ReadKnownIds() {
    KnownIds known;
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        known.resourceSections[resource.node->Name()].insert(resource.section);
    }
    const std::regex id(R"re(\sid="([^"]+)")re");
    for (const auto& [name, text] : DefinitionFiles()) {
        for (auto it = std::sregex_iterator(text.begin(), text.end(), id); it != std::sregex_iterator(); ++it) {
            known.defined.insert((*it)[1]);
        }
    }
    return known;
}

struct Named {
    std::string id, section, where;
};

// Every id-shaped "key=value" (upper case, digits and underscores) that the
// elements of the definition files give for one of `keys`, with the
// element's "section" when it has one; a label's "text" may be plain text.
std::vector<Named> DefinitionValues(const std::set<std::string>& keys) {
    std::vector<Named> named;
    const std::regex element(R"re(<[A-Za-z]+((?:\s+[A-Za-z_]+="[^"]*")+)\s*/?>)re");
    const std::regex attribute(R"re(([A-Za-z_]+)="([^"]*)")re");
    const std::regex idShape("[A-Z][A-Z0-9_]*");
    for (const auto& [file, text] : DefinitionFiles()) {
        for (auto e = std::sregex_iterator(text.begin(), text.end(), element); e != std::sregex_iterator(); ++e) {
            const std::string attributes = (*e)[1];
            std::map<std::string, std::string> values;
            for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
                 a != std::sregex_iterator(); ++a) {
                values[(*a)[1]] = (*a)[2];
            }
            for (const auto& [key, value] : values) {
                if (keys.count(key) == 1 && std::regex_match(value, idShape)) {
                    named.push_back({value, values.count("section") == 1 ? values["section"] : "", file});
                }
            }
        }
    }
    return named;
}

// Every whole id literal the code hands to one of `calls` as its first
// argument. A resource lookup counts only when the id is all it names: the
// call ends there or after a section, literal or a named constant (not
// `Image("BOOSTMETER", model)`, which adds the number).
std::vector<Named> CodeArguments(const std::string& calls, bool resource) {
    std::vector<Named> named;
    const std::string tail = resource ? R"re(\s*(?:,\s*(?:"([a-z_]+)"|[\w:]*\bk[A-Z]\w*)\s*)?\))re" : R"re(\s*[,)])re";
    const std::regex call(R"re(\b(?:)re" + calls + R"re()(?:<\w+>)?\(\s*"([A-Z][A-Z0-9_]*)")re" + tail);
    const std::filesystem::path source = std::filesystem::path(WORDRAIL_MEDIA_SOURCE).parent_path() / "src";
    for (const auto& [file, text] : FilesBelow(source)) {
        for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator(); ++it) {
            named.push_back({(*it)[1], resource ? std::string((*it)[2]) : "", file});
        }
    }
    return named;
}

// Pictures, fonts, definitions, texts and constants named by the code and by
// the definition and constant files are all there: a picture or font is a
// declared resource (in the section its user names), whose file the tests
// above decode; anything else has a definition.
TEST(GeneratedMedia, EveryIdTheSourcesNameIsDeclared) {
    const KnownIds known = ReadKnownIds();
    ASSERT_GT(known.resourceSections.size(), 100u);
    const struct {
        const char* what;
        std::vector<Named> named;
        bool resource;
    } sources[] = {
        {"picture or font key", DefinitionValues({"image", "font", "cursorimage", "background", "scenebackground",
                                                  "bgimage", "bodyimage", "wheelbarBig", "wheelbarSmall", "star",
                                                  "button"}),
         true},
        {"text, painter or definition key", DefinitionValues({"headertext", "textid", "text", "tooltip", "painterid",
                                                              "wheelid"}),
         false},
        {"resource lookup", CodeArguments("FindResourceData|FindImage|FindSurface|FindPicture|FindMapImage|"
                                          "GetResource|Picture|Image",
                                          true),
         true},
        {"definition, text or constant lookup",
         CodeArguments("GetDialog|OpenDialogInCurrentScene|CreateObject|CreateDialog|CreateNamed|FindScene|SwitchTo|"
                       "LoadDefinition|LookUpText|TextOf|Constant|Int|Float|List|GetVector|DefinesVector",
                       false),
         false},
    };
    for (const auto& source : sources) {
        EXPECT_FALSE(source.named.empty()) << source.what;  // the scan sees its sources
        for (const Named& named : source.named) {
            const bool found = source.resource ? known.IsResource(named.id, named.section)
                                               : known.defined.count(named.id) == 1;
            EXPECT_TRUE(found) << source.what << " " << named.id << " (section \"" << named.section << "\") in "
                               << named.where;
        }
    }
}

// Ids the code completes with a number ("TICKET_" + the game type) have at
// least one member, numbered without a gap (from the smallest the code asks
// for: floater fonts start at three letters).
TEST(GeneratedMedia, NumberedIdFamiliesHaveNoGaps) {
    const KnownIds known = ReadKnownIds();
    const std::regex family(R"re("([A-Z][A-Z0-9_]*)"\s*\+\s*std::to_string\()re");
    const std::filesystem::path source = std::filesystem::path(WORDRAIL_MEDIA_SOURCE).parent_path() / "src";
    std::map<std::string, std::string> prefixes;
    for (const auto& [file, text] : FilesBelow(source)) {
        for (auto it = std::sregex_iterator(text.begin(), text.end(), family); it != std::sregex_iterator(); ++it) {
            prefixes.emplace((*it)[1], file);
        }
    }
    ASSERT_FALSE(prefixes.empty());
    for (const auto& [prefix, where] : prefixes) {
        const std::vector<int> numbers = known.Numbers(prefix);
        ASSERT_FALSE(numbers.empty()) << prefix << " in " << where;
        EXPECT_EQ(numbers.back() - numbers.front() + 1, static_cast<int>(numbers.size())) << prefix;
    }
}

// The program's own start-up: the media folder is the current folder, and
// "media.dat" there makes every read go to the archive. Without it the same
// paths are read as loose files. The sections of resources.xml are declared
// and loaded by the loader thread.
class LoadedMedia : public testing::TestWithParam<bool> {
protected:
    LoadedMedia() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        if (GetParam()) {
            std::filesystem::current_path(kBuild);
        } else {
            std::filesystem::copy(kBuild + "/media", loose_.Path() + "/media", std::filesystem::copy_options::recursive);
            std::filesystem::current_path(loose_.Path());
        }
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        manager_ = SectionManager::Instance();
        manager_->AddDefinitionFile("media/properties/resources.xml");
        manager_->LoadSections();
        manager_->SetDeclared();
    }
    ~LoadedMedia() override {
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    void LoadSection(const std::string& name) {
        while (manager_->RequestSection(name)) {
            std::this_thread::yield();
        }
    }

    // The resource's data once its section is loaded.
    Object* Loaded(const Declared& declared) {
        LoadSection(declared.section);
        return manager_->GetResource(declared.node->Name(), declared.section);
    }

    TempUserFolders userFolders_;
    TempFolder loose_;
    std::filesystem::path previous_;
    SectionManager* manager_ = nullptr;
    const Ref<PropertyFile> resources_ = ReadXml("media/properties/resources.xml");
};

TEST_P(LoadedMedia, ReadsFromTheArchiveOnlyWhenItIsThere) {
    EXPECT_EQ(GetGlobalLoadMode(), GetParam() ? LoadMode::Archive : LoadMode::File);
}

// Through the resource kinds, as the game gets them: pictures with their
// frames, fonts that measure, samples, and the word list.
TEST_P(LoadedMedia, EveryDeclaredResourceLoadsThroughItsKind) {
    for (const Declared& declared : DeclaredResources(resources_)) {
        const std::string name = declared.node->Name();
        ASSERT_NE(ClassFactory::Instance().Find(declared.node->TypeName()), nullptr) << name;
        Object* data = Loaded(declared);
        ASSERT_NE(data, nullptr) << name;
        if (const auto* font = ObjectCast<BitmapFont>(data)) {
            EXPECT_GT(font->GetTextWidth(L"Rail", 0, 4, false), 0) << name;
        } else if (const auto* picture = ObjectCast<Surface>(data)) {
            const int frames = std::max(1, Property::AsInt(Property::Child(declared.node, "nrofframes")));
            EXPECT_EQ(picture->GetHeight() % frames, 0) << name;
        } else if (const auto* list = ObjectCast<WordList>(data)) {
            EXPECT_FALSE(list->HasError());
        }
    }
}

// Every picture decodes; every font reads its description over its picture,
// covers the printable characters, measures and draws.
TEST_P(LoadedMedia, PicturesDecodeAndFontsMeasureAndDraw) {
    for (const Declared& declared : DeclaredResources(resources_)) {
        const std::string kind = declared.node->TypeName();
        if (kind != "Image" && kind != "Font") {
            continue;
        }
        const std::string name = declared.node->Name();
        Ref<DataBuffer> bytes = new DataBuffer;
        ASSERT_FALSE(LoadFile(PictureOf(declared.node), *bytes, LoadMode::Default)) << name;
        const Ref<MemorySurface> picture = DecodePngFromMemory(bytes->Bytes(), bytes->Count(), PictureOf(declared.node));
        ASSERT_TRUE(picture) << name;
        const PngHeader header = ReadPngHeader(Loose(PictureOf(declared.node)));
        EXPECT_EQ(uint32_t(picture->GetWidth()), header.width) << name;
        EXPECT_EQ(uint32_t(picture->GetHeight()), header.height) << name;
        if (kind != "Font") {
            continue;
        }

        const bool maskFont = !Key(declared.node, "mask").empty();
        Ref<BitmapFont> font = new BitmapFont;
        ASSERT_TRUE(font->Load(Key(declared.node, "format"), maskFont, 0xFFFFFF, *picture, LoadMode::Default)) << name;
        for (int c = 33; c <= 126; ++c) {
            EXPECT_TRUE(font->HasGlyph(static_cast<wchar_t>(c))) << name << " " << char(c);
        }
        if (kNameFonts.count(name) != 0) {
            // As a typed name reaches the font: Windows-1252 bytes widened.
            for (const wchar_t c : NarrowToWide("\xE9\xEB\xF1\xDF\x8E")) {  // é ë ñ ß Ž
                EXPECT_TRUE(font->HasGlyph(c)) << name << " " << int(c & 0xFF);
            }
        }
        const std::wstring text = L"Word Rail!";
        const int32_t width = font->GetTextWidth(text, 0, static_cast<int32_t>(text.size()), false);
        EXPECT_GT(width, 0) << name;
        const Ref<MemorySurface> target = CreateMemorySurface(width + 8, font->GetLineHeight());
        const Ref<Canvas> canvas = target->CreateCanvas();
        canvas->SetColor(Color(0xFF0000));
        font->DrawText(*canvas, text, 0, 0);
        const uint32_t* pixels = target->Pixels32();
        const size_t count = static_cast<size_t>(target->GetWidth()) * target->GetHeight();
        EXPECT_TRUE(std::any_of(pixels, pixels + count, [](uint32_t p) { return (p >> 24) == 0xFF; })) << name;
        if (maskFont) {
            // Drawn in the caller's colour: opaque pixels are red.
            for (size_t i = 0; i < count; ++i) {
                if ((pixels[i] >> 24) == 0xFF) {
                    EXPECT_GE((pixels[i] >> 16) & 0xFF, 0xF0u) << name;
                    EXPECT_LE(pixels[i] & 0xFFFF, 0x0404u) << name;
                }
            }
        }
    }
}

TEST_P(LoadedMedia, WordListResourceHoldsTheFilteredWordSet) {
    const Property* definition = nullptr;
    for (const Declared& declared : DeclaredResources(resources_)) {
        if (declared.node->Name() == "WORDLIST" && declared.section == "wordlist") {
            definition = declared.node;
        }
    }
    ASSERT_NE(definition, nullptr);
    WordList* list = ObjectCast<WordList>(Loaded({"wordlist", definition}));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->HasError());

    const std::set<std::string> blocked = ReadWordSet(BlockListFile(WORDRAIL_MEDIA_SOURCE));
    const std::vector<std::string> expected = ReadCandidateWords(ScowlListFiles(WORDRAIL_SCOWL_FOLDER), blocked);
    std::vector<std::string> words;
    for (const WordNode* word : list->WordIndex()) {
        words.push_back(word->Text());
    }
    EXPECT_TRUE(words == expected);
    EXPECT_GT(words.size(), 20000u);
    for (const std::string& word : blocked) {
        EXPECT_EQ(list->Contains(word), nullptr) << word;
    }
    for (int length : {6, 7}) {
        EXPECT_EQ(list->RankedWords(length).size(), list->WordsOfLength(length).size());
        EXPECT_GT(HighestFullWindowRank(*list, length), 100);
    }

    EXPECT_NE(list->Contains("train"), nullptr);
    std::vector<const WordNode*> found;
    list->MatchPattern("tr??n", &found);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [](const WordNode* w) { return w->Text() == "train"; }));
    found.clear();
    list->FindFromLetters("garden", found, true, 6);
    std::set<std::string> anagrams;
    for (const WordNode* word : found) {
        anagrams.insert(word->Text());
    }
    EXPECT_TRUE(anagrams.count("danger") && anagrams.count("garden") && anagrams.count("ranged")) << anagrams.size();
}

// The tooltip the game installs: built from the shipped dialog
// definitions, with its font, and wrapping long tips at its width.
TEST_P(LoadedMedia, DefaultTooltipBuildsWithItsFont) {
    LoadSection("default");
    const Ref<DialogTable> table(new DialogTable("media/properties/dialogs.xml"));
    const Ref<Object> built(table->CreateObject("DEFAULT_TOOLTIP"));
    const auto* tip = ObjectCast<ToolTip>(built.Get());
    ASSERT_NE(tip, nullptr);
    EXPECT_GE(tip->GetShowDelay(), 0);
    EXPECT_GT(tip->GetRemoveDelay(), tip->GetShowDelay());
    ToolTipLabel* renderer = tip->GetRenderer();
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(renderer->GetFont(), nullptr);
    EXPECT_NE(renderer->GetBackgroundColor(), renderer->GetBorderColor());
    renderer->SetToolTip(L"Short");
    const int32_t shortWidth = renderer->GetWidth();
    EXPECT_GT(shortWidth, 0);
    renderer->SetToolTip(L"A rather long tooltip text that cannot stand on one line of the tooltip box at all");
    EXPECT_GT(renderer->GetLines().size(), 1u);
    EXPECT_LE(renderer->GetWidth(), 260);
    EXPECT_GT(renderer->GetWidth(), shortWidth);

    // A coal's tip at the screen's right edge, where the tip is moved to end
    // 3 px before it: its whole frame shows, and the text keeps the same air
    // from the frame on its left and on its right.
    renderer->SetToolTip(L"Double coal: this word scores twice the points and takes the train twice as far");
    const Ref<MemorySurface> screen = FilledSurface(320, 120, 0xFFFFFFFF);
    Ref<Canvas> canvas = screen->CreateCanvas();
    canvas->MoveOrigin(screen->GetWidth() - renderer->GetWidth() - 3, 10);
    renderer->Draw(*canvas);
    platform::WritePng(std::string(WORDRAIL_BUILD_DIR) + "/tooltip_coal.png", screen->Pixels32(), 320, 120);
    const int32_t row = 10 + renderer->GetHeight() / 2;
    int32_t frameLeft = -1, frameRight = -1, inkLeft = -1, inkRight = -1;
    for (int32_t x = 0; x < screen->GetWidth(); ++x) {
        for (int32_t y = row - 8; y <= row + 8; ++y) {
            const uint32_t rgb = PixelAt(*screen, x, y) & 0xFFFFFF;
            if (rgb == static_cast<uint32_t>(renderer->GetBorderColor()) && y == row) {
                frameLeft = frameLeft < 0 ? x : frameLeft;
                frameRight = x;
            } else if (((rgb >> 16) & 0xFF) < 0x90 && rgb != static_cast<uint32_t>(renderer->GetBorderColor())) {
                inkLeft = inkLeft < 0 ? x : inkLeft;
                inkRight = std::max(inkRight, x);
            }
        }
    }
    ASSERT_GE(frameLeft, 0);
    ASSERT_GE(inkLeft, 0);
    EXPECT_GT(frameRight, inkRight) << "the right side of the frame is off the screen";
    EXPECT_GE(inkLeft - frameLeft, 3);
    EXPECT_GE(frameRight - inkRight, 3);
    EXPECT_LE(std::abs((inkLeft - frameLeft) - (frameRight - inkRight)), 2)
        << "left " << inkLeft - frameLeft << ", right " << frameRight - inkRight;
}

// The window buttons of full screen and the default transition build from
// the shipped definitions with their pictures.
TEST_P(LoadedMedia, FullScreenButtonsAndTheDefaultTransitionBuild) {
    LoadSection("default");
    const Ref<DialogTable> table(new DialogTable("media/properties/dialogs.xml"));
    const Ref<Object> built(table->CreateObject("DEFAULT_FSH"));
    const auto* handler = ObjectCast<FullScreenHandler>(built.Get());
    ASSERT_NE(handler, nullptr);
    // Without a window there is no mode to restore: quit and minimise only.
    for (const Button* button : {handler->GetQuitButton(), handler->GetMinimizeButton()}) {
        ASSERT_NE(button, nullptr);
        ASSERT_NE(button->GetImage(), nullptr);
        EXPECT_GT(button->GetWidth(), 0);
    }
    EXPECT_LT(handler->GetMinimizeButton()->GetX(), handler->GetQuitButton()->GetX());
    const Ref<Object> transition(table->CreateDialog("TRANSITION_DEFAULT"));
    EXPECT_NE(ObjectCast<SceneTransition>(transition.Get()), nullptr);
}

// The streams load through their resource with a sync point at every bar
// start: from the loop's first frame, evenly spaced, whole bars to its end.
TEST_P(LoadedMedia, MusicStreamsCarryASyncPointAtEveryBarStart) {
    for (const Declared& declared : DeclaredOfKind(resources_, "Stream")) {
        const std::string name = declared.node->Name();
        const auto* stream = ObjectCast<MusicStream>(Loaded(declared));
        ASSERT_NE(stream, nullptr) << name;
        EXPECT_EQ(stream->GetFileName(), Key(declared.node, "file"));
        const std::vector<int32_t>& points = stream->GetSyncPoints();
        ASSERT_GE(points.size(), 2u) << name;
        EXPECT_EQ(points[0], 0) << name;
        const int32_t bar = points[1] - points[0];
        EXPECT_GT(bar, 44100 / 2) << name;
        for (size_t i = 1; i < points.size(); ++i) {
            EXPECT_EQ(points[i] - points[i - 1], bar) << name << " point " << i;
        }
        const platform::Pcm pcm = DecodeMusic(Key(declared.node, "file"));
        EXPECT_EQ(pcm.Frames(), points.size() * static_cast<size_t>(bar)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(BothLoadModes, LoadedMedia, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Archive" : "LooseFiles"; });

TEST(GeneratedMedia, LicenceAndLetterWeightsShipWithTheWords) {
    const Bytes licence = Loose("media/data/words_copyright.txt");
    EXPECT_NE(std::string(licence.begin(), licence.end()).find("Kevin Atkinson"), std::string::npos);
    Ref<PropertyFile> weights = ReadXml("media/properties/letterfreqs.xml");
    const Property* list = Property::Child(weights.Get(), "LETTER_FREQS");
    float sum = 0;
    for (int i = 0; i < 26; ++i) {
        const float weight = Property::AsFloat(Property::At(list, i));
        EXPECT_GT(weight, 0.0f) << char('a' + i);
        sum += weight;
    }
    EXPECT_EQ(Property::At(list, 26), nullptr);
    EXPECT_NEAR(sum, 100.0f, 0.1f);
}

}  // namespace
