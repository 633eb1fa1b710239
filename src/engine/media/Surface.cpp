#include "engine/media/Surface.h"

void Surface::CopyDescriptionFrom(const Surface& source) {
    SetWidth(source.GetWidth());
    SetHeight(source.GetHeight());
    SetPitch(source.GetPitch());
    SetPixelFormat(source.GetPixelFormat());
    SetUseAlphaChannel(source.UsesAlphaChannel());
    SetFrameCount(source.GetFrameCount());
}
