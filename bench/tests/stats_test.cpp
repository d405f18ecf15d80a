#include <gtest/gtest.h>

#include "stats.h"
#include "table.h"

namespace bench {
namespace {

TEST(Summary, MedianAndQuartilesInterpolateBetweenSamples) {
    const Summary even = summarize({4, 1, 3, 2});
    EXPECT_EQ(even.count, 4u);
    EXPECT_DOUBLE_EQ(even.median, 2.5);
    EXPECT_DOUBLE_EQ(even.q1, 1.75);
    EXPECT_DOUBLE_EQ(even.q3, 3.25);
    EXPECT_DOUBLE_EQ(even.min, 1);
    EXPECT_DOUBLE_EQ(even.max, 4);

    const Summary odd = summarize({9, 1, 5});
    EXPECT_DOUBLE_EQ(odd.median, 5);
    EXPECT_DOUBLE_EQ(odd.q1, 3);
    EXPECT_DOUBLE_EQ(odd.q3, 7);

    const Summary one = summarize({7});
    EXPECT_DOUBLE_EQ(one.median, 7);
    EXPECT_DOUBLE_EQ(one.iqr(), 0);

    const Summary none = summarize({});
    EXPECT_EQ(none.count, 0u);
    EXPECT_DOUBLE_EQ(none.median, 0);
}

TEST(Summary, SpreadIsTooWideOnlyWhenTheRangeExceedsTheMedian) {
    EXPECT_FALSE(spreadWiderThanMedian(summarize({10, 12, 20})));  // range 10 < median 12
    EXPECT_FALSE(spreadWiderThanMedian(summarize({5, 10, 15})));   // range 10 = median 10
    EXPECT_TRUE(spreadWiderThanMedian(summarize({1, 10, 30})));    // one outlier is enough
    EXPECT_FALSE(spreadWiderThanMedian(summarize({0})));           // one sample has no spread
    EXPECT_TRUE(spreadWiderThanMedian(summarize({0, 0, 1})));      // a median of 0 with any spread
}

TEST(SamplesFile, KeepsEveryValueOfAKeyInOrderAndSkipsWhatIsNotANumber) {
    EXPECT_EQ(numbers("12.5,fast,9,,12.5"), (std::vector<double>{12.5, 9, 12.5}));
    EXPECT_TRUE(numbers("").empty());
    EXPECT_TRUE(numbers("12abc").empty());
}

}  // namespace
}  // namespace bench
