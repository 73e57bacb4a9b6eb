#include "ShapeCache.h"

#include "ImageCanvas.h"

#include <gtest/gtest.h>
#include <vector>

using namespace gyrodex;

namespace {

ShapeCache::Key LineKey(int id) {
    ShapeCache::Key key;
    const QPoint ends[2] = {QPoint(id, -id), QPoint(id % 7, id / 7)};
    EXPECT_TRUE(ShapeCache::MakeKey(ShapeCache::Kind::ThinLine, 1, ends, key));
    return key;
}

// Looks the shape up twice, the second time recording `words` words that name it.
void Keep(ShapeCache& cache, int id, int words) {
    const ShapeCache::Key key = LineKey(id);
    if (cache.find(key))
        return;
    if (!cache.seenBefore()) {
        ASSERT_FALSE(cache.find(key));
    }
    ASSERT_TRUE(cache.seenBefore());
    cache.begin();
    for (int i = 0; i < words; ++i)
        cache.add(id * 1000 + i);
    cache.finish(key);
}

// The stored words of a shape are the ones recorded for it, or there are none.
bool HoldsItsOwnWords(ShapeCache& cache, int id, int words) {
    const auto stored = cache.find(LineKey(id));
    if (!stored)
        return true;
    if (stored->size() != static_cast<std::size_t>(words))
        return false;
    for (int i = 0; i < words; ++i)
        if ((*stored)[static_cast<std::size_t>(i)] != id * 1000 + i)
            return false;
    return true;
}

} // namespace

TEST(ShapeCache, KeepsAShapeTheSecondTimeAndOnlyWhatFits) {
    ShapeCache cache(4096);
    cache.use(100, 100, 100);
    ASSERT_TRUE(cache.enabled());

    const ShapeCache::Key key = LineKey(1);
    EXPECT_FALSE(cache.find(key));
    EXPECT_FALSE(cache.seenBefore()) << "drawn once: not worth keeping yet";
    EXPECT_FALSE(cache.find(key));
    EXPECT_TRUE(cache.seenBefore());
    cache.begin();
    cache.add(7);
    cache.add(8);
    cache.finish(key);
    const auto stored = cache.find(key);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::vector<std::int32_t>(stored->begin(), stored->end()),
              (std::vector<std::int32_t>{7, 8}));

    // A shape larger than the store is drawn but not kept.
    const ShapeCache::Key big = LineKey(2);
    EXPECT_FALSE(cache.find(big));
    EXPECT_FALSE(cache.find(big));
    cache.begin();
    for (int i = 0; i < 5000; ++i)
        cache.add(i);
    cache.finish(big);
    EXPECT_FALSE(cache.find(big));

    // Shapes with more points than a key holds are never kept.
    ShapeCache::Key many;
    const QPoint five[5] = {};
    EXPECT_FALSE(ShapeCache::MakeKey(ShapeCache::Kind::Cell, 1, five, many));

    // Another image size forgets everything; images too large for 32-bit offsets keep nothing.
    cache.use(100, 101, 100);
    EXPECT_FALSE(cache.find(key));
    EXPECT_FALSE(cache.seenBefore());
    cache.use(50000, 50000, 50000);
    EXPECT_FALSE(cache.enabled());
}

TEST(ShapeCache, AFullStoreOrTableStartsOverAndNeverMixesShapesUp) {
    // A store of 2000 words holds about 60 shapes of 30 words; 40000 distinct shapes also fill
    // the table several times over.
    ShapeCache cache(2000);
    cache.use(64, 64, 64);
    for (int round = 0; round < 2; ++round) {
        for (int id = 0; id < 40000; ++id) {
            const int words = 1 + id % 30;
            Keep(cache, id, words);
            ASSERT_TRUE(HoldsItsOwnWords(cache, id, words)) << id;
            if (id >= 3) {
                ASSERT_TRUE(HoldsItsOwnWords(cache, id - 3, 1 + (id - 3) % 30)) << id;
            }
        }
    }
    EXPECT_LE(cache.size(), std::size_t{1} << 14);
}

// Shapes drawn over and over on one canvas, in new colours each time, come out as they do
// drawn once on a fresh canvas: kept cells and lines write exactly the pixels they would draw.
TEST(ShapeCache, KeptShapesPaintWhatDrawingThemAgainWould) {
    const QSize size(120, 90);
    std::uint32_t seed = 99;
    const auto next = [&](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    struct Shape {
        std::vector<QPoint> points; // a polygon, or a line when two
        int pen;
    };
    std::vector<Shape> shapes;
    for (int i = 0; i < 300; ++i) {
        Shape s;
        const int count = next(3) == 0 ? 2 : 3 + next(2);
        for (int k = 0; k < count; ++k)
            s.points.emplace_back(next(160) - 20, next(130) - 20);
        s.pen = 1 + next(3) * next(4);
        shapes.push_back(std::move(s));
    }
    const auto draw = [&](ImageCanvas& c, unsigned colour) {
        for (const Shape& s : shapes) {
            c.setPen(colour ^ static_cast<unsigned>(s.pen), s.pen);
            c.setBrush(colour + 0x010101u);
            if (s.points.size() == 2) {
                c.moveTo(s.points[0]);
                c.lineTo(s.points[1]);
            } else {
                c.polygon(s.points);
            }
        }
    };
    ImageCanvas reused(size);
    for (const unsigned colour : {0x102030u, 0x405060u, 0x708090u, 0xA0B0C0u}) {
        draw(reused, colour);
        ImageCanvas fresh(size);
        draw(fresh, colour);
        ASSERT_EQ(reused.image(), fresh.image()) << std::hex << colour;
    }
}
