#pragma once

#include "mediagen/Generator.h"

// Each family adds its rows to the resource table; its makers draw, bake or
// synthesise the files those rows name.
void AddFontRows(Manifest& manifest, FontFaces& faces);
void AddButtonRows(Manifest& manifest, FontFaces& faces);
void AddSoundRows(Manifest& manifest);
void AddQueueRows(Manifest& manifest);
void AddWordListRows(Manifest& manifest, const GeneratorInputs& inputs);
