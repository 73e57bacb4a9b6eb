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
// image's size, never on its colours, so they are stored as image offsets.
//
// A shape is kept the second time it is drawn: while a field like the radius is dragged every
// repaint draws new shapes, and keeping them would only cost time. Memory is bounded: when the
// store is full, everything in it is dropped and it fills again.
class ShapeCache {
public:
    enum class Kind : std::int32_t { Cell, ThinLine, ThickLine };

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

    // The stored pixels of a shape, or nothing when they are not stored; then seenBefore()
    // tells whether the shape was drawn before, so that it is worth keeping now. A repaint
    // draws its shapes in the order of the one before, so the shape drawn after the last one
    // looked up is tried before the table is searched.
    std::optional<std::span<const std::int32_t>> find(const Key& key) {
        std::size_t i = predicted_;
        bool made = false;
        if (!(i < slots_.size() && slots_[i].gen == gen_ && slots_[i].key == key))
            i = search(key, made);
        follow(i);
        const Slot& slot = slots_[i];
        seenBefore_ = !made;
        if (slot.length == kNotKept)
            return std::nullopt;
        return std::span<const std::int32_t>(words_.get() + slot.start, slot.length);
    }
    bool seenBefore() const {
        return seenBefore_;
    }

    // Recording a shape as it is drawn: begin, add its words, then finish. A shape that does
    // not fit in what is left is not kept.
    void begin();
    void add(std::int32_t word) {
        if (next_ < end_)
            *next_++ = word;
        else
            overflow_ = true;
    }
    // A run of pixels: its offset in the image and its length.
    void addRun(std::int64_t offset, std::int64_t length) {
        add(static_cast<std::int32_t>(offset));
        add(static_cast<std::int32_t>(length));
    }
    // For a known number of words: where to write them, or null when they do not fit.
    std::int32_t* reserve(std::size_t words) {
        if (static_cast<std::size_t>(end_ - next_) < words) {
            overflow_ = true;
            return nullptr;
        }
        std::int32_t* at = next_;
        next_ += words;
        return at;
    }
    // Where the next word goes.
    const std::int32_t* position() const {
        return next_;
    }
    void finish(const Key& key);

    // Shapes known, kept or only seen.
    std::size_t size() const {
        return used_;
    }

private:
    static constexpr std::size_t kDefaultWords = std::size_t{1} << 22; // 16 MiB
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    static constexpr std::uint32_t kNotKept = 0xFFFFFFFF; // a length: seen, not stored
    struct Slot {
        Key key;
        std::uint32_t start = 0, length = 0;
        std::uint32_t next = kNone; // the slot of the shape looked up after this one last time
        std::uint32_t gen = 0;      // in use when it equals the cache's generation
    };
    // The slot of the key, made for it (as seen, not kept) when it had none.
    std::size_t search(const Key& key, bool& made);
    // Links the last slot looked up to slot i, and predicts the one after i.
    void follow(std::size_t i) {
        if (last_ != kNone && last_ != i)
            slots_[last_].next = static_cast<std::uint32_t>(i);
        last_ = i;
        predicted_ = slots_[i].next;
    }
    static std::uint64_t Hash(const Key& key);
    void grow();
    void clear();

    std::size_t maxWords_;
    std::unique_ptr<std::int32_t[]> words_;
    std::size_t wordsUsed_ = 0;
    std::vector<Slot> slots_;
    std::uint32_t gen_ = 1;
    std::size_t used_ = 0;
    std::size_t last_ = kNone;      // the slot last looked up or stored
    std::size_t predicted_ = kNone; // the slot tried first
    bool seenBefore_ = false;
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
