// Encoding of the compressed picture format: the three stages and whole
// entries.
#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"
#include "resources/PictureCodec.h"

namespace zk {

// ============================================================ [SECTION] Stages

void EncodeDelta(uint8_t* data, size_t size) {
  uint8_t prev[3] = {0, 0, 0};
  for (size_t i = 0; i < size; ++i) {
    const uint8_t v = data[i];
    data[i] = static_cast<uint8_t>(v - prev[i % 3]);
    prev[i % 3] = v;
  }
}

// ------------------------------------------------------------ dictionary encoder

namespace {

constexpr size_t kWindow = 16384;
constexpr size_t kMaxMatch = 4096;
constexpr int kChainDepth = 64;
constexpr int kHashBits = 16;

class TokenWriter {
 public:
  explicit TokenWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Literal(uint8_t b) {
    Flag(false);
    out_.push_back(b);
  }
  void LiteralRun(const uint8_t* p, size_t n) {  // 9..40
    Flag(true);
    out_.push_back(static_cast<uint8_t>(((n - 9) << 2) | 3));
    out_.insert(out_.end(), p, p + n);
  }
  // Emits one reference token for a match and returns the length it covers.
  size_t Reference(size_t dist, size_t len) {
    Flag(true);
    const size_t d = dist - 1;
    if (len <= 4 && dist <= 32) {
      out_.push_back(static_cast<uint8_t>((d << 2) | (len - 2)));
      return len;
    }
    if (len <= 18 && dist <= 1024) {
      out_.push_back(static_cast<uint8_t>(0x80 | (d >> 4)));
      out_.push_back(static_cast<uint8_t>(((d & 15) << 4) | (len - 3)));
      return len;
    }
    uint8_t c;
    if (len >= 4096) {
      len = 4096, c = 255;
    } else if (len >= 1024) {
      len = 1024, c = 254;
    } else if (len >= 256) {
      len = 256, c = 253;
    } else {
      c = static_cast<uint8_t>(len - 3);
    }
    out_.push_back(static_cast<uint8_t>(0xC0 | (d >> 8)));
    out_.push_back(static_cast<uint8_t>(d & 0xFF));
    out_.push_back(c);
    return len;
  }
  void Literals(const uint8_t* p, size_t n) {
    while (n >= 9) {
      size_t run = std::min<size_t>(n, 40);
      // Leave at least 9 for a second run rather than a tail of single literals.
      if (n > 40 && n < 49) run = n - 9;
      LiteralRun(p, run);
      p += run;
      n -= run;
    }
    for (size_t i = 0; i < n; ++i) Literal(p[i]);
  }

 private:
  void Flag(bool ref) {
    if (bit_ == 8) {
      flagPos_ = out_.size();
      out_.push_back(0);
      bit_ = 0;
    }
    if (ref) out_[flagPos_] |= static_cast<uint8_t>(0x80 >> bit_);
    ++bit_;
  }
  std::vector<uint8_t>& out_;
  size_t flagPos_ = 0;
  int bit_ = 8;
};

inline uint32_t Hash3(const uint8_t* p) {
  uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16;
  return (v * 2654435761u) >> (32 - kHashBits);
}

inline size_t MatchLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t n = 0;
  while (n + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + (__builtin_ctzll(x ^ y) >> 3);
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

class MatchFinder {
 public:
  explicit MatchFinder(std::span<const uint8_t> data)
      : data_(data), head_(1u << kHashBits, -1), prev_(kWindow, -1) {}

  void Insert(size_t pos) {
    if (pos + 3 > data_.size()) return;
    const uint32_t h = Hash3(data_.data() + pos);
    prev_[pos & (kWindow - 1)] = head_[h];
    head_[h] = static_cast<int32_t>(pos);
  }

  // Best match at pos among the positions already inserted; len 0 when none.
  void Find(size_t pos, size_t& bestDist, size_t& bestLen) const {
    bestDist = bestLen = 0;
    const size_t limit = std::min(kMaxMatch, data_.size() - pos);
    if (limit < 2) return;
    const uint8_t* cur = data_.data() + pos;
    if (limit >= 3) {
      int32_t cand = head_[Hash3(cur)];
      for (int depth = 0; depth < kChainDepth && cand >= 0; ++depth) {
        const size_t c = static_cast<size_t>(cand);
        if (c >= pos || pos - c > kWindow) break;
        const size_t len = MatchLength(data_.data() + c, cur, limit);
        if (len > bestLen) {
          bestLen = len;
          bestDist = pos - c;
          if (len == limit) break;
        }
        const int32_t next = prev_[c & (kWindow - 1)];
        if (next >= cand) break;
        cand = next;
      }
    }
    if (bestLen >= 3) return;
    // Two-byte matches pay only as one-byte short references (distance <= 32).
    bestLen = 0;
    for (size_t d = 1; d <= 32 && d <= pos; ++d) {
      if (cur[-static_cast<ptrdiff_t>(d)] == cur[0] &&
          cur[1 - static_cast<ptrdiff_t>(d)] == cur[1]) {
        bestDist = d;
        bestLen = 2;
        return;
      }
    }
  }

 private:
  std::span<const uint8_t> data_;
  std::vector<int32_t> head_;
  std::vector<int32_t> prev_;
};

// Bytes a reference token costs for a match (1, 2 or 3).
inline size_t RefCost(size_t dist, size_t len) {
  if (len <= 4 && dist <= 32) return 1;
  if (len <= 18 && dist <= 1024) return 2;
  return 3;
}

// Whether a match pays: the bits it saves over the same bytes stored as
// literals. Every token also costs the decoder a hard-to-predict branch, so a
// reference must save more than a few bits: a one-byte reference at least two
// bytes (length 4), a longer one four bytes after another reference and six
// amid literals, where it also splits a literal run in two. On noisy pictures
// this keeps decoding faster than the same picture as a JPEG.
inline bool Worth(size_t dist, size_t len, bool amidLiterals) {
  if (len < 2 || (len == 2 && dist > 32)) return false;
  const size_t cost = RefCost(dist, len);
  const long saving = 8 * static_cast<long>(len) - (1 + 8 * static_cast<long>(cost));
  if (cost == 1) return saving > 15;
  return saving > (amidLiterals ? 41 : 31);
}

}  // namespace

std::vector<uint8_t> EncodeDictionary(std::span<const uint8_t> in) {
  std::vector<uint8_t> out;
  out.reserve(in.size() + in.size() / 8 + 16);
  TokenWriter writer(out);
  MatchFinder finder(in);
  const size_t n = in.size();
  size_t pos = 0, literalStart = 0;
  size_t dist = 0, len = 0;
  bool haveMatch = false;
  while (pos < n) {
    if (!haveMatch) finder.Find(pos, dist, len);
    haveMatch = false;
    if (!Worth(dist, len, pos > literalStart)) {
      finder.Insert(pos);
      ++pos;
      continue;
    }
    // One step of lazy matching: prefer a clearly longer match at pos + 1.
    if (len < 64 && pos + 1 < n) {
      finder.Insert(pos);
      size_t d2, l2;
      finder.Find(pos + 1, d2, l2);
      if (Worth(d2, l2, true) &&
          (l2 > len + 1 || (l2 == len && RefCost(d2, l2) < RefCost(dist, len)))) {
        ++pos;
        dist = d2;
        len = l2;
        haveMatch = true;
        continue;
      }
      writer.Literals(in.data() + literalStart, pos - literalStart);
      const size_t covered = writer.Reference(dist, len);
      for (size_t i = pos + 1; i < pos + covered; ++i) finder.Insert(i);
      pos += covered;
      literalStart = pos;
      continue;
    }
    writer.Literals(in.data() + literalStart, pos - literalStart);
    const size_t covered = writer.Reference(dist, len);
    for (size_t i = pos; i < pos + covered; ++i) finder.Insert(i);
    pos += covered;
    literalStart = pos;
  }
  writer.Literals(in.data() + literalStart, n - literalStart);
  return out;
}

std::vector<uint8_t> EncodeRuns(std::span<const uint8_t> in) {
  std::vector<uint8_t> out;
  out.reserve(in.size() + in.size() / 64 + 16);
  const uint8_t* p = in.data();
  const size_t n = in.size();
  size_t pos = 0, literalStart = 0;
  auto flushLiterals = [&](size_t end) {
    while (literalStart < end) {
      const size_t count = std::min<size_t>(128, end - literalStart);
      out.push_back(static_cast<uint8_t>(count - 1));
      out.insert(out.end(), p + literalStart, p + literalStart + count);
      literalStart += count;
    }
  };
  while (pos < n) {
    size_t bestK = 0, bestReps = 0;
    long bestGain = 1;  // a run must save at least two bytes over literals
    for (size_t k = 1; k <= 4; ++k) {
      if (pos + 2 * k > n) break;
      size_t reps = 1;
      while (reps < 8192 && pos + (reps + 1) * k <= n &&
             std::memcmp(p + pos + reps * k, p + pos, k) == 0)
        ++reps;
      const long gain = static_cast<long>(reps * k) - static_cast<long>(2 + k);
      if (reps >= 2 && gain > bestGain) {
        bestGain = gain;
        bestK = k;
        bestReps = reps;
      }
    }
    if (!bestK) {
      ++pos;
      continue;
    }
    flushLiterals(pos);
    const size_t r = bestReps - 1;
    out.push_back(static_cast<uint8_t>(0x80 | ((bestK - 1) << 5) | (r >> 8)));
    out.push_back(static_cast<uint8_t>(r & 0xFF));
    out.insert(out.end(), p + pos, p + pos + bestK);
    pos += bestReps * bestK;
    literalStart = pos;
  }
  flushLiterals(n);
  return out;
}

// ============================================================ [SECTION] Compressed pictures

bool EncodePicture(const Bitmap& bmp, uint8_t flags, std::vector<uint8_t>& out) {
  out.clear();
  if (bmp.Width > 0xFFFF || bmp.Height > 0xFFFF) return false;
  const size_t rowBytes = static_cast<size_t>(bmp.Width) * 3;
  std::vector<uint8_t> raw(rowBytes * bmp.Height);
  for (int y = 0; y < bmp.Height; ++y) std::memcpy(raw.data() + y * rowBytes, bmp.Row(y), rowBytes);
  if (flags & kPicDelta) EncodeDelta(raw.data(), raw.size());
  uint32_t stage1Size = 0;
  if (flags & kPicRunLength) {
    raw = EncodeRuns(raw);
    stage1Size = static_cast<uint32_t>(raw.size());
  }
  std::vector<uint8_t> data = EncodeDictionary(raw);
  out.assign(kPictureHeaderSize, 0);
  out[2] = flags & (kPicRunLength | kPicDelta);
  out[3] = 3;
  PutLe32(out.data() + 4, static_cast<uint32_t>(data.size()));
  PutLe32(out.data() + 8, stage1Size);
  PutLe16(out.data() + 12, static_cast<uint16_t>(bmp.Width));
  PutLe16(out.data() + 14, static_cast<uint16_t>(bmp.Height));
  out.insert(out.end(), data.begin(), data.end());
  return true;
}

}  // namespace zk
