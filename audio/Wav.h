// RIFF WAVE files of 16-bit PCM: reading and writing over byte buffers.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "audio/SoundCodec.h"

namespace zk {

// Reads a WAVE file of 16-bit PCM (format tag 1). False with a reason for
// anything else or a damaged file.
bool ReadWav(std::span<const uint8_t> bytes, DecodedSound& out, std::string* error = nullptr);
// Writes a 44-byte header and the samples.
void WriteWav(const DecodedSound& sound, std::vector<uint8_t>& out);

}  // namespace zk
