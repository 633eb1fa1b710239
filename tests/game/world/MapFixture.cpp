#include "MapFixture.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"

namespace {

std::string Int(const char* id, int value) {
    return std::string("<Integer id=\"") + id + "\" value=\"" + std::to_string(value) + "\"/>";
}

std::string Ints(const char* id, std::initializer_list<int> values) {
    std::string xml = std::string("<Vector id=\"") + id + "\">";
    for (const int value : values) {
        xml += "<Integer value=\"" + std::to_string(value) + "\"/>";
    }
    return xml + "</Vector>";
}

std::string City(int x) {
    return "<CityInfo>" + Int("x", x) + Int("y", 0) + Int("circleX", x) + Int("circleY", 0) +
           Int("circleRadius", 12) + Int("ticketX", x) + Int("ticketY", -30) + Int("index", x / 100) +
           "<Vector id=\"assets\"><Node>" + Int("aid", 4) + Int("x", x + 5) + Int("y", 7) +
           "</Node></Vector></CityInfo>";
}

// A straight part sampled at its two ends, with circle points.
std::string Part(float x0, float y0, float x1, float y1, std::initializer_list<int> circles) {
    const auto point = [](float x, float y) {
        return "<Node><Float id=\"x\" value=\"" + std::to_string(x) + "\"/><Float id=\"y\" value=\"" +
               std::to_string(y) + "\"/></Node>";
    };
    return "<TrackPart><Vector id=\"points\">" + point(x0, y0) + point(x1, y1) + "</Vector>" + Int("steps", 1) +
           Int("ticketX", static_cast<int>(x0)) + Int("ticketY", static_cast<int>(y0)) +
           Ints("circlePoints", circles) + "</TrackPart>";
}

std::string Track(int city0, int city1, int section, std::initializer_list<int> curves) {
    return "<TrackInfo>" + Int("city0", city0) + Int("city1", city1) + Int("section", section) +
           Int("trackIndicatorX", 11) + Int("trackIndicatorY", 22) + Ints("curveIDs", curves) + "</TrackInfo>";
}

}  // namespace

std::string MapFixture::SectionsXml() {
    const std::string section0 =
        "<Node><Vector id=\"cities\">" + City(0) + City(100) + City(300) + City(900) + "</Vector>" +
        "<Vector id=\"trackParts\">" + Part(0, 0, 100, 0, {50, 0, 25}) + Part(100, 0, 200, 0, {150, 0, 25}) +
        Part(300, 0, 200, 0, {250, 0, 60}) + Part(300, 0, 300, 100, {300, 50, 5}) + Part(60, 20, 150, 20, {}) +
        "</Vector><Vector id=\"tracks\">" + Track(0, 1, 0, {0, 1, 2}) + Track(1, 2, 0, {3}) + "</Vector>" +
        "<Vector id=\"assets\"><Node>" + Int("aid", 2) + Int("x", 40) + Int("y", 50) + "</Node></Vector>" +
        Ints("unlockedtracks", {1}) + Int("enter", 0) + Int("leave", 2) + "</Node>";
    const std::string section1 =
        "<Node><Vector id=\"cities\">" + City(0) + City(100) + "</Vector>" + "<Vector id=\"trackParts\">" +
        Part(0, 0, 100, 0, {}) + "</Vector><Vector id=\"tracks\">" + Track(0, 5, 1, {0}) + Track(0, 1, 0, {0}) +
        Track(0, 1, 1, {0, 9}) + Track(1, 0, 1, {0}) + "</Vector>" + Ints("unlockedtracks", {3, 0, 7}) + "</Node>";
    return "<Vector id=\"sections\">" + section0 + section1 + "</Vector>";
}

Ref<PropertyFile> MapFixture::Parse(const std::string& body) {
    const std::string xml = "<root>" + body + "</root>";
    Ref<PropertyFile> file = new PropertyFile;
    file->LoadFromMemory(xml.data(), xml.size(), "map fixture");
    return file;
}

Ref<TrackPart> MapFixture::Line(float x0, float y0, float x1, float y1) {
    Ref<PropertyFile> file = Parse(Part(x0, y0, x1, y1, {}));
    Ref<Object> part = ClassFactory::Instance().Create(Property::At(file.Get(), 0));
    return ObjectCast<TrackPart>(part.Get());
}

MapFixture::MapFixture() : map(new SectionList) {
    Defines::Create();
    Ref<PropertyFile> constants =
        Parse("<Vector id=\"TRACK_LENGTH_PER_NUM_PIXELS\"><Integer value=\"165\"/><Integer value=\"200\"/>"
              "<Integer value=\"235\"/><Integer value=\"1600\"/></Vector>");
    ClassFactory::Instance().CreateNamedObjects(*constants);
    map->Build(Property::Child(Parse(SectionsXml()).Get(), "sections"));
}

MapFixture::~MapFixture() { Defines::ReleaseInstance(); }
