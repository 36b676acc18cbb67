#include "base/description_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t bits(HRESULT code) { return static_cast<std::uint32_t>(code); }

// Values read off the Windows headers; the table and any code compared
// against a real driver's result depend on them being bit-exact. The Windows
// build checks the system's own headers against the same values.
static_assert(bits(S_OK) == 0x00000000u);
static_assert(bits(DD_OK) == 0x00000000u);
static_assert(bits(DDERR_UNSUPPORTED) == 0x80004001u);
static_assert(bits(DDERR_GENERIC) == 0x80004005u);
static_assert(bits(DDERR_OUTOFMEMORY) == 0x8007000Eu);
static_assert(bits(DDERR_INVALIDPARAMS) == 0x80070057u);
static_assert(bits(DDERR_NOTINITIALIZED) == 0x800401F0u);
static_assert(bits(DDERR_ALREADYINITIALIZED) == 0x88760005u);
static_assert(bits(DDERR_INVALIDMODE) == 0x88760078u);
static_assert(bits(DDERR_NOSTEREOHARDWARE) == 0x887600B5u);
static_assert(bits(DDERR_NOEXCLUSIVEMODE) == 0x887600E1u);
static_assert(bits(DDERR_OUTOFVIDEOMEMORY) == 0x8876017Cu);
static_assert(bits(DDERR_SURFACELOST) == 0x887601C2u);
static_assert(bits(DDERR_WASSTILLDRAWING) == 0x8876021Cu);
static_assert(bits(DDERR_XALIGN) == 0x88760230u);
static_assert(bits(DDERR_NOTONMIPMAPSUBLEVEL) == 0x8876025Bu);
static_assert(bits(DDERR_D3DNOTINITIALIZED) == 0x887602B6u);
static_assert(bits(DDERR_DEVICEDOESNTOWNSURFACE) == 0x887602BBu);

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

TEST(DescriptionTable, CodesOutsideTheListHaveNoRow) {
    const HRESULT absent[] = {DDERR_NOTONMIPMAPSUBLEVEL, DDERR_D3DNOTINITIALIZED, S_OK};
    for (const HRESULT code : absent) {
        EXPECT_EQ(findDescription(code), nullptr) << "0x" << std::hex << bits(code);
    }
}

}  // namespace
