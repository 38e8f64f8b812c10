// Decoding of the compressed picture format: the three stages and whole
// entries, over byte spans.
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/LittleEndian.h"
#include "resources/PictureCodec.h"

namespace zk {

namespace {

// Output buffers get this much room past their end so that a token may run
// over (the longest token writes 4096 bytes) and copies may work in chunks.
constexpr size_t kSlack = 4096 + 64;

inline void Copy8(uint8_t* dst, const uint8_t* src) {
  std::memcpy(dst, src, 8);
}
inline void Copy16(uint8_t* dst, const uint8_t* src) {
  std::memcpy(dst, src, 16);
}

// Copies len bytes from distance dist back in the same buffer, as if byte by
// byte: a distance shorter than the length repeats the last dist bytes. May
// write up to 15 bytes past len (the buffers have slack for it).
inline void CopyMatch(uint8_t* dst, size_t dist, size_t len) {
  const uint8_t* src = dst - dist;
  if (dist >= 16) {
    // Each 16-byte chunk reads only bytes written before it. Most matches
    // are at most 32 bytes long: copy that much without asking.
    Copy16(dst, src);
    Copy16(dst + 16, src + 16);
    for (size_t done = 32; done < len; done += 16) Copy16(dst + done, src + done);
  } else if (dist >= 8) {
    for (size_t done = 0; done < len; done += 8) Copy8(dst + done, src + done);
  } else if (len <= 4) {
    // Byte by byte in a fixed count, so short overlapping copies need no loop.
    for (size_t i = 0; i < 4; ++i) dst[i] = src[i];
  } else if (dist == 1) {
    std::memset(dst, *src, len);
  } else if (len <= 18) {
    for (size_t i = 0; i < 18; ++i) dst[i] = src[i];
  } else {
    // The output repeats with period dist: copy whole periods from the start
    // of the pattern, doubling the amount each time.
    for (size_t i = 0; i < dist; ++i) dst[i] = src[i];
    size_t done = dist;
    while (done < len) {
      const size_t period = done - done % dist;
      const size_t chunk = std::min(period, len - done);
      std::memcpy(dst + done, dst + done - period, chunk);
      done += chunk;
    }
  }
}

// Writes n copies of the k-byte unit at dst (the unit is already in unit).
inline void FillUnits(uint8_t* dst, const uint8_t* unit, size_t k, size_t n) {
  if (n == 0) return;
  if (k == 1) {
    if (n <= 16) {
      uint8_t splat[16];
      std::memset(splat, unit[0], 16);
      Copy16(dst, splat);  // may write past n: the buffers have slack
    } else {
      std::memset(dst, unit[0], n);
    }
    return;
  }
  std::memcpy(dst, unit, k);
  size_t done = k, total = k * n;
  while (done < total) {
    size_t chunk = std::min(done, total - done);
    std::memcpy(dst + done, dst, chunk);
    done += chunk;
  }
}

inline size_t LongLength(uint32_t c) {
  return c == 255 ? 4096 : c == 254 ? 1024 : c == 253 ? 256 : c + 3;
}

// Input that a whole flag group can consume at most: the flag byte and eight
// literal runs of 41 bytes, rounded up for 16-byte copies.
constexpr size_t kGroupInput = 1 + 8 * 41 + 16;

template <bool kStats>
size_t DictionaryLoop(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, bool& damaged,
                      TokenStats* stats) {
  size_t ip = 0, op = 0;
  uint32_t flags = 0;
  int bits = 0;
  damaged = false;
  // Fast loop: while a whole flag group of input remains, tokens need no
  // input checks and copy in fixed-size chunks (the output has slack).
  while (op < outSize && inSize - ip >= kGroupInput) {
    if (bits == 0) {
      flags = in[ip++];
      bits = 8;
    }
    if (!(flags & 0x80)) {
      // A stretch of literals: as many as the flag byte has zero bits in a row.
      size_t n = (flags & 0xFF) ? static_cast<size_t>(__builtin_clz((flags & 0xFF) << 24)) : 8;
      n = std::min<size_t>(n, static_cast<size_t>(bits));
      Copy8(out + op, in + ip);
      op += n;
      ip += n;
      if constexpr (kStats) stats->Literal += n;
      flags <<= n;
      bits -= static_cast<int>(n);
      continue;
    }
    const uint32_t u = in[ip];
    if ((u & 0x83) == 0x03) {
      // A literal run of 9 to 40 bytes.
      const size_t len = (u >> 2) + 9;
      Copy16(out + op, in + ip + 1);
      Copy16(out + op + 16, in + ip + 17);
      Copy8(out + op + 32, in + ip + 33);
      op += len;
      ip += len + 1;
      if constexpr (kStats) ++stats->LiteralRun;
      flags <<= 1;
      --bits;
      continue;
    }
    // The three reference forms, selected rather than branched on.
    const uint32_t b = in[ip + 1], c = in[ip + 2];
    const bool isShort = u < 0x80, isMedium = (u & 0xC0) == 0x80;
    const size_t dist = isShort    ? (u >> 2) + 1
                        : isMedium ? (((u & 0x3F) << 4) | (b >> 4)) + 1
                                   : (((u & 0x3F) << 8) | b) + 1;
    const size_t len = isShort ? (u & 3) + 2 : isMedium ? (b & 0x0F) + 3 : LongLength(c);
    ip += isShort ? 1 : isMedium ? 2 : 3;
    if constexpr (kStats) {
      if (isShort)
        ++stats->Short;
      else if (isMedium)
        ++stats->Medium;
      else
        ++stats->Long;
    }
    if (dist > op) {
      damaged = true;  // points before the start of the output
      return op;
    }
    CopyMatch(out + op, dist, len);
    op += len;
    flags <<= 1;
    --bits;
  }
  // Careful loop for the end of the data: every read is checked.
  while (op < outSize) {
    if (bits == 0) {
      if (ip >= inSize) break;
      flags = in[ip++];
      bits = 8;
    }
    if (!(flags & 0x80)) {
      size_t n = (flags & 0xFF) ? static_cast<size_t>(__builtin_clz((flags & 0xFF) << 24)) : 8;
      n = std::min<size_t>({n, static_cast<size_t>(bits), outSize - op});
      const bool cut = ip + n > inSize;
      if (cut) n = inSize - ip;
      std::memcpy(out + op, in + ip, n);
      op += n;
      ip += n;
      if (cut) break;
      if constexpr (kStats) stats->Literal += n;
      flags <<= n;
      bits -= static_cast<int>(n);
      continue;
    }
    if (ip >= inSize) break;
    const uint32_t u = in[ip++];
    size_t dist, len;
    if (u < 0x80) {
      if ((u & 3) == 3) {
        len = (u >> 2) + 9;
        const bool cut = ip + len > inSize;
        if (cut) len = inSize - ip;
        std::memcpy(out + op, in + ip, len);
        op += len;
        ip += len;
        if (cut) break;
        if constexpr (kStats) ++stats->LiteralRun;
        flags <<= 1;
        --bits;
        continue;
      }
      dist = (u >> 2) + 1;
      len = (u & 3) + 2;
      if constexpr (kStats) ++stats->Short;
    } else if (!(u & 0x40)) {
      if (ip >= inSize) break;
      const uint32_t b = in[ip++];
      dist = (((u & 0x3F) << 4) | (b >> 4)) + 1;
      len = (b & 0x0F) + 3;
      if constexpr (kStats) ++stats->Medium;
    } else {
      if (ip + 2 > inSize) break;
      const uint32_t b = in[ip], c = in[ip + 1];
      ip += 2;
      dist = (((u & 0x3F) << 8) | b) + 1;
      len = LongLength(c);
      if constexpr (kStats) ++stats->Long;
    }
    if (dist > op) {
      damaged = true;
      return op;
    }
    CopyMatch(out + op, dist, len);
    op += len;
    flags <<= 1;
    --bits;
  }
  if (op < outSize) damaged = true;
  return op;
}

}  // namespace

// ============================================================ [SECTION] Stages

std::vector<uint8_t> DecodeDictionary(std::span<const uint8_t> in, size_t outSize, bool* damaged,
                                      TokenStats* stats) {
  std::vector<uint8_t> out(outSize + kSlack);
  bool bad = false;
  const size_t got =
      stats ? DictionaryLoop<true>(in.data(), in.size(), out.data(), outSize, bad, stats)
            : DictionaryLoop<false>(in.data(), in.size(), out.data(), outSize, bad, nullptr);
  out.resize(outSize);
  // Copies work in chunks: what lies past the decoded bytes is not output.
  if (got < outSize) std::memset(out.data() + got, 0, outSize - got);
  if (damaged) *damaged = bad;
  return out;
}

namespace {

// Stage 2 into dst (outSize bytes and the slack); returns the bytes produced.
size_t RunsLoop(const uint8_t* src, size_t inSize, uint8_t* dst, size_t outSize, bool& bad) {
  size_t ip = 0, op = 0;
  bad = false;
  // Fast loop: enough input for the longest item and its 16-byte copies;
  // copies may run past their end into the output's slack.
  while (op < outSize && inSize - ip >= 2 + 128 + 16) {
    const uint32_t c = src[ip++];
    if (c < 0x80) {
      const size_t n = c + 1;
      for (size_t done = 0; done < n; done += 16) Copy16(dst + op + done, src + ip + done);
      op += n;
      ip += n;
      continue;
    }
    size_t n = (((c & 0x1F) << 8) | src[ip++]) + 1;
    const size_t k = ((c >> 5) & 3) + 1;
    if (op + n * k > outSize) n = (outSize - op) / k;
    FillUnits(dst + op, src + ip, k, n);
    ip += k;
    op += n * k;
  }
  while (op < outSize) {
    if (ip >= inSize) {
      bad = true;
      break;
    }
    const uint32_t c = src[ip++];
    if (c < 0x80) {
      size_t n = std::min<size_t>(c + 1, outSize - op);
      if (ip + n > inSize) {
        n = inSize - ip;
        bad = true;
      }
      std::memcpy(dst + op, src + ip, n);
      op += n;
      ip += n;
      if (bad) break;
      continue;
    }
    if (ip >= inSize) {
      bad = true;
      break;
    }
    size_t n = (((c & 0x1F) << 8) | src[ip++]) + 1;
    const size_t k = ((c >> 5) & 3) + 1;
    if (op + n * k > outSize) n = (outSize - op) / k;
    if (ip + k > inSize) {
      bad = true;
      break;
    }
    FillUnits(dst + op, src + ip, k, n);
    ip += k;
    op += n * k;
  }
  return std::min(op, outSize);
}

}  // namespace

std::vector<uint8_t> DecodeRuns(std::span<const uint8_t> in, size_t outSize, bool* damaged) {
  std::vector<uint8_t> out(outSize + kSlack);
  bool bad = false;
  const size_t got = RunsLoop(in.data(), in.size(), out.data(), outSize, bad);
  out.resize(outSize);
  if (got < outSize) std::memset(out.data() + got, 0, outSize - got);
  if (damaged) *damaged = bad;
  return out;
}

void DecodeDelta(uint8_t* data, size_t size) {
  size_t i = 0;
  uint8_t carry[16] = {};  // running value of the lane of each position of the next block
#if defined(__SSE2__)
  // Sixteen bytes at a time: prefix sums over every third byte inside the
  // block, plus the running values carried in from the blocks before. The
  // carry for position k is the result at 13 + k % 3 of the previous block.
  __m128i c = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    s = _mm_add_epi8(s, _mm_slli_si128(s, 3));
    s = _mm_add_epi8(s, _mm_slli_si128(s, 6));
    s = _mm_add_epi8(s, _mm_slli_si128(s, 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(data + i), _mm_add_epi8(s, c));
    // Next carry: the last three sums spread over the block, plus the carry
    // moved on by one lane (16 is 1 more than a multiple of 3).
    __m128i last = _mm_srli_si128(s, 13);
    last = _mm_or_si128(last, _mm_slli_si128(last, 3));
    last = _mm_or_si128(last, _mm_slli_si128(last, 6));
    last = _mm_or_si128(last, _mm_slli_si128(last, 12));
    __m128i moved = _mm_srli_si128(c, 1);
    moved = _mm_or_si128(moved, _mm_slli_si128(moved, 15));
    c = _mm_add_epi8(last, moved);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(carry), c);
#endif
  for (size_t k = 0; i < size; ++i, ++k)
    data[i] = static_cast<uint8_t>(data[i] + (k < 3 ? carry[k] : data[i - 3]));
}

// ============================================================ [SECTION] Compressed pictures

bool ParsePictureHeader(std::span<const uint8_t> bytes, PictureHeader& out) {
  if (bytes.size() < kPictureHeaderSize) return false;
  const uint8_t* p = bytes.data();
  out.Flags = p[2];
  out.BytesPerPixel = p[3];
  out.DataSize = ReadLe32(p + 4);
  out.Stage1Size = ReadLe32(p + 8);
  out.Width = ReadLe16(p + 12);
  out.Height = ReadLe16(p + 14);
  return true;
}

namespace {

// Work buffers kept between loads so that decoding a picture does not fault
// in fresh pages every time; large ones are released after use.
struct Scratch {
  std::vector<uint8_t> runs, pixels;
  static uint8_t* Get(std::vector<uint8_t>& v, size_t size) {
    if (v.size() < size) v.resize(size);
    return v.data();
  }
  void Trim() {
    constexpr size_t kKeep = 16u << 20;
    if (runs.capacity() > kKeep) std::vector<uint8_t>().swap(runs);
    if (pixels.capacity() > kKeep) std::vector<uint8_t>().swap(pixels);
  }
};

}  // namespace

PictureStatus DecodePicture(std::span<const uint8_t> entry, Bitmap& out) {
  PictureHeader h;
  if (!ParsePictureHeader(entry, h) || h.BytesPerPixel != 3) return PictureStatus::Invalid;
  const uint64_t raw = static_cast<uint64_t>(h.Width) * h.Height * 3;
  if (raw > kMaxPictureBytes) return PictureStatus::Invalid;
  const size_t rawSize = static_cast<size_t>(raw);
  std::span<const uint8_t> data = entry.subspan(kPictureHeaderSize);
  if (data.size() > h.DataSize) data = data.first(h.DataSize);
  bool damaged = data.size() < h.DataSize;

  thread_local Scratch scratch;
  const int w = h.Width, ht = h.Height;
  const size_t rowBytes = static_cast<size_t>(w) * 3;
  // Rows without padding decode straight into the target's pixels.
  const bool direct = static_cast<size_t>(Bitmap::StrideFor(w)) == rowBytes;
  uint8_t* pixels;
  if (direct) {
    out.Width = w;
    out.Height = ht;
    out.Stride = static_cast<int>(rowBytes);
    // Every byte is written below: a buffer too small is replaced, not grown
    // (growing would copy the old picture and double the capacity).
    if (out.Pixels.capacity() < rawSize + kSlack) PixelBuffer(rawSize + kSlack).swap(out.Pixels);
    out.Pixels.resize(rawSize + kSlack);
    pixels = out.Pixels.data();
  } else {
    pixels = Scratch::Get(scratch.pixels, rawSize + kSlack);
  }

  bool bad = false;
  size_t produced;
  if (h.Flags & kPicRunLength) {
    // The run-length stage consumes at most three bytes per output byte, so
    // a larger stated size only adds bytes that are never read.
    const size_t stage1 = static_cast<size_t>(std::min<uint64_t>(h.Stage1Size, raw * 3 + 16));
    uint8_t* runs = Scratch::Get(scratch.runs, stage1 + kSlack);
    const size_t got = DictionaryLoop<false>(data.data(), data.size(), runs, stage1, bad, nullptr);
    damaged |= bad;
    if (got < stage1) std::memset(runs + got, 0, stage1 - got);
    produced = RunsLoop(runs, stage1, pixels, rawSize, bad);
  } else {
    produced = DictionaryLoop<false>(data.data(), data.size(), pixels, rawSize, bad, nullptr);
  }
  damaged |= bad;
  if (produced < rawSize) std::memset(pixels + produced, 0, rawSize - produced);
  if (h.Flags & kPicDelta) DecodeDelta(pixels, rawSize);

  if (direct) {
    out.Pixels.resize(rawSize);
  } else {
    out.Resize(w, ht);
    for (int y = 0; y < ht; ++y) std::memcpy(out.Row(y), pixels + y * rowBytes, rowBytes);
  }
  scratch.Trim();
  return damaged ? PictureStatus::Damaged : PictureStatus::Ok;
}

}  // namespace zk
