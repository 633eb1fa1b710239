#include "RaceFixture.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DialogTable.h"
#include "game/constants/GameConstants.h"
#include "platform/Files.h"

namespace {

constexpr const char* kConstants =
    "<Integer id=\"DEFAULT_GAME_TIME\" value=\"10000\"/>"
    "<Integer id=\"MINIMAP_PIXELS_PER_UNIT\" value=\"10\"/>"
    "<Float id=\"TRAIN_MAX_SPEED\" value=\"100\"/><Float id=\"TRAIN_MAX_TURBO_SPEED\" value=\"200\"/>"
    "<Float id=\"TRAIN_ACC_INC\" value=\"100\"/><Float id=\"TRAIN_ACC_DEC\" value=\"100\"/>"
    "<Integer id=\"TURBO_MAX_TURNS\" value=\"3\"/><Integer id=\"TRAIN_BOOST_MSEC_PER_COAL\" value=\"1000\"/>"
    "<Integer id=\"TRAIN_SLOWEST_SOUND_DELAY\" value=\"600\"/>"
    "<Integer id=\"TRAIN_FASTEST_SOUND_DELAY\" value=\"200\"/>"
    "<Integer id=\"MINIMAP_HEIGHT\" value=\"150\"/><Integer id=\"MINIMAP_PLAYER_TRAIN_X\" value=\"100\"/>"
    "<Integer id=\"MINIMAP_PLAYER_TRAIN_Y\" value=\"120\"/><Integer id=\"MINIMAP_OPPONENT_TRAIN_Y\" value=\"90\"/>"
    "<Integer id=\"MINIMAP_STATION_X_OFFSET\" value=\"60\"/><Integer id=\"MINIMAP_PERRON_X_OFFSET\" value=\"20\"/>"
    "<Integer id=\"MINIMAP_STOP_OFFSET\" value=\"300\"/>"
    "<Float id=\"MINIMAP_MAX_SPEED\" value=\"400\"/><Float id=\"MINIMAP_ACC_INC\" value=\"300\"/>"
    "<Float id=\"MINIMAP_ACC_DEC\" value=\"400\"/>"
    "<Vector id=\"COALS_PER_SECTION\"><Integer value=\"3\"/><Integer value=\"4\"/><Integer value=\"5\"/></Vector>"
    "<Vector id=\"BOOST_PECENTAGE_PER_SECTION\"><Integer value=\"0\"/><Integer value=\"50\"/>"
    "<Integer value=\"100\"/><Integer value=\"200\"/></Vector>";

constexpr const char* kWheeledModel =
    "<Node section=\"gamescene\" yoffset=\"4\" bgimage=\"BACK\" bodyimage=\"BODY\" wheelbarx=\"30\" "
    "wheelbary=\"-12\" wheelbarSmall=\"ROD_SMALL\" wheelbarBig=\"ROD_BIG\" ppbwf=\"5.0\" ppswf=\"2.0\" "
    "bigradius=\"6\" smallradius=\"4\" smokex=\"80\" smokey=\"-40\">"
    "<Vector id=\"BIGWHEELS\"><Node wheelid=\"WHEEL\" x=\"30\"/><Node wheelid=\"WHEEL\" x=\"60\"/></Vector></Node>";

constexpr const char* kWheellessModel =
    "<Node section=\"gamescene\" yoffset=\"4\" bgimage=\"BACK\" bodyimage=\"BODY\" wheelbarx=\"30\" "
    "wheelbary=\"-12\" wheelbarSmall=\"ROD_SMALL\" ppbwf=\"5.0\" ppswf=\"2.0\" bigradius=\"6\" "
    "smallradius=\"4\" smokey=\"-40\"/>";

}  // namespace

RaceConstants::RaceConstants() {
    Defines::Create();
    Define(std::string(kConstants) + "<Vector id=\"PLAYERTRAINS\">" + kWheeledModel + kWheellessModel +
           "</Vector><Vector id=\"AUTOTRAINS\">" + kWheeledModel + "</Vector>");
    const std::string dialogs =
        "<root><Sprite id=\"WHEEL\" width=\"16\" height=\"16\" framecount=\"8\" anchorpoint=\"center\"/></root>";
    const std::string path = folder_.Path() + "/dialogs.xml";
    platform::WriteFileAtomically(path, dialogs.data(), dialogs.size());
    DialogTable::Create(path);
}

RaceConstants::~RaceConstants() {
    DialogTable::ReleaseInstance();
    Defines::ReleaseInstance();
}

void RaceConstants::Define(const std::string& elements) {
    const std::string xml = "<root>" + elements + "</root>";
    Ref<PropertyFile> file = new PropertyFile();
    if (file->LoadFromMemory(xml.data(), xml.size(), "race constants")) {
        ClassFactory::Instance().CreateNamedObjects(*file);
    }
    // The race reads the copied constants, as after start-up.
    XML::ForgetInitForTesting();
    XML::Init();
}

RecordingRace::RecordingRace() {
    images = {{"BACK", {100, 30}},     {"BODY", {100, 40}},   {"ROD_SMALL", {10, 4}},
              {"ROD_BIG", {30, 4}},    {"PERRON1", {120, 20}}, {"TRACK_BACKGROUND1", {300, 150}}};
    ticket = new TicketInfo;
    ticket->Units = {10, 20, 30, 40, 50};
    ticket->NumUnits = 100;
    Install(this);
}

RecordingRace::~RecordingRace() { Install(nullptr); }

void RecordingRace::SpawnTrainSmoke(Sprite&, const std::wstring& text, int32_t, int32_t, int32_t) {
    smoke.push_back(text);
}

Ref<Surface> RecordingRace::FindImage(const std::string& name, const std::string&) const {
    const auto found = images.find(name);
    if (found == images.end()) {
        return {};
    }
    return Ref<Surface>(new MemorySurface(found->second.first, found->second.second));
}

void RecordingRace::PlaySound(const std::string& name, int32_t volume, int32_t pan) const {
    sounds.push_back(name + " " + std::to_string(volume) + " " + std::to_string(pan));
}

std::vector<std::string> RecordingRace::TakeSounds() { return std::exchange(sounds, {}); }

int RecordingRace::Count(const std::string& soundName) const {
    return static_cast<int>(std::count_if(sounds.begin(), sounds.end(), [&](const std::string& line) {
        return line.rfind(soundName + " ", 0) == 0;
    }));
}
