// With -municode the C runtime enters at wmain, so GoogleTest's own main is never linked in:
// the test programs of the cross tree start here instead.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
