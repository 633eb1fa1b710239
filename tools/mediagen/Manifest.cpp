#include "mediagen/Manifest.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

bool IsMediaPath(const std::string& path) {
    return path.rfind("media/", 0) == 0 &&
           std::none_of(path.begin(), path.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == '\\'; });
}

// The files a row names, which together identify its maker's work.
std::string FileSet(const ResourceEntry& entry) {
    std::string files = entry.file;
    for (const ResourceKey& key : entry.keys) {
        if (key.name == "mask" || key.name == "format" || key.name == "syncpointsfile") {
            files += "|" + key.value;
        }
    }
    return files;
}

}  // namespace

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

void Manifest::AddSection(const std::string& name, bool autoLoad) { sections_.push_back({name, autoLoad}); }

void Manifest::Add(ResourceEntry entry) {
    if (std::none_of(sections_.begin(), sections_.end(), [&](const SectionEntry& s) { return s.name == entry.section; })) {
        throw std::logic_error("unknown section " + entry.section + " for " + entry.id);
    }
    for (const ResourceEntry& other : entries_) {
        if (other.section == entry.section && other.id == entry.id) {
            throw std::logic_error("id declared twice in " + entry.section + ": " + entry.id);
        }
    }
    if (!entry.file.empty() && !IsMediaPath(entry.file)) {
        throw std::logic_error("not a lower-case media path: " + entry.file);
    }
    for (const ResourceKey& key : entry.keys) {
        if ((key.name == "mask" || key.name == "format" || key.name == "syncpointsfile") && !IsMediaPath(key.value)) {
            throw std::logic_error("not a lower-case media path: " + key.value);
        }
    }
    entries_.push_back(std::move(entry));
}

void Manifest::MakeFiles(MediaTree& tree) const {
    std::set<std::string> made;
    for (const ResourceEntry& entry : entries_) {
        if (entry.make && made.insert(FileSet(entry)).second) {
            entry.make(tree);
        }
    }
}

std::string Manifest::ResourcesXml() const {
    std::string xml = "<root>\n  <Node id=\"ResourceDefaults\" oggtowav=\"true\"/>\n  <Vector id=\"Sections\">\n";
    for (const SectionEntry& section : sections_) {
        xml += "    <Node name=\"" + XmlEscape(section.name) + "\"" + (section.autoLoad ? " auto=\"true\"" : "");
        std::string body;
        for (const ResourceEntry& entry : entries_) {
            if (entry.section != section.name) {
                continue;
            }
            body += "      <" + entry.kind + " id=\"" + XmlEscape(entry.id) + "\"";
            if (!entry.file.empty()) {
                body += " file=\"" + XmlEscape(entry.file) + "\"";
            }
            for (const ResourceKey& key : entry.keys) {
                body += " " + key.name + "=\"" + XmlEscape(key.value) + "\"";
            }
            body += "/>\n";
        }
        xml += body.empty() ? "/>\n" : ">\n" + body + "    </Node>\n";
    }
    return xml + "  </Vector>\n</root>\n";
}
