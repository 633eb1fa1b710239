#include "CareerFixture.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"

namespace {

std::string Int(const char* id, int value) {
    return std::string("<Integer id=\"") + id + "\" value=\"" + std::to_string(value) + "\"/>";
}

std::string Ranks() {
    const char* rewards[] = {"", "people_carriage_2", "train_boost_1", "people_carriage_3", "gamemode_replace",
                             "train_boost_2", "", "gamemode_anagrams"};
    std::string xml = "<Vector id=\"RANKINGS\">";
    for (int rank = 0; rank < 15; ++rank) {
        const std::string reward = rank < 8 ? rewards[rank] : "";
        xml += "<Node score=\"" + std::to_string(rank * 1000) + "\"" +
               (reward.empty() ? "" : " reward=\"" + reward + "\" text=\"REWARD" + std::to_string(rank) + "\"") + "/>";
    }
    return xml + "</Vector>";
}

std::string MapXml() {
    std::string cities, parts, tracks, unlocked;
    for (int i = 0; i <= CareerFixture::kTracks; ++i) {
        cities += "<CityInfo>" + Int("x", 100 * i) + "</CityInfo>";
    }
    for (int i = 0; i < CareerFixture::kTracks; ++i) {
        parts += "<TrackPart><Vector id=\"points\"><Node><Float id=\"x\" value=\"" + std::to_string(100 * i) +
                 "\"/></Node><Node><Float id=\"x\" value=\"" + std::to_string(100 * i + 100) +
                 "\"/></Node></Vector>" + Int("steps", 1) + "</TrackPart>";
        tracks += "<TrackInfo>" + Int("city0", i) + Int("city1", i + 1) + "<Vector id=\"curveIDs\"><Integer value=\"" +
                  std::to_string(i) + "\"/></Vector></TrackInfo>";
        if (i < 13) {
            unlocked += "<Integer value=\"" + std::to_string(i) + "\"/>";
        }
    }
    return "<Vector id=\"sections\"><Node><Vector id=\"cities\">" + cities + "</Vector><Vector id=\"trackParts\">" +
           parts + "</Vector><Vector id=\"tracks\">" + tracks + "</Vector><Vector id=\"unlockedtracks\">" + unlocked +
           "</Vector>" + Int("enter", 2) + "</Node></Vector>";
}

}  // namespace

Ref<PropertyFile> CareerFixture::Parse(const std::string& body) {
    const std::string xml = "<root>" + body + "</root>";
    Ref<PropertyFile> file = new PropertyFile;
    file->LoadFromMemory(xml.data(), xml.size(), "career fixture");
    return file;
}

CareerFixture::CareerFixture() {
    Defines::Create();
    Ref<PropertyFile> constants = Parse(
        Ranks() + Int("COINS_PER_PASSENGER", 4) +
        "<Vector id=\"COINS_PER_PERFORMANCE\"><Integer value=\"10\"/><Integer value=\"20\"/><Integer value=\"30\"/>"
        "</Vector><Float id=\"RATING_MAX_CP_DEVIATION\" value=\"0.5\"/>"
        "<Vector id=\"MULTIPLY_MISSION_CP_BY\"><Float value=\"0.5\"/><Float value=\"0.75\"/></Vector>"
        "<Text id=\"RANK_NAME3\">Stoker</Text><Text id=\"REWARD4\">New tickets</Text>");
    ClassFactory::Instance().CreateNamedObjects(*constants);
    SectionList::Create();
    SectionList::Instance()->Build(Property::Child(Parse(MapXml()).Get(), "sections"));
}

CareerFixture::~CareerFixture() {
    SectionList::ReleaseInstance();
    Defines::ReleaseInstance();
}
