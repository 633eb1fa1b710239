#pragma once

#include <cstdint>
#include <vector>

#include "platform/SoundPcm.h"

// The bytes of a converted sound's cache file: RIFF/WAVE with "fmt ", a
// "dep " chunk recording the label "test" and the last-write time of the
// source (as a Windows file time, 0 when unknown), and "data" with the
// 16-bit samples.
std::vector<uint8_t> BuildWavCacheFile(const platform::Pcm& pcm, uint64_t sourceWriteTime);
