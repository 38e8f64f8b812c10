// Ogg Vorbis from memory through libvorbisfile.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "audio/SoundCodec.h"

namespace zk {

namespace {

// The in-memory stream libvorbisfile reads through the callbacks.
struct MemoryStream {
  std::vector<uint8_t> bytes;
  size_t pos = 0;
};

size_t ReadCb(void* buffer, size_t size, size_t count, void* source) {
  auto* s = static_cast<MemoryStream*>(source);
  if (size == 0 || count == 0 || s->pos >= s->bytes.size()) return 0;
  const size_t want = size * count;  // libvorbisfile asks with size 1
  const size_t n = std::min(want, s->bytes.size() - s->pos);
  std::memcpy(buffer, s->bytes.data() + s->pos, n);
  s->pos += n;
  return n / size;
}

int SeekCb(void* source, ogg_int64_t offset, int origin) {
  auto* s = static_cast<MemoryStream*>(source);
  ogg_int64_t base = 0;
  switch (origin) {
    case SEEK_SET:
      base = 0;
      break;
    case SEEK_CUR:
      base = static_cast<ogg_int64_t>(s->pos);
      break;
    case SEEK_END:
      base = static_cast<ogg_int64_t>(s->bytes.size());
      break;
    default:
      return -1;
  }
  const ogg_int64_t to = base + offset;
  if (to < 0 || to > static_cast<ogg_int64_t>(s->bytes.size())) return -1;
  s->pos = static_cast<size_t>(to);
  return 0;
}

int CloseCb(void*) {
  return 0;  // the stream is owned by the reader
}

long TellCb(void* source) {
  return static_cast<long>(static_cast<MemoryStream*>(source)->pos);
}

}  // namespace

struct OggReader::Impl {
  MemoryStream stream;
  OggVorbis_File file{};
  WaveFormat format;
  uint64_t total = 0;
};

OggReader::OggReader() = default;
OggReader::~OggReader() {
  Close();
}

bool OggReader::Open(std::vector<uint8_t> bytes) {
  Close();
  auto impl = std::make_unique<Impl>();
  impl->stream.bytes = std::move(bytes);
  const ov_callbacks callbacks = {ReadCb, SeekCb, CloseCb, TellCb};
  if (ov_open_callbacks(&impl->stream, &impl->file, nullptr, 0, callbacks) < 0) return false;
  const vorbis_info* info = ov_info(&impl->file, -1);
  const ogg_int64_t total = ov_pcm_total(&impl->file, -1);
  if (!info || info->channels < 1 || info->channels > 255 || info->rate < 1 ||
      info->rate > static_cast<long>(kMaxSoundRate) || total < 0) {
    ov_clear(&impl->file);
    return false;
  }
  impl->format =
      WaveFormat::Pcm16(static_cast<uint16_t>(info->channels), static_cast<uint32_t>(info->rate));
  impl->total = static_cast<uint64_t>(total);
  impl_ = std::move(impl);
  return true;
}

bool OggReader::IsOpen() const {
  return impl_ != nullptr;
}

WaveFormat OggReader::Format() const {
  return impl_ ? impl_->format : WaveFormat{};
}

uint64_t OggReader::TotalFrames() const {
  return impl_ ? impl_->total : 0;
}

size_t OggReader::Read(std::span<int16_t> out, size_t frames) {
  if (!impl_) return 0;
  const size_t ch = impl_->format.Channels;
  const size_t bytes = std::min(frames, out.size() / ch) * ch * 2;
  char* dst = reinterpret_cast<char*>(out.data());
  size_t done = 0;
  while (done < bytes) {
    int link = 0;
    const size_t want = std::min<size_t>(bytes - done, 1 << 20);
    const long got = ov_read(&impl_->file, dst + done, static_cast<int>(want), 0, 2, 1, &link);
    if (got <= 0) break;
    // A chained stream may change its layout: stop rather than mix layouts.
    const vorbis_info* info = ov_info(&impl_->file, link);
    if (!info || info->channels != impl_->format.Channels) break;
    done += static_cast<size_t>(got);
  }
  return done / (ch * 2);
}

bool OggReader::Seek(uint64_t frame) {
  return impl_ && ov_pcm_seek(&impl_->file, static_cast<ogg_int64_t>(frame)) == 0;
}

void OggReader::Close() {
  if (impl_) ov_clear(&impl_->file);
  impl_.reset();
}

size_t OggTrimmedLength(std::span<const uint8_t> pcm, size_t blockAlign) {
  size_t len = pcm.size();
  if (len < kOggTrimFrom) return len;
  const size_t floor = pcm.size() / 2;
  while (len >= 4 && len - 4 >= floor && pcm[len - 1] == 0 && pcm[len - 2] == 0 &&
         pcm[len - 3] == 0 && pcm[len - 4] == 0)
    len -= 4;
  // Never end inside a frame (channel counts other than 1, 2 or 4).
  if (blockAlign > 0) len -= len % blockAlign;
  return len;
}

std::optional<DecodedSound> DecodeOggMemory(std::span<const uint8_t> entry) {
  OggReader reader;
  if (!reader.Open(std::vector<uint8_t>(entry.begin(), entry.end()))) return std::nullopt;
  DecodedSound s;
  s.Format = reader.Format();
  const size_t ch = s.Format.Channels;
  if (reader.TotalFrames() > kMaxSoundBytes / (ch * 2)) return std::nullopt;
  // Grown as the data decodes: a damaged stream may claim far more frames
  // than it holds, and it stops at the length it claims.
  const size_t total = static_cast<size_t>(reader.TotalFrames());
  size_t frames = 0;
  while (frames < total) {
    const size_t piece = std::min<size_t>(total - frames, 1 << 16);
    s.Samples.resize((frames + piece) * ch);
    const size_t n = reader.Read(std::span(s.Samples).subspan(frames * ch), piece);
    frames += n;
    if (n == 0) break;
  }
  s.Samples.resize(frames * ch);
  const std::span<const uint8_t> pcm(reinterpret_cast<const uint8_t*>(s.Samples.data()),
                                     s.Samples.size() * 2);
  s.Samples.resize(OggTrimmedLength(pcm, s.Format.BlockAlign) / 2);
  return s;
}

}  // namespace zk
