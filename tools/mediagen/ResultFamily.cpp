#include <cmath>
#include <string>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/GameTypeColours.h"
#include "mediagen/MediaTree.h"
#include "mediagen/Picture.h"

// The map's result pictures: the level-end plates by game type, the rank
// emblems, and the big rank star with the pictures of the rewards it carries.
namespace {

constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kGold = 0xF2C230;
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr double kPi = 3.14159265358979323846;

// The level-end plates of the adventure's types.
constexpr int kTypes = kMixedGameType;
constexpr int kPlateWidth = 420;
constexpr int kPlateHeight = 340;
constexpr int kRanks = 15;
constexpr int kEmblemSize = 48;
// The reward pictures sit at (40, 40) of a frame, so an 80-pixel one is centred.
constexpr int kStarSize = 160;
constexpr int kStarFrames = 5;
constexpr int kRewardSize = 80;

void AddImage(Manifest& manifest, const std::string& section, const std::string& id, const std::string& path,
              int frames, std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

// A parchment plate with the game type's colour along the top and a brass rim.
Picture LevelEndPlate(uint32_t colour) {
    Drawing d(kPlateWidth, kPlateHeight);
    const Rgba band = Rgba::FromHex(colour);
    d.RoundedRectangle(6, 6, kPlateWidth - 8, kPlateHeight - 8, 14);
    d.Fill(Rgba{0, 0, 0, 0.3});
    d.RoundedRectangle(2, 2, kPlateWidth - 8, kPlateHeight - 8, 14);
    d.FillVertical(2, kPlateHeight - 6, Rgba::FromHex(kParchment).Shaded(0.15), Rgba::FromHex(kParchment).Shaded(-0.1));
    // A pale band in the type's colour, so the title in that colour stands out.
    d.RoundedRectangle(2, 2, kPlateWidth - 8, 70, 14);
    d.FillVertical(2, 72, band.Shaded(0.85), band.Shaded(0.7));
    d.RoundedRectangle(2, 70, kPlateWidth - 8, 4, 2);
    d.Fill(band);
    d.RoundedRectangle(2, 2, kPlateWidth - 8, kPlateHeight - 8, 14);
    d.Stroke(Rgba::FromHex(kBrass).Shaded(-0.25), 3);
    // The game type's name is written at y 78 in its header font, a light
    // tint with a dark outline made for the HUD's band: it stands on a
    // ribbon of that band, as the type's badge.
    d.RoundedRectangle(kPlateWidth / 2.0 - 124, 75, 248, 32, 8);
    d.FillVertical(75, 107, band.Shaded(-0.45), band.Shaded(-0.6));
    d.RoundedRectangle(kPlateWidth / 2.0 - 124, 75, 248, 32, 8);
    d.Stroke(Rgba::FromHex(kBrass), 1.5);
    // A ruled area for the statistics.
    for (int row = 0; row < 4; ++row) {
        const double y = 176 + row * 20;
        cairo_move_to(d.Context(), 40, y);
        cairo_line_to(d.Context(), kPlateWidth - 44, y);
        d.Stroke(Rgba::FromHex(kInk).Shaded(0.7), 1);
    }
    return d.ToPicture();
}

// The enamel of each tier of three ranks, lowest first: green, sky blue,
// signal red, iron and, for the last three, gold.
constexpr uint32_t kTierEnamel[] = {0x3C8D4E, 0x3F7FB8, 0xC8372D, 0x3A3F45, 0xD9A21E};

// Rank r: a brass-rimmed enamel badge in its tier's colour with the engine in
// white and one to three stars for the rank within the tier, so every rank
// reads apart at a glance.
Picture RankEmblem(int rank) {
    Drawing d(kEmblemSize, kEmblemSize);
    cairo_t* c = d.Context();
    const double centre = kEmblemSize / 2.0;
    const int tier = rank / 3;
    const Rgba brass = Rgba::FromHex(kBrass);
    const Rgba enamel = Rgba::FromHex(kTierEnamel[tier]);
    // A soft shadow, the brass rim with its bevel, the enamel field.
    d.Circle(centre + 1.5, centre + 2, centre - 3);
    d.Fill(Rgba{0, 0, 0, 0.35});
    d.Circle(centre, centre, centre - 3);
    d.FillRadial(centre - 8, centre - 8, centre + 6, brass.Shaded(0.5), brass.Shaded(-0.3));
    d.Circle(centre, centre, centre - 3);
    d.Stroke(brass.Shaded(-0.5), 2);
    d.Circle(centre, centre, centre - 8);
    d.FillRadial(centre - 6, centre - 8, centre, enamel.Shaded(0.35), enamel.Shaded(-0.25));
    d.Circle(centre, centre, centre - 8);
    d.Stroke(brass.Shaded(-0.35), 1.5);
    // The highlight along the top left of the enamel.
    cairo_new_path(c);
    cairo_arc(c, centre, centre, centre - 11, kPi * 1.05, kPi * 1.6);
    d.Stroke(Rgba{1, 1, 1, 0.45}, 2);
    const Rgba ink = tier == 4 ? Rgba::FromHex(kInk).Shaded(0.15) : Rgba::FromHex(0xFFFFFF);
    EnginePath(c, centre, centre - 4, 20);
    d.Fill(ink);
    // Stars in a row below the engine, each with a dark edge.
    const int stars = rank % 3 + 1;
    for (int i = 0; i < stars; ++i) {
        const double x = centre + (i - (stars - 1) / 2.0) * 9;
        StarPath(c, x, centre + 10, 4.6, 2.0);
        d.Fill(tier == 4 ? Rgba{1, 1, 1} : Rgba::FromHex(kGold));
        StarPath(c, x, centre + 10, 4.6, 2.0);
        d.Stroke(Rgba::FromHex(kInk, 0.7), 0.8);
    }
    return d.ToPicture();
}

// The big star; the glint turns a little from frame to frame.
Picture BigStar() {
    std::vector<Picture> frames;
    for (int frame = 0; frame < kStarFrames; ++frame) {
        Drawing d(kStarSize, kStarSize);
        cairo_t* c = d.Context();
        const double centre = kStarSize / 2.0;
        StarPath(c, centre, centre + 4, 76, 35);
        d.FillRadial(centre - 16, centre - 16, 88, Rgba::FromHex(0xFFF1A0), Rgba::FromHex(0xD89A1C));
        StarPath(c, centre, centre + 4, 76, 35);
        d.Stroke(Rgba::FromHex(0x8A5A10), 3);
        const double angle = frame * 2 * kPi / kStarFrames;
        d.Circle(centre + 48 * std::cos(angle), centre + 4 + 48 * std::sin(angle), 6);
        d.FillRadial(centre + 48 * std::cos(angle), centre + 4 + 48 * std::sin(angle), 8, Rgba{1, 1, 1, 0.95},
                     Rgba{1, 1, 1, 0});
        frames.push_back(d.ToPicture());
    }
    return StackFrames(frames);
}

enum class RewardKind { kCarriage, kBoost, kMode };

// A round badge: a carriage, a lightning bolt, or a letter tile, with its caption.
Picture Reward(FontFaces& faces, RewardKind kind, const std::string& caption, uint32_t colour) {
    Drawing d(kRewardSize, kRewardSize);
    cairo_t* c = d.Context();
    const double centre = kRewardSize / 2.0;
    d.Circle(centre, centre, centre - 3);
    d.FillRadial(centre - 10, centre - 10, centre + 6, Rgba::FromHex(colour).Shaded(0.35),
                 Rgba::FromHex(colour).Shaded(-0.3));
    d.Circle(centre, centre, centre - 3);
    d.Stroke(Rgba::FromHex(kParchment), 2.5);
    const Rgba mark = Rgba::FromHex(kParchment);
    switch (kind) {
        case RewardKind::kCarriage:
            d.RoundedRectangle(18, 24, 44, 22, 4);
            d.Fill(mark);
            for (int i = 0; i < 3; ++i) {
                cairo_rectangle(c, 22 + i * 13, 28, 9, 8);
            }
            d.Fill(Rgba::FromHex(colour));
            d.Circle(27, 49, 4);
            d.Circle(53, 49, 4);
            d.Fill(Rgba::FromHex(kInk));
            break;
        case RewardKind::kBoost:
            cairo_move_to(c, 44, 14);
            cairo_line_to(c, 28, 40);
            cairo_line_to(c, 40, 40);
            cairo_line_to(c, 34, 58);
            cairo_line_to(c, 54, 32);
            cairo_line_to(c, 42, 32);
            cairo_close_path(c);
            d.Fill(Rgba::FromHex(0xFFE066));
            break;
        case RewardKind::kMode:
            d.RoundedRectangle(24, 16, 32, 34, 5);
            d.Fill(mark);
            d.Caption(faces, kSansBold, 24, caption.substr(0, 1), centre, 42, Rgba::FromHex(kInk));
            break;
    }
    if (kind != RewardKind::kMode) {
        d.Caption(faces, kSansBold, 13, caption, centre, 70, mark);
    }
    return d.ToPicture();
}

struct RewardArt {
    const char* id;
    RewardKind kind;
    const char* caption;
    uint32_t colour;
};

constexpr RewardArt kRewards[] = {
    {"REWARD_PEOPLE_CARRIAGE_2", RewardKind::kCarriage, "2", 0x7A1010},
    {"REWARD_TRAIN_BOOST_1", RewardKind::kBoost, "1", 0x1F4E8C},
    {"REWARD_PEOPLE_CARRIAGE_3", RewardKind::kCarriage, "3", 0x7A1010},
    {"REWARD_GAMEMODE_REPLACE", RewardKind::kMode, "R", 0x006E09},
    {"REWARD_TRAIN_BOOST_2", RewardKind::kBoost, "2", 0x1F4E8C},
    {"REWARD_PEOPLE_CARRIAGE_4", RewardKind::kCarriage, "4", 0x7A1010},
    {"REWARD_TRAIN_BOOST_3", RewardKind::kBoost, "3", 0x1F4E8C},
    {"REWARD_GAMEMODE_ANAGRAMS", RewardKind::kMode, "A", 0x071F87},
    {"REWARD_PEOPLE_CARRIAGE_5", RewardKind::kCarriage, "5", 0x7A1010},
    {"REWARD_GAMEMODE_CLASSIC7", RewardKind::kMode, "7", 0xB20B0B},
    {"REWARD_GAMEMODE_SLOTS", RewardKind::kMode, "S", 0x990A9B},
    {"REWARD_GAMEMODE_SAVE", RewardKind::kMode, "V", 0xAF1E6E},
    {"REWARD_GAMEMODE_SECRET", RewardKind::kMode, "?", 0x0B590A},
    {"REWARD_GAMEMODE_JOKER", RewardKind::kMode, "J", 0x0072FF},
};

}  // namespace

void AddResultRows(Manifest& manifest, FontFaces& faces) {
    for (int type = 0; type < kTypes; ++type) {
        const uint32_t colour = kGameTypeColours[type];
        AddImage(manifest, "mapscene", "LEVELEND_BG_" + std::to_string(type),
                 "media/gfx/map/levelend_" + std::to_string(type) + ".png", 1,
                 [colour] { return LevelEndPlate(colour); });
    }
    AddImage(manifest, "dialogs", "RANK_EMBLEMS", "media/gfx/dialogs/rank_emblems.png", kRanks, [] {
        std::vector<Picture> frames;
        for (int rank = 0; rank < kRanks; ++rank) {
            frames.push_back(RankEmblem(rank));
        }
        return StackFrames(frames);
    });
    AddImage(manifest, "rewards", "RANKING_STAR_BIG", "media/gfx/rewards/star_big.png", 1, BigStar);
    for (const RewardArt& art : kRewards) {
        std::string file = art.id;
        for (char& ch : file) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        AddImage(manifest, "rewards", art.id, "media/gfx/rewards/" + file + ".png", 1,
                 [&faces, art] { return Reward(faces, art.kind, art.caption, art.colour); });
    }
}
