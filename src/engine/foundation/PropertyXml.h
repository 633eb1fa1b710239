#pragma once

#include <cstddef>
#include <string>

class Property;
class PropertyNode;

// The XML form of property trees. Each child element of a document's
// top-level elements is one top-level property; the element word decides the
// kind: "Vector", a value word (Integer, Double, Float, Boolean, String,
// Text) or a node of that class name. Text is kept as single bytes.

// Parses `size` bytes and adds the top-level properties to `root`, a later
// name replacing an earlier one. On a parse error nothing is added and the
// result is false. Safe to call from any thread: the parser's global
// white-space setting is taken under a lock.
bool ReadPropertyXml(const char* bytes, size_t size, bool condenseWhiteSpace, PropertyNode& root,
                     const std::string& sourceName);

// The document for a tree: the root element, then its children in the order
// of their name index; attributes of nodes travel as XML attributes.
std::string WritePropertyXml(const Property& root);
