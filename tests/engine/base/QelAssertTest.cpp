#include "helper/QelAssert.h"
#include "helper/CRand.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(QelAssert, failure_throws_with_text_file_and_line)
{
    try {
        QEL_ASSERT(1 + 1 == 3, "bad ID for Simulation::GetSpaceObject()");
        FAIL() << "the assertion did not fire";
    } catch (const qel::AssertionFailure& failure) {
        EXPECT_EQ(failure.Text(), "bad ID for Simulation::GetSpaceObject()");
        EXPECT_NE(std::strstr(failure.File(), "QelAssertTest.cpp"), nullptr);
        EXPECT_EQ(failure.Line(), __LINE__ - 5);
        EXPECT_NE(std::strstr(failure.what(), "bad ID for Simulation::GetSpaceObject()"), nullptr);
    }
    EXPECT_NO_THROW(QEL_ASSERT(true, "never"));
}

TEST(CRand, follows_the_classic_sequence_and_reseeds)
{
    csrand(1);
    EXPECT_EQ(crand(), 41);
    EXPECT_EQ(crand(), 18467);
    EXPECT_EQ(crand(), 6334);
    csrand(1);
    EXPECT_EQ(crand(), 41);
    for (int i = 0; i < 10000; ++i) {
        const int value = crand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, CRAND_MAX);
    }
}

}  // namespace
