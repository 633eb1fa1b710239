#include "mediagen/ButtonPlate.h"
#include "mediagen/Families.h"

void AddButtonRows(Manifest& manifest, FontFaces& faces) {
    AddButton(manifest, faces, "dialogs", "BUTTON_OK", "media/gfx/dialogs/button_ok.png", {120, 40, 0x3C8D2F, "OK"});
}
