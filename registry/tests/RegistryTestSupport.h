#pragma once
// Direct access to the product key, so tests check the stored bytes and
// types themselves rather than through the code under test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

RawValue ReadRaw(const char* name);
void WriteRaw(const char* name, DWORD type, const void* data, DWORD size);
void DeleteProductKey();

// Every test starts from a product key that does not exist.
class ProductKeyTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteProductKey(); }
    void TearDown() override { DeleteProductKey(); }
};
