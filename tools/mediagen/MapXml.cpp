#include "mediagen/MapXml.h"

#include <cstdio>
#include <stdexcept>

#include "mediagen/MapKinds.h"
#include "mediagen/Manifest.h"

namespace {

class XmlText {
public:
    void Open(int depth, const std::string& tag, const std::string& id = "") {
        Indent(depth);
        text_ += "<" + tag + (id.empty() ? "" : " id=\"" + id + "\"") + ">\n";
    }
    void Close(int depth, const std::string& tag) {
        Indent(depth);
        text_ += "</" + tag + ">\n";
    }
    void Value(int depth, const char* type, const std::string& id, const std::string& value) {
        Indent(depth);
        text_ += std::string("<") + type + (id.empty() ? "" : " id=\"" + id + "\"") + " value=\"" + XmlEscape(value) +
                 "\"/>\n";
    }
    void Integer(int depth, const std::string& id, int value) { Value(depth, "Integer", id, std::to_string(value)); }
    void Float(int depth, const std::string& id, double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        Value(depth, "Float", id, buffer);
    }
    void Boolean(int depth, const std::string& id, bool value) { Value(depth, "Boolean", id, value ? "true" : "false"); }
    void Raw(const std::string& text) { text_ += text; }
    const std::string& Text() const { return text_; }

private:
    void Indent(int depth) { text_.append(static_cast<size_t>(depth) * 2, ' '); }
    std::string text_;
};

void WriteAssets(XmlText& xml, int depth, const std::vector<PlacedAsset>& assets) {
    xml.Open(depth, "Vector", "assets");
    for (const PlacedAsset& asset : assets) {
        xml.Open(depth + 1, "Node");
        xml.Integer(depth + 2, "aid", asset.kind);
        xml.Integer(depth + 2, "x", asset.x);
        xml.Integer(depth + 2, "y", asset.y);
        xml.Close(depth + 1, "Node");
    }
    xml.Close(depth, "Vector");
}

void WriteCity(XmlText& xml, const LaidCity& city, int index) {
    xml.Open(4, "CityInfo");
    xml.Value(5, "String", "name", city.name);
    xml.Integer(5, "x", city.x);
    xml.Integer(5, "y", city.y);
    xml.Integer(5, "circleX", city.circle.x);
    xml.Integer(5, "circleY", city.circle.y);
    xml.Integer(5, "circleRadius", city.circle.radius);
    xml.Integer(5, "ticketX", city.ticketX);
    xml.Integer(5, "ticketY", city.ticketY);
    xml.Integer(5, "ticketIndex", index);
    xml.Integer(5, "index", city.number);
    WriteAssets(xml, 5, city.assets);
    xml.Close(4, "CityInfo");
}

// One cubic span: the start point carries its out control, the end point
// its in control, both as offsets from the point.
void WritePart(XmlText& xml, const LaidPart& part) {
    const CubicSpan& span = part.span;
    xml.Open(4, "TrackPart");
    xml.Open(5, "Vector", "points");
    xml.Open(6, "Node");
    xml.Float(7, "x", span.start.x);
    xml.Float(7, "y", span.start.y);
    xml.Float(7, "c1x", span.startControl.x - span.start.x);
    xml.Float(7, "c1y", span.startControl.y - span.start.y);
    xml.Close(6, "Node");
    xml.Open(6, "Node");
    xml.Float(7, "x", span.end.x);
    xml.Float(7, "y", span.end.y);
    xml.Float(7, "c0x", span.endControl.x - span.end.x);
    xml.Float(7, "c0y", span.endControl.y - span.end.y);
    xml.Close(6, "Node");
    xml.Close(5, "Vector");
    xml.Integer(5, "steps", part.steps);
    xml.Boolean(5, "closed", false);
    xml.Boolean(5, "aligned", true);
    xml.Boolean(5, "locked", false);
    xml.Float(5, "lockedlength", 64);
    xml.Integer(5, "ticketX", static_cast<int>(part.ticket.x));
    xml.Integer(5, "ticketY", static_cast<int>(part.ticket.y));
    xml.Open(5, "Vector", "circlePoints");
    for (const MapCircle& circle : part.circles) {
        xml.Integer(6, "", circle.x);
        xml.Integer(6, "", circle.y);
        xml.Integer(6, "", circle.radius);
    }
    xml.Close(5, "Vector");
    xml.Close(4, "TrackPart");
}

void WriteTrack(XmlText& xml, const LaidTrack& track, int section) {
    xml.Open(4, "TrackInfo");
    xml.Integer(5, "city0", track.city0);
    xml.Integer(5, "city1", track.city1);
    xml.Integer(5, "section", section);
    xml.Integer(5, "trackIndicatorX", static_cast<int>(track.indicator.x));
    xml.Integer(5, "trackIndicatorY", static_cast<int>(track.indicator.y));
    xml.Open(5, "Vector", "curveIDs");
    for (int id : track.parts) {
        xml.Integer(6, "", id);
    }
    xml.Close(5, "Vector");
    xml.Close(4, "TrackInfo");
}

void WriteAnchors(XmlText& xml, const std::string& id, const std::vector<AssetKind>& kinds) {
    xml.Open(1, "Vector", id);
    for (const AssetKind& kind : kinds) {
        xml.Float(2, "", kind.anchorX);
        xml.Float(2, "", kind.anchorY);
        xml.Open(2, "Vector");
        for (const HitCircle& hit : kind.hits) {
            xml.Integer(3, "", hit.dx);
            xml.Integer(3, "", hit.dy);
            xml.Integer(3, "", hit.radius);
        }
        xml.Close(2, "Vector");
    }
    xml.Close(1, "Vector");
}

void WriteKindList(XmlText& xml, const std::string& id, const std::vector<AssetKind>& kinds) {
    xml.Open(1, "Vector", id);
    for (const AssetKind& kind : kinds) {
        std::string line = "    <DisabledSpriteImageVector image=\"" + kind.id + "\" section=\"" + kind.section + "\"";
        if (!kind.disabledId.empty()) {
            line += " imageDisabled=\"" + kind.disabledId + "\"";
        }
        xml.Raw(line + "/>\n");
    }
    xml.Close(1, "Vector");
}

}  // namespace

std::string SectionsXml(const MapLayout& layout) {
    XmlText xml;
    xml.Raw("<?xml version=\"1.0\" ?>\n<root>\n");
    xml.Open(1, "Vector", "sections");
    for (size_t s = 0; s < layout.sections.size(); ++s) {
        const LaidSection& section = layout.sections[s];
        xml.Open(2, "Node");
        xml.Open(3, "Vector", "cities");
        for (size_t c = 0; c < section.cities.size(); ++c) {
            WriteCity(xml, section.cities[c], static_cast<int>(c));
        }
        xml.Close(3, "Vector");
        xml.Open(3, "Vector", "trackParts");
        for (const LaidPart& part : section.parts) {
            WritePart(xml, part);
        }
        xml.Close(3, "Vector");
        xml.Open(3, "Vector", "tracks");
        for (const LaidTrack& track : section.tracks) {
            WriteTrack(xml, track, static_cast<int>(s));
        }
        xml.Close(3, "Vector");
        WriteAssets(xml, 3, section.assets);
        xml.Open(3, "Vector", "unlockedtracks");
        for (int t : section.unlocked) {
            xml.Integer(4, "", t);
        }
        xml.Close(3, "Vector");
        xml.Integer(3, "enter", section.enter);
        xml.Integer(3, "leave", section.leave);
        xml.Close(2, "Node");
    }
    xml.Close(1, "Vector");
    xml.Raw("</root>\n");
    return xml.Text();
}

std::string AnchorPointsXml() {
    XmlText xml;
    xml.Raw("<?xml version=\"1.0\" ?>\n<root>\n");
    WriteAnchors(xml, "anchorpoints", LandscapeKinds());
    WriteAnchors(xml, "cityanchorpoints", StationKinds());
    xml.Raw("</root>\n");
    return xml.Text();
}

std::string AssetListsXml() {
    XmlText xml;
    WriteKindList(xml, "ASSETS", LandscapeKinds());
    WriteKindList(xml, "STATIONS", StationKinds());
    return xml.Text();
}

std::string CompleteAssetsXml(const std::string& handWritten) {
    if (handWritten.empty()) {
        return "<?xml version=\"1.0\" ?>\n<root>\n" + AssetListsXml() + "</root>\n";
    }
    if (handWritten.find("id=\"ASSETS\"") != std::string::npos ||
        handWritten.find("id=\"STATIONS\"") != std::string::npos) {
        throw std::runtime_error("assets.xml defines ASSETS or STATIONS, which the map generator makes");
    }
    const size_t close = handWritten.rfind("</root>");
    if (close == std::string::npos) {
        throw std::runtime_error("assets.xml has no closing root tag");
    }
    return handWritten.substr(0, close) + AssetListsXml() + handWritten.substr(close);
}
