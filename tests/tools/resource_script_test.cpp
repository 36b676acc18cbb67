// The resource-script reader: the subset the program's script uses, with the
// styles the resource compiler gives each statement, and errors that name the line.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/win32/dialog_resources.h"
#include "tools/rc/resource_script.h"

namespace {

using resource_script::ScriptError;

std::vector<platform::DialogResource> parseText(const std::string& text,
                                                std::map<std::string, std::string> files = {}) {
    return resource_script::parse(text, "test.rc", [files](const std::filesystem::path& name) {
        auto found = files.find(name.string());
        if (found == files.end()) throw ScriptError("test.rc: cannot read " + name.string());
        return found->second;
    });
}

std::string errorOf(const std::string& text) {
    try {
        parseText(text);
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ResourceScript, ReadsDialogsWithIdsFromAnIncludedHeader) {
    const std::string header = "#pragma once\n#define IDD_MAIN 101\n#define IDC_LIST 1005 // the list\n"
                               "#define IDC_BOTH IDC_LIST\n#define IDC_STATIC (-1)\n";
    const std::string script = R"(#include <windows.h>
#include "ids.h"
/* two dialogs,
   the second one bare */
IDD_MAIN DIALOG DISCARDABLE  0, 0, 207, 143
STYLE DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION
CAPTION "Say ""hello"""
FONT 8, "MS Sans Serif"
BEGIN
    GROUPBOX        "Group",IDC_STATIC,10,9,189,51
    COMBOBOX        IDC_BOTH,24,30,163,49,CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP
    PUSHBUTTON      "Go",3,86,70,37,14
    DEFPUSHBUTTON   "OK",IDOK,86,91,37,14
    AUTOCHECKBOX    "Wait ",0x3F8,9,32,91,10
    LTEXT           "C:\dir",IDC_STATIC,45,117,116,8
    CTEXT           "mid",-1,1,2,3,4,(WS_DISABLED | 0)
END
102 DIALOGEX 5, 6, 7, 8
BEGIN
END
)";
    auto dialogs = parseText(script, {{"ids.h", header}});
    ASSERT_EQ(dialogs.size(), 2u);
    const platform::DialogResource& main = dialogs[0];
    EXPECT_EQ(main.id, 101);
    EXPECT_EQ(main.caption, "Say \"hello\"");
    EXPECT_EQ(main.fontName, "MS Sans Serif");
    EXPECT_EQ(main.fontSize, 8);
    EXPECT_EQ(main.style, 0x80C008C0u);  // DS_SETFONT added for the FONT line
    EXPECT_EQ(std::vector<short>({main.x, main.y, main.width, main.height}), std::vector<short>({0, 0, 207, 143}));
    struct Expected {
        const char* className;
        const char* text;
        int id;
        DWORD style;
    };
    // WS_CHILD | WS_VISIBLE is 0x50000000; each statement adds its own defaults.
    const Expected items[] = {
        {"BUTTON", "Group", -1, 0x50000007},   {"COMBOBOX", "", 1005, 0x50210103}, {"BUTTON", "Go", 3, 0x50010000},
        {"BUTTON", "OK", 1, 0x50010001},       {"BUTTON", "Wait ", 1016, 0x50010003},
        {"STATIC", "C:\\dir", -1, 0x50020000}, {"STATIC", "mid", -1, 0x58020001},
    };
    ASSERT_EQ(main.items.size(), std::size(items));
    for (size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(items[i].text);
        EXPECT_EQ(main.items[i].className, items[i].className);
        EXPECT_EQ(main.items[i].text, items[i].text);
        EXPECT_EQ(main.items[i].id, items[i].id);
        EXPECT_EQ(main.items[i].style, items[i].style);
    }
    EXPECT_EQ(std::vector<short>({main.items[1].x, main.items[1].y, main.items[1].width, main.items[1].height}),
              std::vector<short>({24, 30, 163, 49}));
    EXPECT_EQ(dialogs[1].id, 102);
    EXPECT_EQ(dialogs[1].style, 0x80880000u);  // WS_POPUP | WS_BORDER | WS_SYSMENU when no STYLE is given
    EXPECT_TRUE(dialogs[1].items.empty());
}

TEST(ResourceScript, ErrorsNameTheFileAndLine) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"1 DIALOG 0,0,1,1\nBEGIN\n  PUSHBUTTON \"a\",UNKNOWN_ID,1,2,3,4\nEND\n", "test.rc:3: unknown name UNKNOWN_ID"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  LISTBOX 5,1,2,3,4\nEND\n", "test.rc:3: unknown control LISTBOX"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  PUSHBUTTON \"a\" 5,1,2,3,4\nEND\n", "test.rc:3: expected ',', found 5"},
        {"1 DIALOG 0,0,1,1\nCAPTION \"open\nBEGIN\nEND\n", "test.rc:2: text not closed on its line"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n", "test.rc: end of file: the script ends inside a dialog"},
        {"1 MENU 0,0,1,1\n", "test.rc:1: expected DIALOG or DIALOGEX"},
        {"#ifdef X\n", "test.rc:1: unsupported preprocessor line #ifdef"},
        {"#define A A\n1 DIALOG 0,0,A,1\nBEGIN\nEND\n", "test.rc:2: #define of A refers to itself"},
        {"#define A\n1 DIALOG 0,0,A,1\nBEGIN\nEND\n", "test.rc:2: #define of A has no value"},
        {"1 DIALOG 0,0,1,1\nBEGIN\nEND\n1 DIALOG 0,0,1,1\nBEGIN\nEND\n", "test.rc:4: dialog 1 is defined twice"},
        {"1 DIALOG 0,0,40000,1\nBEGIN\nEND\n", "test.rc:1: 40000 is out of range for a position or size"},
        {"1 DIALOG 0,0,1,1\nSTYLE 0x\nBEGIN\nEND\n", "test.rc:2: malformed number 0x"},
        {"1 DIALOG 0,0,1,1 $\n", "test.rc:1: unexpected character '$'"},
        {"1 DIALOG 0,0,(1,1\n", "test.rc:1: expected ')', found ,"},
        {"#include \"missing.h\"\n", "test.rc: cannot read missing.h"},
        {"/* never closed\n", "test.rc: comment not closed at the end of the file"},
    };
    for (const auto& example : cases) EXPECT_EQ(errorOf(example.script), example.error) << example.script;
}

// The resource compiler of the Windows build, given the program's script and
// asked to write it back with every style as a number, must describe the very
// dialogs the build made from that script.
// Literals only: GCC 12 takes the strings it would join for an overrun.
#define WINDRES "x86_64-w64-mingw32-windres"
TEST(ResourceScript, ProgramDialogsAgreeWithTheWindowsResourceCompiler) {
    if (std::system("command -v " WINDRES " >/dev/null 2>&1") != 0) GTEST_SKIP() << WINDRES " is not installed";
    const char* command = WINDRES " -i '" KVOR_RESOURCE_SCRIPT "' -O rc";
    FILE* pipe = popen(command, "r");
    ASSERT_NE(pipe, nullptr);
    std::string decompiled;
    char buffer[512];
    while (size_t count = fread(buffer, 1, sizeof buffer, pipe)) decompiled.append(buffer, count);
    ASSERT_EQ(pclose(pipe), 0) << decompiled;

    auto reference = parseText(decompiled);
    ASSERT_EQ(reference.size(), platform::dialogResources().size());
    for (const platform::DialogResource& expected : reference) {
        const platform::DialogResource* built = platform::findDialogResource(expected.id);
        ASSERT_NE(built, nullptr) << expected.id;
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(built->style, expected.style);
        EXPECT_EQ(built->caption, expected.caption);
        EXPECT_EQ(built->fontName, expected.fontName);
        EXPECT_EQ(built->fontSize, expected.fontSize);
        EXPECT_EQ(std::vector<short>({built->x, built->y, built->width, built->height}),
                  std::vector<short>({expected.x, expected.y, expected.width, expected.height}));
        ASSERT_EQ(built->items.size(), expected.items.size());
        for (size_t i = 0; i < expected.items.size(); ++i) {
            const platform::DialogItemResource &item = built->items[i], &wanted = expected.items[i];
            SCOPED_TRACE(wanted.text);
            EXPECT_EQ(item.className, wanted.className);
            EXPECT_EQ(item.text, wanted.text);
            EXPECT_EQ(item.id, wanted.id);
            EXPECT_EQ(item.style, wanted.style);
            EXPECT_EQ(std::vector<short>({item.x, item.y, item.width, item.height}),
                      std::vector<short>({wanted.x, wanted.y, wanted.width, wanted.height}));
        }
    }
}

}  // namespace
