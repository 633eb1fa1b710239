#include <cstdio>
#include <exception>
#include <string>

#include "mediagen/Generator.h"

// mediagen <media sources> <output folder> <scowl folder> <scowl copyright> <font folder>
// Writes <output>/media/... and <output>/media.dat.
int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s MEDIA_SOURCES OUTPUT SCOWL_FOLDER SCOWL_COPYRIGHT FONT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const GeneratorInputs inputs{argv[1], argv[3], argv[4], argv[5]};
        const std::string output = argv[2];
        const MediaTree tree = GenerateMedia(inputs);
        tree.WriteLoose(output);
        tree.WriteArchive(output + "/media.dat");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mediagen: %s\n", error.what());
        return 1;
    }
    return 0;
}
