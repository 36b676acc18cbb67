#include "base/description_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace {

std::uint32_t bits(HRESULT code) { return static_cast<std::uint32_t>(code); }

TEST(DescriptionTable, HasOneRowPerDistinctFailureCode) {
    // A short initializer list would leave zero-filled rows behind, which
    // shows up here as a duplicate S_OK code and a null text.
    std::set<HRESULT> seen;
    for (const DescriptionRow& row : DescriptionTable) {
        EXPECT_LT(row.code, 0) << "not a failure code: 0x" << std::hex << bits(row.code);
        EXPECT_NE(row.text, nullptr) << "0x" << std::hex << bits(row.code);
        seen.insert(row.code);
    }
    EXPECT_EQ(DescriptionTable.size(), 117u);
    EXPECT_EQ(seen.size(), 117u);
}

TEST(DescriptionTable, TextsAreFramedForMessageAssembly) {
    for (const DescriptionRow& row : DescriptionTable) {
        ASSERT_NE(row.text, nullptr);
        const std::string text = row.text;
        SCOPED_TRACE(text);
        ASSERT_GE(text.size(), 5u);
        EXPECT_EQ(text.substr(0, 2), ": ");
        EXPECT_EQ(text.substr(text.size() - 2), ". ");
        EXPECT_NE(text[2], ' ');
        EXPECT_EQ(text.find("  "), std::string::npos);
        for (const char c : text) {
            // Narrow output paths would mangle anything outside printable ASCII.
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "byte 0x" << std::hex << (c & 0xff);
        }
    }
}

TEST(DescriptionTable, KnownTextsMatchExactly) {
    struct Case {
        HRESULT code;
        const char* text;
    };
    const Case cases[] = {
        {DDERR_INVALIDMODE, ": DirectDraw does not support the requested mode. "},
        {DDERR_OUTOFVIDEOMEMORY, ": DirectDraw does not have enough display memory to perform the operation. "},
        {DDERR_INVALIDPARAMS, ": One or more of the parameters passed to the method are incorrect. "},
        {DDERR_GENERIC, ": There is an undefined error condition. "},
    };
    for (const Case& c : cases) {
        const char* text = findDescription(c.code);
        ASSERT_NE(text, nullptr) << "0x" << std::hex << bits(c.code);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(DescriptionTable, ResultCodesHaveTheirWindowsValues) {
    // Values read off the Windows headers; the table and any code compared
    // against a real driver's result depend on them being bit-exact.
    struct Case {
        const char* name;
        HRESULT code;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"S_OK", S_OK, 0x00000000u},
        {"DD_OK", DD_OK, 0x00000000u},
        {"DDERR_UNSUPPORTED", DDERR_UNSUPPORTED, 0x80004001u},
        {"DDERR_GENERIC", DDERR_GENERIC, 0x80004005u},
        {"DDERR_OUTOFMEMORY", DDERR_OUTOFMEMORY, 0x8007000Eu},
        {"DDERR_INVALIDPARAMS", DDERR_INVALIDPARAMS, 0x80070057u},
        {"DDERR_NOTINITIALIZED", DDERR_NOTINITIALIZED, 0x800401F0u},
        {"DDERR_ALREADYINITIALIZED", DDERR_ALREADYINITIALIZED, 0x88760005u},
        {"DDERR_INVALIDMODE", DDERR_INVALIDMODE, 0x88760078u},
        {"DDERR_NOSTEREOHARDWARE", DDERR_NOSTEREOHARDWARE, 0x887600B5u},
        {"DDERR_NOEXCLUSIVEMODE", DDERR_NOEXCLUSIVEMODE, 0x887600E1u},
        {"DDERR_OUTOFVIDEOMEMORY", DDERR_OUTOFVIDEOMEMORY, 0x8876017Cu},
        {"DDERR_SURFACELOST", DDERR_SURFACELOST, 0x887601C2u},
        {"DDERR_WASSTILLDRAWING", DDERR_WASSTILLDRAWING, 0x8876021Cu},
        {"DDERR_XALIGN", DDERR_XALIGN, 0x88760230u},
        {"DDERR_NOTONMIPMAPSUBLEVEL", DDERR_NOTONMIPMAPSUBLEVEL, 0x8876025Bu},
        {"DDERR_D3DNOTINITIALIZED", DDERR_D3DNOTINITIALIZED, 0x887602B6u},
        {"DDERR_DEVICEDOESNTOWNSURFACE", DDERR_DEVICEDOESNTOWNSURFACE, 0x887602BBu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bits(c.code), c.expected) << c.name;
    }
}

TEST(DescriptionTable, LookupFindsEveryRowAndNothingElse) {
    for (const DescriptionRow& row : DescriptionTable) {
        EXPECT_EQ(findDescription(row.code), row.text) << "0x" << std::hex << bits(row.code);
    }

    const HRESULT absent[] = {DDERR_NOTONMIPMAPSUBLEVEL, DDERR_D3DNOTINITIALIZED, S_OK};
    for (const HRESULT code : absent) {
        EXPECT_EQ(findDescription(code), nullptr) << "0x" << std::hex << bits(code);
    }
}

}  // namespace
