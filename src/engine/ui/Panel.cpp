#include "engine/ui/Panel.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"

namespace {

const ClassRegistration registration("Panel", CreateFromProperty<Panel>);

// Every sprite among the chain starting at `node` and below it.
void ClipChain(GameNode* node, const Rect& clip) {
    for (; node != nullptr; node = node->GetNextSibling()) {
        if (Sprite* sprite = ObjectCast<Sprite>(node)) {
            sprite->SetClipRect(clip.x, clip.y, clip.w, clip.h);
        }
        ClipChain(node->GetFirstChild(), clip);
    }
}

}  // namespace

Panel::Panel() : components_(new GameNode) {
    GameNode::AddChild(components_.Get());
    components_->SetRemoved(false);
}

Panel::Panel(Property* definition) : Sprite(definition), components_(new GameNode) {
    GameNode::AddChild(components_.Get());
    components_->SetRemoved(false);
    for (const Ref<GameNode>& element : BuildElements(definition, "components")) {
        Panel::AddChild(element.Get());
    }
}

Panel::~Panel() = default;

std::vector<Ref<GameNode>> Panel::BuildElements(Property* definition, const char* key,
                                               const std::function<void(GameNode&)>& onBuilt) {
    std::vector<Ref<GameNode>> built;
    Property* list = Property::Child(definition, key);
    if (list == nullptr || list->GetKind() != Property::kVector) {
        return built;
    }
    const std::vector<Ref<Property>> elements = Property::VectorOf(list).Items();
    for (const Ref<Property>& element : elements) {
        PropertyNode& node = Property::NodeOf(element.Get());
        const Ref<Object> created(ClassFactory::Instance().Create(&node));
        if (GameNode* component = ObjectCast<GameNode>(created.Get())) {
            built.emplace_back(component);
            if (onBuilt) {
                onBuilt(*component);
            }
        } else {
            ENGINE_LOG(1, "Panel: %s element \"%s\" builds no node", key, node.TypeName().c_str());
        }
    }
    return built;
}

GameNode* Panel::FindChild(const std::string& name) const {
    for (GameNode* child = components_->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        if (child->GetName() == name) {
            return child;
        }
        if (child->IsRemoved()) {
            continue;
        }
        if (const Panel* nested = ObjectCast<Panel>(child)) {
            if (GameNode* found = nested->FindChild(name)) {
                return found;
            }
        }
    }
    return nullptr;
}

void Panel::AddChild(GameNode* node) {
    components_->AddChild(node);
    node->SetRemoved(false);
    SetDirty(true);
}

void Panel::RemoveChild(GameNode* node) {
    node->SetRemoved(true);
    SetDirty(true);
}

void Panel::UpdateClipping() {
    const std::optional<Rect>& clip = GetClipRect();
    if (!clip) {
        return;
    }
    ClipChain(components_->GetFirstChild(), *clip);
    SetDirty(true);
}
