#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mediagen/Generator.h"
#include "mediagen/MapLayout.h"

// The constants file that the map generator completes with its lists.
constexpr const char* kHandWrittenAssets = "properties/assets.xml";

class Synth;

// Each family adds its rows to the resource table; its makers draw, bake or
// synthesise the files those rows name.
void AddFontRows(Manifest& manifest, FontFaces& faces);
void AddButtonRows(Manifest& manifest, FontFaces& faces);
void AddSoundRows(Manifest& manifest);
// The word bar's letter and furnace sounds.
void AddLetterSoundRows(Manifest& manifest);
void AddQueueRows(Manifest& manifest);
void AddCoalRows(Manifest& manifest, FontFaces& faces);
void AddWordListRows(Manifest& manifest, const GeneratorInputs& inputs);

// The railway map: the plan laid out and checked (throws listing every
// broken constraint), its pictures, and the data files read beside them.
std::shared_ptr<const MapLayout> BuildMap(const GeneratorInputs& inputs);
// The in-between pictures are SECTION_BETWEEN_WIDTH wide, as the first
// constants file under media/properties gives it (100 while none does).
int SectionBetweenWidth(const std::string& mediaSource);
void AddMapRows(Manifest& manifest, const std::shared_ptr<const MapLayout>& map, int betweenWidth);
void AddMapSpriteRows(Manifest& manifest, FontFaces& faces, const GeneratorInputs& inputs);
// The map's top bar with its coin icon and menu button.
void AddMapHudRows(Manifest& manifest, FontFaces& faces);
void AddMapSoundRows(Manifest& manifest);
// The race strip: trains, wheels, rods, track tiles, perron and station, chuffs.
void AddRaceRows(Manifest& manifest);
// The game screen's furnace, boost meters, carriage, flagpole and furnace sounds.
void AddHudRows(Manifest& manifest);
// The game screen's header panels, buttons, mini trains, timer and signs.
void AddGameSceneRows(Manifest& manifest, FontFaces& faces);
void AddMapFiles(const MapLayout& map, const GeneratorInputs& inputs, MediaTree& tree);
void AddUiRows(Manifest& manifest, FontFaces& faces);
// The game's one-shot effects: stars, glows, sparks, coins, the level-end
// banner, the smoke puff, and the coin and bonus sounds.
void AddEffectRows(Manifest& manifest, FontFaces& faces);
// The game dialogs' frame, tab, ornament and emblem pieces with their masks.
void AddPainterRows(Manifest& manifest);
// The pause plate, the effects slider's ticks and the goodbye whistle.
void AddGameDialogRows(Manifest& manifest, FontFaces& faces);

// The map's result pictures: level-end plates, rank emblems, the rank star
// and the reward pictures.
void AddResultRows(Manifest& manifest, FontFaces& faces);
// The trophies of the cabinet and the award, their stars, the award's
// heading and button bar.
void AddTrophyRows(Manifest& manifest, FontFaces& faces);

// The three music streams, each with its bar starts as sync points.
void AddMusicRows(Manifest& manifest);
// The effects of the menus, the dialogs and the level's flow.
void AddMenuSoundRows(Manifest& manifest);
void AddLevelSoundRows(Manifest& manifest);
// The main menu's sky, section panoramas, plates, trophy button and "new" badge.
void AddMenuRows(Manifest& manifest, FontFaces& faces);
// The single-games screen: backdrop, game-type switches and panels, the
// colour strips and highlight of a new result, START and BACK.
void AddClassicRows(Manifest& manifest, FontFaces& faces, const GeneratorInputs& inputs);
// The splash logo's layers and reveal masks, the load scene's pictures, the
// partner badge and the stings of the first screens.
void AddStartScreenRows(Manifest& manifest, FontFaces& faces);

// A synthesised effect at the level all effects share, as Ogg Vorbis.
std::vector<uint8_t> EncodeEffect(const Synth& effect);
// A synthesised effect, encoded as Ogg Vorbis, as a "Sound" row.
void AddSound(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
              Synth (*recipe)());
