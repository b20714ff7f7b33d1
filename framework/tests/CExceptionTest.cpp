#include "CException.h"

#include <gtest/gtest.h>

TEST(CExceptions, MemoryAndNotSupportedCarryMessages) {
    char buffer[64];
    try {
        AfxThrowMemoryException();
        FAIL() << "nothing was thrown";
    } catch (const CException& e) {
        EXPECT_TRUE(e.GetErrorMessage(buffer, sizeof buffer));
        EXPECT_STREQ(buffer, "Out of memory.");
        EXPECT_STREQ(e.GetRuntimeClassName(), "CMemoryException");
    }
    try {
        AfxThrowNotSupportedException();
        FAIL() << "nothing was thrown";
    } catch (const CException& e) {
        unsigned help = 99;
        EXPECT_TRUE(e.GetErrorMessage(buffer, 8, &help));
        EXPECT_STREQ(buffer, "An unsu");  // cut to the buffer, always terminated
        EXPECT_EQ(help, 0u);
    }
    CException plain;
    buffer[0] = 'x';
    EXPECT_FALSE(plain.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_EQ(buffer[0], 0);
}
