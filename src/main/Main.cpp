#include "engine/foundation/Folders.h"
#include "main/Application.h"
#include "platform/Directories.h"

// Program entry point; the command line is not read. Media paths are
// relative to the program's own folder.
int main() {
    platform::SetCurrentFolder(GetProgramFolder());
    Application application;
    return application.Run();
}
