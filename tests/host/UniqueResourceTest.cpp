#include "platform/UniqueResource.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Resources are small numbers (0 is none); each free is written down, with the pool it goes
// back to (stateful traits travel with the value).
std::vector<std::pair<int, int>> freed;

struct FakeTraits {
    using Value = int;
    int pool = 0;
    static int empty() { return 0; }
    void free(int value) const { freed.push_back({pool, value}); }
};
using Fake = UniqueResource<FakeTraits>;

class UniqueResourceTest : public ::testing::Test {
protected:
    void SetUp() override { freed.clear(); }
};

TEST_F(UniqueResourceTest, FreesOnceWhenItGoesAndNeverWhenEmpty) {
    {
        Fake held(7, {1});
        Fake none;
        EXPECT_TRUE(held);
        EXPECT_FALSE(none);
        EXPECT_EQ(held.get(), 7);
    }
    EXPECT_EQ(freed, (std::vector<std::pair<int, int>>{{1, 7}}));
}

TEST_F(UniqueResourceTest, MoveHandsOverAndLeavesTheSourceEmpty) {
    {
        Fake a(3, {1});
        Fake b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 3);
        Fake c(5, {2});
        c = std::move(b);  // 5 goes back to its own pool; 3 now belongs to c, with its pool
        EXPECT_EQ(freed, (std::vector<std::pair<int, int>>{{2, 5}}));
        EXPECT_FALSE(b);
        EXPECT_EQ(c.get(), 3);
        Fake& alias = c;
        c = std::move(alias);  // a self-move keeps the value
        EXPECT_EQ(c.get(), 3);
    }
    EXPECT_EQ(freed, (std::vector<std::pair<int, int>>{{2, 5}, {1, 3}}));
}

TEST_F(UniqueResourceTest, ReleaseGivesUpAndResetFreesTheOldOne) {
    Fake a(4);
    EXPECT_EQ(a.release(), 4);
    EXPECT_FALSE(a);
    a.reset(6);
    a.reset(6);  // the same value again is not freed
    EXPECT_TRUE(freed.empty());
    a.reset(8);
    a.reset();
    EXPECT_FALSE(a);
    EXPECT_EQ(freed, (std::vector<std::pair<int, int>>{{0, 6}, {0, 8}}));
}

}  // namespace
