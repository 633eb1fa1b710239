#include "engine/foundation/ScoreTable.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

ScoreTable::ScoreTable(int32_t maximumEntries, bool descending)
    : descending_(descending), maximumEntries_(maximumEntries) {}

ScoreTable::ScoreTable(const Property* node) {
    if (const Property* descending = Property::Child(node, "descending")) {
        descending_ = Property::AsBool(descending);
    }
    if (const Property* lastScore = Property::Child(node, "lastscore")) {
        lastScore_ = Property::AsInt(lastScore);
    }
    maximumEntries_ = Property::AsInt(Property::Child(node, "maxentries"));
    const Property* items = Property::Child(node, "entries");
    if (items == nullptr || items->GetKind() != Property::kVector) {
        return;
    }
    for (const Ref<Property>& item : static_cast<const PropertyVector*>(items)->Items()) {
        Ref<Object> created = ClassFactory::Instance().Create(item.Get());
        if (HighScoreEntry* entry = ObjectCast<HighScoreEntry>(created.Get())) {
            entries_.emplace_back(entry);
        } else {
            ENGINE_LOG(2, "A high-score entry of type \"%s\" is skipped", item->TypeName().c_str());
        }
    }
}

void ScoreTable::Write(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("descending", descending_, true);
    target.Add(PropertyValue::FromInteger("maxentries", maximumEntries_, true));
    target.Add(PropertyValue::FromInteger("lastscore", lastScore_, true));
    if (entries_.empty()) {
        return;
    }
    Ref<PropertyVector> items = new PropertyVector("entries");
    for (const Ref<HighScoreEntry>& entry : entries_) {
        Ref<PropertyNode> item = new PropertyNode("", "");
        entry->Write(item.Get());
        items->Add(item.Get());
    }
    target.Add(items.Get());
}

int32_t ScoreTable::Insert(HighScoreEntry* entry) {
    Ref<HighScoreEntry> kept(entry);
    for (size_t position = 0; position < entries_.size(); ++position) {
        if (entries_[position]->LessOrEqual(*entry) == descending_) {
            entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), kept);
            if (static_cast<int64_t>(entries_.size()) > maximumEntries_) {
                entries_.pop_back();
            }
            lastScore_ = static_cast<int32_t>(position);
            return lastScore_;
        }
    }
    if (static_cast<int64_t>(entries_.size()) < maximumEntries_) {
        entries_.push_back(kept);
        lastScore_ = static_cast<int32_t>(entries_.size() - 1);
    } else {
        lastScore_ = -1;
    }
    return lastScore_;
}
