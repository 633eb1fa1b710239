#pragma once

#include <string>

#include "engine/foundation/XmlStringValue.h"

class Property;

// What the player list needs of a player profile: the name (the text of the
// XmlStringValue), the summary for the list file (Write, which also sets the
// node's type name so that the class registry can build the profile back),
// and the progress kept in the player's own file. The game's profile class
// provides them.
class PlayerProfile : public XmlStringValue {
    ENGINE_CLASS(PlayerProfile, XmlStringValue)

public:
    explicit PlayerProfile(std::string name) : XmlStringValue(std::move(name)) {}

    const std::string& GetName() const { return Text(); }

    // Writes the progress into the node; writing nothing means no file.
    virtual void WriteProgress(Property* node) const = 0;
    // Reads the progress back; a node that is not a node reads as empty.
    virtual void ReadProgress(const Property* node) = 0;
    // Forgets the progress a read would bring, including what the profile
    // keeps in records it shares with the other players, so that nothing of
    // another player's is left where this one's is read. A profile that keeps
    // all of it in its own fields has nothing to forget.
    virtual void ResetProgress() {}
};
