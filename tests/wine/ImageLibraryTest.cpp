// SVShared.dll as both programs load it.
#include "ProgramHarness.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using LoadImageFunction = const unsigned char* (*)(uint32_t, int32_t*, int32_t*);

TEST(ImageLibrary, HandsOutTheFiveImages) {
    HMODULE library = LoadLibraryA((DistFolder() + "\\SVShared.dll").c_str());
    ASSERT_NE(library, nullptr);
    auto load = reinterpret_cast<LoadImageFunction>(GetProcAddress(library, "svLoadImage"));
    ASSERT_NE(load, nullptr) << "exported undecorated";
    struct Size { uint32_t image; int32_t width, height; };
    for (const Size& s : {Size{0, 1024, 512}, Size{1, 1024, 512}, Size{2, 1024, 512},
                          Size{3, 64, 64}, Size{4, 32, 32}}) {
        int32_t width = -1, height = -1;
        const unsigned char* pixels = load(s.image, &width, &height);
        ASSERT_NE(pixels, nullptr) << s.image;
        EXPECT_EQ(width, s.width) << s.image;
        EXPECT_EQ(height, s.height) << s.image;
        unsigned sum = 0;
        for (int32_t i = 0; i < width * height * 3; ++i) sum += pixels[i];  // all readable
        EXPECT_GT(sum, 0u) << s.image;
        EXPECT_EQ(load(s.image, &width, &height), pixels) << "the same pointer again";
        EXPECT_EQ(load(s.image, nullptr, nullptr), pixels) << "the sizes need not be asked for";
    }
    int32_t width = 7, height = 9;
    EXPECT_EQ(load(5, &width, &height), nullptr);
    EXPECT_EQ(load(0xFFFFFFFF, &width, &height), nullptr);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 9);
    // The day image: the first row is the south (Antarctica's ice), the middle has ocean.
    int32_t w, h;
    const unsigned char* day = load(0, &w, &h);
    const unsigned char* south = day + (size_t(w) * 5 + w / 2) * 3;
    EXPECT_GT(south[0] + south[1] + south[2], 600) << "ice at the bottom";
    const unsigned char* pacific = day + (size_t(w) * (h / 2) + w / 20) * 3;  // 162 W, equator
    EXPECT_GT(pacific[0], pacific[2]) << "blue ocean at longitude -162";
    FreeLibrary(library);
}

}  // namespace
