#include "engine/foundation/XmlStringValue.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

XmlStringValue* XmlStringValue::FromXml(Property* node) {
    return new XmlStringValue(Property::AsString(Property::Child(&Property::NodeOf(node), "name")));
}

void XmlStringValue::Write(Property* node) const {
    Property::NodeOf(node).Add(PropertyValue::FromString("name", text_, true));
}
