#pragma once

#include <memory>
#include <string>

#include "mediagen/Manifest.h"
#include "mediagen/MediaTree.h"

class FontFaces;
struct MapLayout;

// Where the generator reads from: the repository's media sources and the
// Debian packages the media are made from.
struct GeneratorInputs {
    std::string mediaSource;  // the repository's media/ folder
    std::string scowlFolder;  // the scowl word lists
    std::string wordLicence;  // the word lists' copyright notice
    std::string fontFolder;   // the DejaVu fonts
};

// The one table of sections and resources, with the makers of their files.
Manifest BuildManifest(const GeneratorInputs& inputs, FontFaces& faces, const std::shared_ptr<const MapLayout>& map);

// Every media file: the checked-in ones under media/ (except the generator's
// own sources in media/src/ and the constants it completes), the made ones
// and resources.xml.
MediaTree GenerateMedia(const GeneratorInputs& inputs);
