#pragma once

#include <QPoint>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gyrodex {

// The pixels of shapes already rasterised into an image of one size, by the shape: a repaint
// that keeps the wheel's geometry (a new colour, date, highlight or start week) draws the same
// cells and lines as the one before, and writing their stored pixels costs a fraction of
// rasterising them again. A shape's pixels depend only on its points, its pen width and the
// image's size, never on its colour, so they are stored as image offsets: runs of (offset,
// length) for fills and wide lines, single offsets for one-pixel lines.
//
// Memory is bounded: when the store is full, everything in it is dropped and it fills again.
class ShapeCache {
public:
    enum class Kind : std::int32_t { Fill, ThinLine, ThinLineWithEnd, ThickLine };

    // A shape by what it was drawn from: its kind, pen width and at most kMaxPoints points,
    // as twelve words (unused ones zero) compared three 16-byte blocks at a time.
    static constexpr std::size_t kMaxPoints = 4;
    struct alignas(16) Key {
        std::int32_t words[12];
        bool operator==(const Key& other) const {
#if defined(__SSE2__)
            const auto* a = reinterpret_cast<const __m128i*>(words);
            const auto* b = reinterpret_cast<const __m128i*>(other.words);
            const __m128i same = _mm_and_si128(
                _mm_and_si128(_mm_cmpeq_epi32(_mm_load_si128(a), _mm_load_si128(b)),
                              _mm_cmpeq_epi32(_mm_load_si128(a + 1), _mm_load_si128(b + 1))),
                _mm_cmpeq_epi32(_mm_load_si128(a + 2), _mm_load_si128(b + 2)));
            return _mm_movemask_epi8(same) == 0xFFFF;
#else
            return std::memcmp(words, other.words, sizeof words) == 0;
#endif
        }
    };
    // The key of a shape, or false when it has too many points to be kept.
    static bool MakeKey(Kind kind, int width, std::span<const QPoint> points, Key& key) {
        if (points.size() > kMaxPoints)
            return false;
        key = Key{};
        key.words[0] = static_cast<std::int32_t>(kind);
        key.words[1] = width;
        key.words[2] = static_cast<std::int32_t>(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            key.words[4 + 2 * i] = points[i].x();
            key.words[5 + 2 * i] = points[i].y();
        }
        return true;
    }

    explicit ShapeCache(std::size_t maxWords = kDefaultWords);

    // Starts using the cache for an image of this geometry; other geometry empties it. Images
    // whose offsets would not fit in 32 bits are not cached.
    void use(int width, int height, std::int64_t stride);
    bool enabled() const {
        return enabled_;
    }

    // The stored pixels of a shape, or nothing when it is not stored. A repaint draws its shapes
    // in the order of the one before, so the shape drawn after the last one found is tried
    // before the table is searched.
    std::optional<std::span<const std::int32_t>> find(const Key& key) {
        if (predicted_ < slots_.size() && slots_[predicted_].used && slots_[predicted_].key == key)
            return found(predicted_);
        const std::size_t i = search(key);
        if (i == kNone) {
            last_ = kNone;
            return std::nullopt;
        }
        return found(i);
    }

    // Recording a shape as it is drawn: begin, add its words, then finish. A shape that does
    // not fit in what is left is simply not kept.
    void begin();
    void add(std::int32_t word) {
        if (next_ < end_)
            *next_++ = word;
        else
            overflow_ = true;
    }
    // For a known number of words: where to write them, or null when they do not fit.
    std::int32_t* reserve(std::size_t words);
    void finish(const Key& key);
    // Drops what was recorded since begin().
    void abandon();

    std::size_t size() const {
        return used_;
    }

private:
    static constexpr std::size_t kDefaultWords = std::size_t{1} << 22; // 16 MiB
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    struct Slot {
        Key key;
        std::uint32_t start = 0, length = 0;
        std::uint32_t next = kNone; // the slot of the shape drawn after this one last time
        bool used = false;
    };
    std::span<const std::int32_t> found(std::size_t i) {
        if (last_ != kNone && last_ != i)
            slots_[last_].next = static_cast<std::uint32_t>(i);
        last_ = i;
        predicted_ = slots_[i].next;
        return {words_.get() + slots_[i].start, slots_[i].length};
    }
    static std::uint64_t Hash(const Key& key);
    std::size_t search(const Key& key) const;
    void clear();
    void insert(const Key& key, std::uint32_t start, std::uint32_t length);
    std::size_t place(const Key& key, std::uint32_t start, std::uint32_t length);

    std::size_t maxWords_;
    std::unique_ptr<std::int32_t[]> words_;
    std::size_t wordsUsed_ = 0;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::size_t last_ = kNone;      // the slot last found or stored
    std::size_t predicted_ = kNone; // the slot tried first
    bool enabled_ = false;
    int width_ = -1, height_ = -1;
    std::int64_t stride_ = -1;
    // The recording in progress.
    std::int32_t* start_ = nullptr;
    std::int32_t* next_ = nullptr;
    std::int32_t* end_ = nullptr;
    bool overflow_ = false;
};

} // namespace gyrodex
