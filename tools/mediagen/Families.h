#pragma once

#include <string>

#include "mediagen/Generator.h"

class Synth;

// Each family adds its rows to the resource table; its makers draw, bake or
// synthesise the files those rows name.
void AddFontRows(Manifest& manifest, FontFaces& faces);
void AddButtonRows(Manifest& manifest, FontFaces& faces);
void AddSoundRows(Manifest& manifest);
void AddWordListRows(Manifest& manifest, const GeneratorInputs& inputs);
void AddUiRows(Manifest& manifest, FontFaces& faces);

// A synthesised effect, encoded as Ogg Vorbis, as a "Sound" row.
void AddSound(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
              Synth (*recipe)());
