// Sound fixtures built in code: channel streams, entries, test signals and
// small Ogg Vorbis streams made with libvorbisenc.
#pragma once
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "audio/SoundCodec.h"
#include "base/LittleEndian.h"

namespace zk::test {

// A ramp-coded channel stream: 4 unread bytes, code count, first sample, codes.
inline std::vector<uint8_t> RampStream(int16_t first, std::vector<uint8_t> codes, uint32_t count) {
  std::vector<uint8_t> s;
  AppendLe32(s, 0);
  AppendLe32(s, count);
  AppendLe16(s, static_cast<uint16_t>(first));
  s.insert(s.end(), codes.begin(), codes.end());
  return s;
}

// A "WADY" header for channels x frames of 16-bit PCM at rate.
inline WadyHeader Header(int channels, uint32_t rate, uint32_t frames) {
  WadyHeader h;
  h.Channels = static_cast<uint16_t>(channels);
  h.Rate = rate;
  h.FrameCount = frames;
  h.PcmSize = frames * channels * 2;
  h.Format = WaveFormat::Pcm16(static_cast<uint16_t>(channels), rate);
  return h;
}

inline std::vector<uint8_t> Entry(const WadyHeader& h, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> e;
  WriteWadyHeader(h, e);
  e.insert(e.end(), data.begin(), data.end());
  return e;
}

// A tone with some noise, interleaved.
inline std::vector<int16_t> Signal(int channels, size_t frames, uint32_t rate, double amp = 12000,
                                   uint32_t seed = 1) {
  std::vector<int16_t> s(frames * channels);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      seed = seed * 1103515245 + 12345;
      const double noise = static_cast<int>(seed >> 16 & 0xFF) - 128;
      const double v = amp * std::sin(2 * M_PI * (220.0 + 110 * c) * i / rate) + noise;
      s[i * channels + c] = static_cast<int16_t>(std::lround(v));
    }
  return s;
}

// An Ogg Vorbis stream of the samples (interleaved, channels x frames).
inline std::vector<uint8_t> EncodeOgg(const std::vector<int16_t>& samples, int channels,
                                      long rate) {
  std::vector<uint8_t> out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, 0.4f) != 0) std::abort();
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);
  ogg_packet h0, h1, h2;
  vorbis_analysis_headerout(&vd, &vc, &h0, &h1, &h2);
  ogg_stream_packetin(&os, &h0);
  ogg_stream_packetin(&os, &h1);
  ogg_stream_packetin(&os, &h2);
  ogg_page og;
  auto put = [&](const ogg_page& p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  while (ogg_stream_flush(&os, &og)) put(og);
  auto drain = [&] {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og)) put(og);
      }
    }
  };
  const size_t frames = samples.size() / channels;
  for (size_t at = 0, n = 0; at < frames; at += n) {
    n = std::min<size_t>(1024, frames - at);
    float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
    for (size_t i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) buf[c][i] = samples[(at + i) * channels + c] / 32768.0f;
    vorbis_analysis_wrote(&vd, static_cast<int>(n));
    drain();
  }
  vorbis_analysis_wrote(&vd, 0);  // the end of the stream
  drain();
  while (ogg_stream_flush(&os, &og)) put(og);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace zk::test
