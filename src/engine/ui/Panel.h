#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"

// The container of the user interface: its components hang below one
// private node, so that they are found by name, added and removed as a group
// and clipped together.
class Panel : public Sprite {
    ENGINE_CLASS(Panel, Sprite)

public:
    Panel();
    // The Sprite keys, then "components": each element is built by its
    // class and added as a component.
    explicit Panel(Property* definition);
    ~Panel() override;

    // Depth first through nested panels, the first match in child order
    // winning; a component flagged for removal still matches by its own
    // name, but its components are not searched.
    virtual GameNode* FindChild(const std::string& name) const;
    // Moves the node (from wherever it stood) to the end of the components.
    virtual void AddChild(GameNode* node);
    // Flags the node for removal; the delete pass unlinks it.
    virtual void RemoveChild(GameNode* node);
    // Gives every sprite below the components the panel's clip rectangle.
    virtual void UpdateClipping();

    GameNode* GetComponentNode() const { return components_.Get(); }

protected:
    // The nodes built from the elements of the vector under `key`, in order;
    // elements whose class builds no node are skipped.
    // `onBuilt` sees each node as soon as it is made, before the next one
    // is built, so later elements can find earlier ones.
    static std::vector<Ref<GameNode>> BuildElements(Property* definition, const char* key,
                                                    const std::function<void(GameNode&)>& onBuilt = {});

private:
    Ref<GameNode> components_;
};
