#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/MemorySurface.h"
#include "platform/Files.h"

// The generated railway map, read back through the program's property-file
// reader and checked against what the map code relies on.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

Ref<PropertyFile> ReadLoose(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(kBuild + "/" + path, bytes)) << path;
    Ref<PropertyFile> file = new PropertyFile;
    EXPECT_TRUE(file->LoadFromMemory(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path)) << path;
    return file;
}

int Int(const Property* node, const char* key) { return Property::AsInt(Property::Child(node, key)); }
float Float(const Property* node, const char* key) { return Property::AsFloat(Property::Child(node, key)); }
std::string Text(const Property* node, const char* key) { return Property::AsString(Property::Child(node, key)); }

int Count(const Property* vector) {
    int n = 0;
    while (Property::At(vector, n) != nullptr) {
        ++n;
    }
    return n;
}

struct Point {
    float x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

// A track part as the map code builds it: control points with their in and
// out offsets, sampled "steps" times per span in single precision.
struct Curve {
    std::vector<Point> points, in, out;
    int steps = 10;

    explicit Curve(const Property* node) {
        if (Property::Child(node, "steps") != nullptr) {
            steps = Int(node, "steps");
        }
        const Property* list = Property::Child(node, "points");
        for (int i = 0; const Property* p = Property::At(list, i); ++i) {
            points.push_back({Float(p, "x"), Float(p, "y")});
            const bool mirrored = Property::Child(p, "cx") != nullptr;
            in.push_back(mirrored ? Point{Float(p, "cx"), Float(p, "cy")} : Point{Float(p, "c0x"), Float(p, "c0y")});
            out.push_back(mirrored ? Point{-Float(p, "cx"), -Float(p, "cy")} : Point{Float(p, "c1x"), Float(p, "c1y")});
        }
    }
    Point First() const { return points.front(); }
    Point Last() const { return points.back(); }

    std::vector<Point> Sampled() const {
        std::vector<Point> path;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const Point a = points[i], b = points[i + 1];
            const Point a1{a.x + out[i].x, a.y + out[i].y}, b1{b.x + in[i + 1].x, b.y + in[i + 1].y};
            path.push_back(a);
            for (int s = 1; s < steps; ++s) {
                const float t = float(s) / float(steps), u = 1 - t;
                path.push_back({u * u * u * a.x + 3 * t * u * u * a1.x + 3 * t * t * u * b1.x + t * t * t * b.x,
                                u * u * u * a.y + 3 * t * u * u * a1.y + 3 * t * t * u * b1.y + t * t * t * b.y});
            }
        }
        path.push_back(points.back());
        return path;
    }
};

void Append(std::vector<Point>& path, std::vector<Point> part, bool reversed) {
    if (reversed) {
        std::reverse(part.begin(), part.end());
    }
    path.insert(path.end(), part.begin(), part.end());
}

// The track's path joined as the map code joins it: each pair by the first
// matching end points in the code's order; an unmatched pair adds nothing.
std::vector<Point> AssembledPath(const std::vector<Curve>& parts, bool& chained) {
    std::vector<Point> path;
    chained = !parts.empty();
    if (parts.size() == 1) {
        Append(path, parts[0].Sampled(), false);
    }
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const Curve& a = parts[i];
        const Curve& b = parts[i + 1];
        bool reversed = false, bAtFirst = true;
        if (b.First() == a.First() || b.Last() == a.First()) {
            reversed = true;
            bAtFirst = b.First() == a.First();
        } else if (b.First() == a.Last() || b.Last() == a.Last()) {
            bAtFirst = b.First() == a.Last();
        } else {
            chained = false;
            continue;
        }
        Append(path, a.Sampled(), reversed);
        if (i + 2 == parts.size()) {
            Append(path, b.Sampled(), !bAtFirst);
        }
    }
    return path;
}

double Length(const std::vector<Point>& path) {
    double length = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        length += std::hypot(double(path[i].x) - path[i - 1].x, double(path[i].y) - path[i - 1].y);
    }
    return length;
}

struct Circle {
    int x, y, radius;
};

std::vector<Circle> Circles(const Property* values) {
    std::vector<Circle> circles;
    for (int i = 0; i + 2 < Count(values); i += 3) {
        circles.push_back({Property::AsInt(Property::At(values, i)), Property::AsInt(Property::At(values, i + 1)),
                           Property::AsInt(Property::At(values, i + 2))});
    }
    return circles;
}

// Resource ids declared per section in resources.xml, with their frames.
std::map<std::string, int> DeclaredPictures() {
    std::map<std::string, int> declared;
    const Ref<PropertyFile> resources = ReadLoose("media/properties/resources.xml");
    const Property* sections = Property::Child(resources.Get(), "Sections");
    for (int s = 0; const Property* section = Property::At(sections, s); ++s) {
        for (int r = 0; const Property* resource = Property::At(section, r); ++r) {
            declared[Text(section, "name") + "/" + resource->Name()] = std::max(1, Int(resource, "nrofframes"));
        }
    }
    return declared;
}

class GeneratedMap : public testing::Test {
protected:
    const Ref<PropertyFile> map_ = ReadLoose("media/data/sections.xml");
    const Ref<PropertyFile> anchors_ = ReadLoose("media/properties/anchorpoints.xml");
    const Ref<PropertyFile> assets_ = ReadLoose("media/properties/assets.xml");
    const Property* sections_ = Property::Child(map_.Get(), "sections");
    const Property* assetKinds_ = Property::Child(assets_.Get(), "ASSETS");
    const Property* stationKinds_ = Property::Child(assets_.Get(), "STATIONS");
    const std::map<std::string, int> pictures_ = DeclaredPictures();

    int FramesOf(const Property* kind) const {
        const auto found = pictures_.find(Text(kind, "section") + "/" + Text(kind, "image"));
        return found == pictures_.end() ? 0 : found->second;
    }
};

TEST_F(GeneratedMap, TenSectionsWithCitiesTracksAndExactlyThirteenUnlocked) {
    ASSERT_EQ(Count(sections_), 10);
    int unlocked = 0;
    for (int s = 0; s < 10; ++s) {
        const Property* section = Property::At(sections_, s);
        const int cities = Count(Property::Child(section, "cities"));
        const int tracks = Count(Property::Child(section, "tracks"));
        EXPECT_GE(cities, 8) << s;
        EXPECT_LE(cities, 12) << s;
        EXPECT_GT(tracks, 0) << s;
        for (const char* role : {"enter", "leave"}) {
            EXPECT_GE(Int(section, role), 0) << s << role;
            EXPECT_LT(Int(section, role), cities) << s << role;
        }
        const Property* open = Property::Child(section, "unlockedtracks");
        for (int i = 0; i < Count(open); ++i) {
            EXPECT_LT(Property::AsInt(Property::At(open, i)), tracks);
            ++unlocked;
        }
        for (int c = 0; const Property* city = Property::At(Property::Child(section, "cities"), c); ++c) {
            EXPECT_EQ(city->TypeName(), "CityInfo");
            EXPECT_GT(Int(city, "circleRadius"), 0);
            EXPECT_GT(Int(city, "index"), 0);
        }
    }
    EXPECT_EQ(unlocked, 13);
}

TEST_F(GeneratedMap, TracksChainTheirCurvesFromCityToCityWithinTheDotPool) {
    for (int s = 0; const Property* section = Property::At(sections_, s); ++s) {
        const Property* cities = Property::Child(section, "cities");
        const Property* parts = Property::Child(section, "trackParts");
        std::vector<int> tracksAt(Count(cities), 0);
        for (int t = 0; const Property* track = Property::At(Property::Child(section, "tracks"), t); ++t) {
            EXPECT_EQ(track->TypeName(), "TrackInfo");
            EXPECT_EQ(Int(track, "section"), s);
            const int city0 = Int(track, "city0"), city1 = Int(track, "city1");
            ASSERT_LT(city0, Count(cities));
            ASSERT_LT(city1, Count(cities));
            ++tracksAt[city0];
            ++tracksAt[city1];
            std::vector<Curve> curves;
            const Property* ids = Property::Child(track, "curveIDs");
            for (int i = 0; i < Count(ids); ++i) {
                const Property* part = Property::At(parts, Property::AsInt(Property::At(ids, i)));
                ASSERT_NE(part, nullptr) << s << "/" << t;
                EXPECT_EQ(part->TypeName(), "TrackPart");
                EXPECT_EQ(Count(Property::Child(part, "circlePoints")) % 3, 0);
                EXPECT_GT(Count(Property::Child(part, "circlePoints")), 0);
                curves.emplace_back(part);
            }
            bool chained = false;
            const std::vector<Point> path = AssembledPath(curves, chained);
            EXPECT_TRUE(chained) << s << "/" << t;
            ASSERT_FALSE(path.empty());
            const Property* from = Property::At(cities, city0);
            const Property* to = Property::At(cities, city1);
            EXPECT_EQ(path.front(), (Point{float(Int(from, "x")), float(Int(from, "y"))})) << s << "/" << t;
            EXPECT_EQ(path.back(), (Point{float(Int(to, "x")), float(Int(to, "y"))})) << s << "/" << t;
            EXPECT_LT(Length(path), 1519.0) << s << "/" << t;
        }
        for (int c = 0; c < Count(cities); ++c) {
            EXPECT_LE(tracksAt[c], 5) << s << "/" << c;
            EXPECT_GT(tracksAt[c], 0) << s << "/" << c;
        }
    }
}

TEST_F(GeneratedMap, ListedKindsArePicturesAndEveryCityHasAFourFrameStation) {
    const int assetKinds = Count(assetKinds_);
    ASSERT_GT(assetKinds, 15);
    for (const Property* list : {assetKinds_, stationKinds_}) {
        for (int k = 0; const Property* kind = Property::At(list, k); ++k) {
            EXPECT_EQ(kind->TypeName(), "DisabledSpriteImageVector");
            EXPECT_GT(FramesOf(kind), 0) << Text(kind, "image");
            if (!Text(kind, "imageDisabled").empty()) {
                EXPECT_EQ(pictures_.count(Text(kind, "section") + "/" + Text(kind, "imageDisabled")), 1u);
            }
        }
    }
    std::set<std::string> signs;
    for (int s = 0; const Property* section = Property::At(sections_, s); ++s) {
        for (int c = 0; const Property* city = Property::At(Property::Child(section, "cities"), c); ++c) {
            bool station = false;
            for (int a = 0; const Property* asset = Property::At(Property::Child(city, "assets"), a); ++a) {
                const Property* kind = Property::At(stationKinds_, Int(asset, "aid"));
                ASSERT_NE(kind, nullptr);
                station = station || (FramesOf(kind) == 4 && !Text(kind, "imageDisabled").empty());
                signs.insert(Text(kind, "image"));
            }
            EXPECT_TRUE(station) << s << "/" << c;
        }
        for (int a = 0; const Property* asset = Property::At(Property::Child(section, "assets"), a); ++a) {
            EXPECT_LT(Int(asset, "aid"), assetKinds);
            EXPECT_GE(Int(asset, "aid"), 0);
        }
    }
    EXPECT_EQ(signs.count("POST_BLUE") + signs.count("POST_RED"), 2u);
}

// Three entries per kind, in list order, and every landscape asset lies
// inside a circle point of its section, so it pops up when the train passes.
TEST_F(GeneratedMap, AnchorPointsMatchTheListsAndPlaceEveryAssetOnATrack) {
    const Property* anchors = Property::Child(anchors_.Get(), "anchorpoints");
    EXPECT_EQ(Count(anchors), 3 * Count(assetKinds_));
    EXPECT_EQ(Count(Property::Child(anchors_.Get(), "cityanchorpoints")), 3 * Count(stationKinds_));
    for (int s = 0; const Property* section = Property::At(sections_, s); ++s) {
        std::vector<Circle> trackCircles;
        for (int p = 0; const Property* part = Property::At(Property::Child(section, "trackParts"), p); ++p) {
            const std::vector<Circle> circles = Circles(Property::Child(part, "circlePoints"));
            trackCircles.insert(trackCircles.end(), circles.begin(), circles.end());
        }
        for (int a = 0; const Property* asset = Property::At(Property::Child(section, "assets"), a); ++a) {
            const int kind = Int(asset, "aid");
            const std::vector<Circle> hits = Circles(Property::At(anchors, 3 * kind + 2));
            ASSERT_FALSE(hits.empty());
            const bool listed = std::any_of(trackCircles.begin(), trackCircles.end(), [&](const Circle& big) {
                return std::all_of(hits.begin(), hits.end(), [&](const Circle& hit) {
                    const double distance = std::hypot(double(Int(asset, "x") + hit.x - big.x),
                                                       double(Int(asset, "y") + hit.y - big.y));
                    return distance + hit.radius <= big.radius;
                });
            });
            EXPECT_TRUE(listed) << s << "/" << a;
        }
    }
}

Ref<MemorySurface> Decoded(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(kBuild + "/" + path, bytes)) << path;
    return DecodePngFromMemory(bytes.data(), bytes.size(), path);
}

double Brightness(const MemorySurface& picture, int x, int y) {
    const uint32_t pixel = picture.Pixels32()[picture.PixelIndex(std::clamp(x, 0, picture.GetWidth() - 1),
                                                                 std::clamp(y, 0, picture.GetHeight() - 1))];
    return 0.3 * ((pixel >> 16) & 0xFF) + 0.59 * ((pixel >> 8) & 0xFF) + 0.11 * (pixel & 0xFF);
}

// Whether a dark steel line passes within a pixel of p.
bool SteelNear(const MemorySurface& picture, float px, float py) {
    const int x = int(std::lround(px)), y = int(std::lround(py));
    double darkest = 255;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            darkest = std::min(darkest, Brightness(picture, x + dx, y + dy));
        }
    }
    return darkest < 95;
}

// The rails are drawn along the curves the game moves the train on: both
// steel rails run about 3 px either side of every curve. The overlay covers
// the whole section and is opaque everywhere.
TEST_F(GeneratedMap, BackgroundsShowTheRailsOnTheCurvesAndOverlaysAreOpaque) {
    for (int s = 0; const Property* section = Property::At(sections_, s); ++s) {
        const std::string number = std::to_string(s + 1);
        const Ref<MemorySurface> back = Decoded("media/gfx/map/backs/background" + number + ".png");
        const Ref<MemorySurface> overlay = Decoded("media/gfx/map/backs/overlay" + number + ".png");
        ASSERT_TRUE(back && overlay);
        EXPECT_EQ(back->GetWidth(), 800);
        EXPECT_EQ(overlay->GetWidth(), back->GetWidth());
        EXPECT_EQ(overlay->GetHeight(), back->GetHeight());
        const uint32_t* pixels = overlay->Pixels32();
        EXPECT_TRUE(std::all_of(pixels, pixels + overlay->GetWidth() * overlay->GetHeight(),
                                [](uint32_t p) { return (p >> 24) == 0xFF; }));
        int samples = 0, onSteel = 0;
        for (int p = 0; const Property* part = Property::At(Property::Child(section, "trackParts"), p); ++p) {
            const std::vector<Point> path = Curve(part).Sampled();
            for (size_t i = 1; i < path.size(); ++i) {
                const float dx = path[i].x - path[i - 1].x, dy = path[i].y - path[i - 1].y;
                const float length = std::max(1e-3f, std::hypot(dx, dy));
                const float nx = -dy / length * 3.2f, ny = dx / length * 3.2f;
                onSteel += SteelNear(*back, path[i].x + nx, path[i].y + ny) && SteelNear(*back, path[i].x - nx, path[i].y - ny);
                ++samples;
            }
        }
        ASSERT_GT(samples, 0);
        EXPECT_GT(onSteel, samples * 95 / 100) << s << ": " << onSteel << " of " << samples;
    }
}

// A track's price is written onto gold, a city's number onto a cream board:
// the two signs cannot be taken for each other.
TEST_F(GeneratedMap, PriceSignsShowTheirPriceOnAnotherGroundThanTheCitySigns) {
    const auto colourAt = [](const MemorySurface& picture, int x, int y) {
        const uint32_t pixel = picture.Pixels32()[picture.PixelIndex(x, y)];
        return std::vector<double>{double((pixel >> 16) & 0xFF), double((pixel >> 8) & 0xFF), double(pixel & 0xFF)};
    };
    const Ref<MemorySurface> price = Decoded("media/gfx/map/price_sign.png");
    ASSERT_TRUE(price);
    const int frame = price->GetHeight() / 4;
    // Where the game writes the price: the frame's middle, 4 px right.
    const std::vector<double> priceGround = colourAt(*price, price->GetWidth() / 2 + 4, frame / 2 - 1);
    for (const char* post : {"post_blue", "post_red"}) {
        const Ref<MemorySurface> sign = Decoded(std::string("media/gfx/map/") + post + ".png");
        ASSERT_TRUE(sign);
        // The number goes on the board centred on x 46 from the top.
        const std::vector<double> numberGround = colourAt(*sign, 46, 10);
        const double apart = std::hypot(priceGround[0] - numberGround[0], priceGround[1] - numberGround[1],
                                        priceGround[2] - numberGround[2]);
        EXPECT_GT(apart, 100) << post;
    }
}

// The map scene reads the anchor points beside the program only.
TEST_F(GeneratedMap, AnchorPointsShipLooseAndNotInTheArchive) {
    Ref<Archive> archive = new Archive(kBuild + "/media.dat");
    Ref<DataBuffer> member = new DataBuffer;
    EXPECT_NE(archive->ReadMember("media/properties/anchorpoints.xml", *member), Archive::ReadResult::Loaded);
    EXPECT_EQ(archive->ReadMember("media/data/sections.xml", *member), Archive::ReadResult::Loaded);
}

}  // namespace
