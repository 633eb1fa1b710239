#include "game/words/TicketInfo.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/media/RotateScaleWalk.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketGenerator.h"

namespace {

const ClassRegistration registration("TicketInfo", CreateFromProperty<TicketInfo>);

constexpr std::array<int, TicketInfo::kGameTypeCount> kLetterSetLengths = {6, 7, 7, 6, 26, 6, 6, 6};
constexpr uint32_t kGameTypeBits = 7;

TicketHooks& HookTable() {
    static TicketHooks hooks;
    return hooks;
}

// Reads the entries of a list into the front of an array; extra entries are
// ignored and missing ones keep what the array holds.
template <typename T, size_t N, typename Convert>
void ReadEntries(const Property* list, std::array<T, N>& out, Convert convert) {
    for (size_t i = 0; i < N; ++i) {
        const Property* entry = Property::At(list, static_cast<int>(i));
        if (entry == nullptr) {
            return;
        }
        out[i] = convert(entry);
    }
}

template <typename T, size_t N, typename Make>
void AddList(PropertyNode& node, const std::string& name, const std::array<T, N>& values, Make make) {
    auto* list = new PropertyVector(name);
    node.Add(list);
    for (const T& value : values) {
        list->Add(make(value));
    }
}

PropertyValue* TypedInteger(int32_t value) { return PropertyValue::FromInteger("", value, false); }
PropertyValue* TypedFloat(float value) { return PropertyValue::FromFloat("", value, false); }

}  // namespace

TicketInfo::TicketInfo(Property* node) {
    ReadEntries(ticket_constants::List("UNITS_PER_WORD_LENGTH"), Units, Property::AsInt);
    if (node != nullptr) {
        Read(node);
    }
}

TicketInfo::~TicketInfo() = default;

void TicketInfo::Read(Property* given) {
    const PropertyNode& node = Property::NodeOf(given);
    auto integer = [&](const char* key) { return Property::AsInt(node.Find(key)); };
    Track = integer("Track");
    Section = integer("Section");
    City = integer("City");
    Rating = Property::AsFloat(node.Find("Rating"));
    GameMode = integer("GameMode");
    GameType = integer("GameType");
    MinPermutations = integer("MinPermutations");
    MaxPermutations = integer("MaxPermutations");
    NumUnits = integer("NumUnits");
    LetterSet = Property::AsString(node.Find("LetterSet"));
    // The game deals a set of its type's length at most (of an unknown type,
    // one letter of each); a longer one is damage.
    const int longest = GameType >= 0 && GameType < kGameTypeCount ? LetterSetLength(GameType) : kLetters;
    if (const auto length = static_cast<size_t>(longest); LetterSet.size() > length) {
        ENGINE_LOG(2, "letter set of %zu letters cut to the %zu of game type %d", LetterSet.size(), length, GameType);
        LetterSet.resize(length);
    }
    Finished = Property::AsBool(node.Find("Finished"));
    CurLevel = integer("CurLevel");

    ReadEntries(node.Find("Performance"), Performance, Property::AsFloat);
    ReadEntries(node.Find("Passengers"), Passengers, Property::AsInt);
    if (const Property* words = node.Find("Words")) {
        for (int i = 0; const Property* entry = Property::At(words, i); ++i) {
            if (entry->GetKind() == Property::kNode) {
                Words.push_back(std::make_unique<WordNode>(Property::AsString(Property::Child(entry, "word"))));
            }
        }
    }
    if (const Property* units = node.Find("Units")) {
        ReadEntries(units, Units, Property::AsInt);
    }
    if (const Property* freqs = node.Find("LetterFreqs")) {
        FreqsTotal = Property::AsFloat(node.Find("FreqsTotal"));
        for (int i = 0; i < kLetters; ++i) {
            LetterFreqs[i] = ticket_constants::FloatAt(freqs, i);
        }
    }
}

void TicketInfo::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("Track", Track, true));
    node.Add(PropertyValue::FromInteger("Section", Section, true));
    node.Add(PropertyValue::FromFloat("Rating", Rating, true));
    node.Add(PropertyValue::FromInteger("City", City, true));
    node.Add(PropertyValue::FromInteger("GameMode", GameMode, true));
    node.Add(PropertyValue::FromInteger("GameType", GameType, true));
    node.Add(PropertyValue::FromInteger("MinPermutations", MinPermutations, true));
    node.Add(PropertyValue::FromInteger("MaxPermutations", MaxPermutations, true));
    node.Add(PropertyValue::FromInteger("NumUnits", NumUnits, true));
    node.Add(PropertyValue::FromString("LetterSet", LetterSet, true));
    node.Add(PropertyValue::FromInteger("CurLevel", CurLevel, true));
    node.SetBool("Finished", Finished, true);
    AddList(node, "Performance", Performance, TypedFloat);
    AddList(node, "Passengers", Passengers, TypedInteger);
    if (!Words.empty()) {
        auto* list = new PropertyVector("Words");
        node.Add(list);
        for (const std::unique_ptr<WordNode>& word : Words) {
            auto* data = new PropertyNode("Data", "Node");
            list->Add(data);
            data->Add(PropertyValue::FromString("word", word->Text(), true));
        }
    }
    if (HasOwnWeights()) {
        AddList(node, "Units", Units, TypedInteger);
        node.Add(PropertyValue::FromFloat("FreqsTotal", FreqsTotal, true));
        AddList(node, "LetterFreqs", LetterFreqs, TypedFloat);
    }
}

void TicketInfo::Generate() {
    const TicketHooks& hooks = HookTable();
    TicketGenerator(*this, TicketGenerator::WaitForWordList(hooks), hooks).Generate();
}

void TicketInfo::PickRandomGameType() {
    if (GameMode != kClassicRandom) {
        return;
    }
    RandomGenerator* generator = RandomGenerator::Global();
    if (generator == nullptr) {
        ENGINE_LOG(2, "no random generator: the classic game keeps game type %d", GameType);
        return;
    }
    const int32_t previous = GameType;
    do {
        GameType = static_cast<int32_t>(generator->Next() & kGameTypeBits);
    } while (GameType == previous);
}

int TicketInfo::GetRaceUnits() const {
    const float increment = ticket_constants::Float("RATING_CLASSIC_INC");
    if (GameMode == kMapTicket || increment <= 0.0f) {
        return NumUnits;  // without a rise per level no level ever reaches the top rating
    }
    const int topLevel = TruncateToInt32((1.0 - ticket_constants::Float("RATING_CLASSIC_START")) / increment);
    const int64_t beyond = static_cast<int64_t>(CurLevel) - topLevel;
    if (beyond < 1) {
        return NumUnits;
    }
    const double lengthening = static_cast<float>(beyond) * ticket_constants::Float("RATING_CLASSIC_LENGTH") + 1.0;
    return TruncateToInt32(lengthening * NumUnits);
}

int TicketInfo::LetterSetLength(int gameType) {
    return gameType >= 0 && gameType < kGameTypeCount ? kLetterSetLengths[gameType] : 0;
}

void TicketInfo::SetHooks(const TicketHooks& hooks) { HookTable() = hooks; }

const TicketHooks& TicketInfo::Hooks() { return HookTable(); }
