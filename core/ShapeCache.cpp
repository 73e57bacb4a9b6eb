#include "ShapeCache.h"

#include <algorithm>
#include <limits>

namespace gyrodex {

namespace {

// Slots of the table, at most half of them in use: it starts small and doubles up to a size that
// holds the shapes of several wheels.
constexpr std::size_t kFirstSlots = 256;
constexpr std::size_t kMaxSlots = std::size_t{1} << 13;

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
    if (enabled_ && slots_.empty())
        slots_.resize(kFirstSlots);
}

void ShapeCache::clear() {
    wordsUsed_ = 0;
    used_ = 0;
    last_ = predicted_ = kNone;
    // A new generation empties every slot at once; only when it wraps are they reset.
    if (++gen_ == 0) {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        gen_ = 1;
    }
}

std::size_t ShapeCache::search(const Key& key, bool& made) {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t h = Hash(key);
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.gen != gen_) {
            if (2 * (used_ + 1) > slots_.size()) {
                if (slots_.size() < kMaxSlots)
                    grow();
                else
                    clear();
                return search(key, made);
            }
            slot = Slot{key, 0, kNotKept, kNone, gen_};
            ++used_;
            made = true;
            return i;
        }
        if (slot.key == key) {
            made = false;
            return i;
        }
    }
}

void ShapeCache::grow() {
    std::vector<Slot> old(2 * slots_.size());
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.gen != gen_)
            continue;
        std::size_t i = Hash(slot.key) & mask;
        while (slots_[i].gen == gen_)
            i = (i + 1) & mask;
        slots_[i] = slot;
        slots_[i].next = kNone; // the slots moved: the order is learnt again
    }
    last_ = predicted_ = kNone;
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

void ShapeCache::finish(const Key& key) {
    if (!overflow_ && start_) {
        // The slot is looked up again: starting the recording may have emptied the table.
        bool made = false;
        const std::size_t i = search(key, made);
        follow(i);
        slots_[i].start = static_cast<std::uint32_t>(start_ - words_.get());
        slots_[i].length = static_cast<std::uint32_t>(next_ - start_);
        wordsUsed_ = slots_[i].start + slots_[i].length;
    }
    start_ = next_ = end_ = nullptr;
    overflow_ = false;
}

} // namespace gyrodex
