#include "ShapeCache.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace gyrodex {

namespace {

// Slots of the table: it starts small and doubles while at most half full, up to a size that
// holds the shapes of several wheels; past that it is emptied.
constexpr std::size_t kFirstSlots = 1024;
constexpr std::size_t kMaxSlots = std::size_t{1} << 15;

} // namespace

std::uint64_t ShapeCache::Hash(const Key& key) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < 12; i += 2) {
        std::uint64_t pair;
        std::memcpy(&pair, key.words + i, sizeof pair);
        h = (h ^ pair) * kMul;
        h ^= h >> 29;
    }
    return h;
}

ShapeCache::ShapeCache(std::size_t maxWords) : maxWords_(maxWords) {}

void ShapeCache::use(int width, int height, std::int64_t stride) {
    if (width == width_ && height == height_ && stride == stride_)
        return;
    clear();
    width_ = width;
    height_ = height;
    stride_ = stride;
    // Every offset into the image must fit in a word.
    enabled_ = width > 0 && height > 0 && stride > 0 &&
               stride <= std::numeric_limits<std::int32_t>::max() / height;
}

void ShapeCache::clear() {
    wordsUsed_ = 0;
    used_ = 0;
    slots_.clear();
    last_ = predicted_ = kNone;
}

std::size_t ShapeCache::search(const Key& key) const {
    if (slots_.empty())
        return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
        if (!slots_[i].used)
            return kNone;
        if (slots_[i].key == key)
            return i;
    }
}

void ShapeCache::begin() {
    overflow_ = false;
    if (!enabled_) {
        start_ = next_ = end_ = nullptr;
        return;
    }
    if (!words_)
        words_ = std::make_unique_for_overwrite<std::int32_t[]>(maxWords_);
    // A full store starts over rather than keep a shape: the shapes of the wheel being drawn
    // are soon stored again.
    if (maxWords_ - wordsUsed_ < maxWords_ / 8)
        clear();
    start_ = next_ = words_.get() + wordsUsed_;
    end_ = words_.get() + maxWords_;
}

std::int32_t* ShapeCache::reserve(std::size_t words) {
    if (static_cast<std::size_t>(end_ - next_) < words) {
        overflow_ = true;
        return nullptr;
    }
    std::int32_t* at = next_;
    next_ += words;
    return at;
}

void ShapeCache::finish(const Key& key) {
    if (!overflow_ && start_) {
        auto start = static_cast<std::uint32_t>(start_ - words_.get());
        const auto length = static_cast<std::uint32_t>(next_ - start_);
        if (2 * (used_ + 1) > slots_.size() && slots_.size() >= kMaxSlots) {
            // The table is full: start over, keeping just this shape's words.
            std::memmove(words_.get(), start_, length * sizeof(std::int32_t));
            clear();
            start = 0;
        }
        insert(key, start, length);
        wordsUsed_ = start + length;
    }
    abandon();
}

void ShapeCache::abandon() {
    start_ = next_ = end_ = nullptr;
    overflow_ = false;
}

void ShapeCache::insert(const Key& key, std::uint32_t start, std::uint32_t length) {
    if (2 * (used_ + 1) > slots_.size()) {
        // The slots move: the order of the shapes is learnt again.
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? kFirstSlots : 2 * old.size(), Slot{});
        used_ = 0;
        last_ = predicted_ = kNone;
        for (const Slot& s : old)
            if (s.used)
                place(s.key, s.start, s.length);
    }
    const std::size_t i = place(key, start, length);
    if (last_ != kNone && last_ != i)
        slots_[last_].next = static_cast<std::uint32_t>(i);
    last_ = i;
    predicted_ = kNone;
}

std::size_t ShapeCache::place(const Key& key, std::uint32_t start, std::uint32_t length) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = Hash(key) & mask;
    while (slots_[i].used && !(slots_[i].key == key))
        i = (i + 1) & mask;
    if (!slots_[i].used)
        ++used_;
    slots_[i] = Slot{key, start, length, kNone, true};
    return i;
}

} // namespace gyrodex
