#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mediagen/MediaTree.h"

struct ResourceKey {
    std::string name;
    std::string value;
};

// One row of the resource table: what resources.xml declares, and how the
// files it names are made. Rows that share a file share one maker run.
struct ResourceEntry {
    std::string section;
    std::string id;
    std::string kind;  // "Image", "Sound", "Stream", "Font", "Xmlfile" or "WordList"
    std::string file;  // the "file" key; empty when "mask" names the only picture
    std::vector<ResourceKey> keys;
    std::function<void(MediaTree&)> make;
};

struct SectionEntry {
    std::string name;
    bool autoLoad;
};

// The single table of resource sections and resources; resources.xml is
// written from it, so every id lives here and nowhere else.
class Manifest {
public:
    void AddSection(const std::string& name, bool autoLoad);
    // Throws on an unknown section, a repeated id in a section or a path
    // that is not lower case.
    void Add(ResourceEntry entry);

    const std::vector<SectionEntry>& Sections() const { return sections_; }
    const std::vector<ResourceEntry>& Entries() const { return entries_; }

    // Runs the makers, one per distinct set of files.
    void MakeFiles(MediaTree& tree) const;
    std::string ResourcesXml() const;

private:
    std::vector<SectionEntry> sections_;
    std::vector<ResourceEntry> entries_;
};

// Text for an XML attribute value.
std::string XmlEscape(const std::string& text);
