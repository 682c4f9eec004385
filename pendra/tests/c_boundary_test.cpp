// No exception crosses the link layer's C interface: with every allocation
// failing, each call returns its failure value instead of throwing.
#include <gtest/gtest.h>

#include <string>

#include "failing_allocator.hpp"
#include "pendra.h"

namespace {

TEST(CBoundary, CallsReturnTheirFailureValueWhenMemoryRunsOut) {
    const PendraHandle link = Pendra_Create();
    ASSERT_NE(link, 0u);
    // Longer than any small-string buffer, so the request must allocate.
    char request[128] = "a request text long enough to need memory of its own";
    auto length = static_cast<uint8_t>(std::char_traits<char>::length(request));
    const int before = failing_allocator::refusals();
    PendraHandle created = 1;
    int16_t sent = -1, setUp = -1;
    {
        failing_allocator::Armed armed;
        created = Pendra_Create();
        sent = Pendra_DBG(link, 'A', request, &length);
        setUp = Pendra_SetupEx(link, 1, '9', '1', 'N');
    }
    EXPECT_GT(failing_allocator::refusals(), before);
    EXPECT_EQ(created, 0u);
    EXPECT_EQ(sent, PENDRA_LINE_FAILURE);
    EXPECT_EQ(setUp, 0);
    Pendra_Destroy(link);
}

}  // namespace
