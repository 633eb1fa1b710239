#include "game/progress/KR2Player.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/world/SectionList.h"

namespace {

// The hint that starts already shown.
constexpr int kHintShownFromStart = 41;

// The value children of a vector child, at most `limit` of them, in order;
// anything that is not a vector has none.
template <typename Visit>
void ForEachItem(const Property* node, const char* key, size_t limit, Visit visit) {
    const Property* items = Property::Child(node, key);
    if (items == nullptr || items->GetKind() != Property::kVector) {
        return;
    }
    const std::vector<Ref<Property>>& children = static_cast<const PropertyVector*>(items)->Items();
    for (size_t index = 0; index < children.size() && index < limit; ++index) {
        visit(index, children[index].Get());
    }
}

bool ReadFlag(const Property* node, const char* key) {
    return Property::AsBool(Property::Child(node, key));
}

int32_t ReadNumber(const Property* node, const char* key) {
    return Property::AsInt(Property::Child(node, key));
}

// A ticket built by the class registry from a node; null when the node does
// not describe a ticket.
Ref<TicketInfo> CreateTicket(Property* node) {
    Ref<Object> created = ClassFactory::Instance().Create(node);
    Ref<TicketInfo> ticket = ObjectCast<TicketInfo>(created.Get());
    if (ticket.Get() == nullptr) {
        ENGINE_LOG(1, "player file: a '%s' is not a ticket", node->TypeName().c_str());
    }
    return ticket;
}

void SaveTicket(PropertyNode& target, const char* key, const Ref<TicketInfo>& ticket) {
    if (ticket.Get() == nullptr || ticket->Finished) {
        return;
    }
    Ref<PropertyNode> node = new PropertyNode(key, "TicketInfo");
    ticket->Save(*node);
    target.Add(node.Get());
}

// The city where a new profile's train stands: the entry of the first section.
int32_t StartingCity() {
    const SectionList* map = SectionList::Instance();
    return map != nullptr && map->Section(0).enter >= 0 ? map->Section(0).enter : 0;
}

}  // namespace

KR2Player::KR2Player(std::string name) : PlayerProfile(std::move(name)) {
    Reset();
}

KR2Player::KR2Player(const Property* node) : PlayerProfile(Property::AsString(Property::Child(node, "name"))) {
    Reset();
    stats.Read(Property::Child(node, "stats"));
    ranking = ReadNumber(node, "ranking");
    cp = Property::AsFloat(Property::Child(node, "cp"));
    // A trophy won but not yet presented comes back as presented.
    ForEachItem(node, "trophysAwarded", kTrophyCount, [this](size_t index, const Property* item) {
        trophies[index] = Property::AsInt(item) != 0 ? kTrophyShown : kTrophyNotWon;
    });
}

KR2Player* KR2Player::FromXml(const Property* node) {
    return new KR2Player(node);
}

void KR2Player::Reset() {
    typechance.fill(0.0f);
    classicClicked = false;
    mixedAnimationSeen = false;
    classicGameTypeClicked.fill(false);
    currentTicket.Reset();
    classicTicket.Reset();
    curcity = StartingCity();
    cursection = 0;
    boostidx = 0;
    oldboostidx = 0;
    coins = 0;
    carsize = 0;
    fakepass = false;
    cp = 0.0f;
    mapFlag = false;
    ranking = 0;
    rankChanged = false;
    lastPlaytime = 0;
    lastWon = false;
    lastScore = 0;
    lastResult = -1;
    coinsBefore = 0;
    prevclassic = 0;
    showhints = true;
    hints.fill(true);
    hints[kHintShownFromStart] = false;
    trophies.fill(kTrophyNotWon);
    stats = PlayerStats();
}

void KR2Player::Write(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    if (&target == &Property::DummyNode()) {
        return;
    }
    PlayerProfile::Write(node);
    target.SetTypeName("KR2Player");
    Ref<PropertyNode> totals = new PropertyNode("stats", "Stats");
    stats.Write(totals.Get());
    target.Add(totals.Get());
    target.Add(PropertyValue::FromInteger("ranking", ranking, true));
    target.Add(PropertyValue::FromFloat("cp", cp, true));
    Ref<PropertyVector> awarded = new PropertyVector("trophysAwarded");
    for (const int32_t state : trophies) {
        awarded->Add(PropertyValue::FromInteger("", state, false));
    }
    target.Add(awarded.Get());
}

void KR2Player::ResetProgress() {
    if (SectionList* map = SectionList::Instance()) {
        map->ResetProgress();
    }
    currentTicket.Reset();
    classicTicket.Reset();
    tickets.clear();
}

void KR2Player::ResetHintFlags() {
    hints.fill(true);
    for (const int once : {26, 28, 29, 30, 31, 32, 33, 34, 35, 39}) {
        hints[once] = false;
    }
}

void KR2Player::WriteProgress(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    Property* sections = target.Add(new PropertyVector("sections"));
    if (const SectionList* map = SectionList::Instance()) {
        map->WriteProgress(sections);
    }
    for (const auto& [key, number] : {std::pair{"boostidx", boostidx}, {"oldboostidx", oldboostidx}, {"coins", coins},
                                      {"curcity", curcity}, {"cursection", cursection},
                                      {"prevclassic", prevclassic}, {"carsize", carsize}}) {
        target.Add(PropertyValue::FromInteger(key, number, true));
    }
    // A copy for whoever reads the file; the totals keep their own.
    target.Add(PropertyValue::FromInteger("playtime", stats.playtime, true));
    target.SetBool("fakepass", fakepass, true);
    target.SetBool("showhints", showhints, true);
    target.SetBool("classicClicked", classicClicked, true);
    target.SetBool("mixedAnimationSeen", mixedAnimationSeen, true);
    SaveTicket(target, "curticket", currentTicket);
    SaveTicket(target, "classicticket", classicTicket);

    Ref<PropertyVector> hintFlags = new PropertyVector("hints");
    for (const bool notShown : hints) {
        hintFlags->PushBool(notShown);
    }
    target.Add(hintFlags.Get());
    Ref<PropertyVector> chances = new PropertyVector("typechance");
    for (const float chance : typechance) {
        chances->Add(PropertyValue::FromFloat("", chance, false));
    }
    target.Add(chances.Get());
    Ref<PropertyVector> clicked = new PropertyVector("classicGameTypeClicked");
    for (const bool wasClicked : classicGameTypeClicked) {
        clicked->PushBool(wasClicked);
    }
    target.Add(clicked.Get());
    Ref<PropertyVector> offered = new PropertyVector("tickets");
    for (const Ref<TicketInfo>& ticket : tickets) {
        Ref<PropertyNode> entry = new PropertyNode("", "TicketInfo");
        ticket->Save(*entry);
        offered->Add(entry.Get());
    }
    target.Add(offered.Get());
}

void KR2Player::ReadProgress(const Property* node) {
    // A profile read twice must not keep the tickets of the first read.
    currentTicket.Reset();
    classicTicket.Reset();
    tickets.clear();
    // Missing numbers read 0 and missing switches false.
    boostidx = ReadNumber(node, "boostidx");
    oldboostidx = ReadNumber(node, "oldboostidx");
    // Coins are never owed: a negative count in a file is damage.
    coins = std::max(ReadNumber(node, "coins"), int32_t{0});
    curcity = ReadNumber(node, "curcity");
    cursection = ReadNumber(node, "cursection");
    showhints = ReadFlag(node, "showhints");
    classicClicked = ReadFlag(node, "classicClicked");
    mixedAnimationSeen = ReadFlag(node, "mixedAnimationSeen");
    prevclassic = ReadNumber(node, "prevclassic");
    // Rewards give carriages of 2 to 5 places; none is 0.
    carsize = std::clamp(ReadNumber(node, "carsize"), int32_t{0}, kLargestCarriage);
    fakepass = ReadFlag(node, "fakepass");
    // The totals in the player list are the playing time's own record; the
    // file's copy only stands in where the list lost it (a damaged list and
    // the name typed again).
    if (stats.playtime == 0) {
        stats.playtime = std::max(ReadNumber(node, "playtime"), int32_t{0});
    }
    if (SectionList* map = SectionList::Instance()) {
        map->ResetProgress();
        map->ReadProgress(&Property::VectorOf(Property::Child(node, "sections")));
    }
    ForEachItem(node, "hints", kHintCount,
                [this](size_t index, const Property* item) { hints[index] = Property::AsBool(item); });
    ForEachItem(node, "typechance", kGameTypeCount,
                [this](size_t index, const Property* item) { typechance[index] = Property::AsFloat(item); });
    ForEachItem(node, "classicGameTypeClicked", kClassicGameTypeCount, [this](size_t index, const Property* item) {
        classicGameTypeClicked[index] = Property::AsBool(item);
    });
    if (Property* ticket = Property::Child(node, "curticket")) {
        currentTicket = CreateTicket(ticket);
    }
    if (Property* ticket = Property::Child(node, "classicticket")) {
        classicTicket = CreateTicket(ticket);
    }
    ForEachItem(node, "tickets", SIZE_MAX, [this](size_t, Property* item) {
        if (Ref<TicketInfo> ticket = CreateTicket(item); ticket.Get() != nullptr) {
            tickets.push_back(ticket);
        }
    });
    UpdateTrackProgress();
}

int32_t KR2Player::GetTotalPlayCount() const {
    return std::accumulate(stats.playcount.begin(), stats.playcount.end(), int32_t{0}, SaturatingAdd);
}

namespace {

const ClassRegistration registration("KR2Player", [](Property* definition) -> Object* {
    return KR2Player::FromXml(definition);
});

}  // namespace
