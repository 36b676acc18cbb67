// The dialog model without a display: templates, controls and the modal loop
// driven by posted messages.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/test_seams.h"
#include "platform/win32/dialog_resources.h"
#include "platform/win32/dialog_units.h"

namespace {

constexpr WORD testDialog = 500;
constexpr int sortedList = 10, plainList = 11, checkBox = 12, label = 13;
constexpr DWORD child = WS_CHILD | WS_VISIBLE;

struct Received {
    UINT message;
    WPARAM wParam;
};
std::vector<Received> dialogMessages;
std::function<void(HWND)> onInit;

INT_PTR CALLBACK recordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE)
        dialogMessages.push_back({message, wParam});
    if (message == WM_INITDIALOG && onInit) onInit(dialog);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, 42);
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
    return message == WM_COMMAND ? TRUE : FALSE;
}

class DialogModel : public testing::Test {
protected:
    void SetUp() override {
        platform::setHeadlessDialogs(true);
        platform::replaceDialogResource(
            {testDialog, WS_POPUP | WS_CAPTION, "Test", "MS Sans Serif", 8, 0, 0, 100, 80,
             {{"COMBOBOX", "", sortedList, child | CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, 1, 1, 50, 40},
              {"COMBOBOX", "", plainList, child | CBS_DROPDOWNLIST, 1, 20, 50, 40},
              {"BUTTON", "Check", checkBox, child | BS_AUTOCHECKBOX, 1, 40, 50, 10},
              {"STATIC", "Label", label, child | SS_LEFT, 1, 60, 50, 8},
              {"BUTTON", "Cancel", IDCANCEL, child | BS_PUSHBUTTON, 60, 60, 30, 14}}});
        dialogMessages.clear();
        onInit = nullptr;
    }
    void TearDown() override {
        platform::setDialogHook({});
        platform::restoreDialogResources();
        MSG message{};
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        }
    }

    INT_PTR run(std::function<void(HWND)> user, WORD resource = testDialog) {
        platform::setDialogHook([user](HWND dialog, WORD) { user(dialog); });
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(resource), nullptr, recordingProc, 7);
    }
};

std::vector<std::string> texts(HWND dialog, int id) {
    std::vector<std::string> all;
    for (LRESULT i = 0; i < SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0); ++i) {
        char text[64] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        all.emplace_back(text);
    }
    return all;
}

LRESULT add(HWND dialog, int id, const char* text) {
    return SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

TEST_F(DialogModel, SortedListInsertsIgnoringCaseAndKeepsItsSelectionAndData) {
    run([](HWND dialog) {
        const std::vector<std::pair<const char*, LRESULT>> additions = {
            {"delta", 0}, {"Bravo", 0}, {"charlie", 1}, {"alpha", 0}, {"Delta", 4}, {"echo", 5}};
        for (auto [text, index] : additions) EXPECT_EQ(add(dialog, sortedList, text), index) << text;
        EXPECT_EQ(texts(dialog, sortedList),
                  (std::vector<std::string>{"alpha", "Bravo", "charlie", "delta", "Delta", "echo"}));
        for (size_t i = 0; i < additions.size(); ++i)
            EXPECT_EQ(add(dialog, plainList, additions[i].first), static_cast<LRESULT>(i));

        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_SETCURSEL, 2, 0), 2);
        add(dialog, sortedList, "aardvark");  // before the selection: it follows its entry
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETCURSEL, 0, 0), 3);
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_SETITEMDATA, 3, 0x5151), TRUE);
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETITEMDATA, 3, 0), 0x5151);
        for (WPARAM outside : {WPARAM(7), WPARAM(-1)}) {
            EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_SETITEMDATA, outside, 1), CB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETITEMDATA, outside, 0), CB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETLBTEXTLEN, outside, 0), CB_ERR);
        }
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_SETCURSEL, 7, 0), CB_ERR);
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_RESETCONTENT, 0, 0), CB_OKAY);
        EXPECT_EQ(SendDlgItemMessageA(dialog, sortedList, CB_GETCOUNT, 0, 0), 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(DialogModel, MessagesToAnIdNoControlBearsReachNoWindow) {
    run([](HWND dialog) {
        EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 999, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x")), 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 999, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(SetDlgItemTextA(dialog, 999, "x"), FALSE);
        EXPECT_EQ(CheckDlgButton(dialog, 999, BST_CHECKED), FALSE);
        EXPECT_EQ(IsDlgButtonChecked(dialog, 999), 0u);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(DialogModel, CheckBoxesAndTexts) {
    run([](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, checkBox), BST_UNCHECKED);
        EXPECT_EQ(CheckDlgButton(dialog, checkBox, BST_CHECKED), TRUE);
        EXPECT_EQ(IsDlgButtonChecked(dialog, checkBox), BST_CHECKED);
        CheckDlgButton(dialog, IDCANCEL, BST_CHECKED);  // a push button has no check
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDCANCEL), BST_UNCHECKED);
        char text[4] = "###";
        EXPECT_EQ(SendDlgItemMessageA(dialog, label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 3);
        EXPECT_STREQ(text, "Lab");
        EXPECT_EQ(SetDlgItemTextA(dialog, label, "New"), TRUE);
        SendDlgItemMessageA(dialog, label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, "New");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(DialogModel, HowTheModalLoopEnds) {
    const struct {
        const char* name;
        std::function<void(HWND)> user;
        INT_PTR result;
        std::vector<UINT> messages;  // what the dialog procedure saw
    } cases[] = {
        {"EndDialog", [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }, 42, {WM_INITDIALOG, WM_COMMAND}},
        {"Escape is Cancel", [](HWND d) { PostMessageA(GetDlgItem(d, plainList), WM_KEYDOWN, VK_ESCAPE, 0); }, 0,
         {WM_INITDIALOG, WM_COMMAND}},
        {"closing is Cancel", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, 0,
         {WM_INITDIALOG, WM_CLOSE, WM_COMMAND}},
        {"nothing can arrive", [](HWND) {}, -1, {WM_INITDIALOG}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        dialogMessages.clear();
        HWND shown = nullptr;
        EXPECT_EQ(run([&](HWND dialog) {
                      shown = dialog;
                      example.user(dialog);
                  }),
                  example.result);
        EXPECT_FALSE(IsWindow(shown));
        std::vector<UINT> messages;
        for (const Received& message : dialogMessages) messages.push_back(message.message);
        EXPECT_EQ(messages, example.messages);
        if (messages.back() == WM_COMMAND && example.result == 0) {
            EXPECT_EQ(LOWORD(dialogMessages.back().wParam), IDCANCEL);
        }
    }
}

TEST_F(DialogModel, QuitEndsTheLoopAndStaysForTheCallersLoop) {
    EXPECT_EQ(run([](HWND) { PostQuitMessage(5); }), 0);
    MSG message{};
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 5u);
}

TEST_F(DialogModel, InitialisationIsGivenTheFirstTabStop) {
    HWND focus = reinterpret_cast<HWND>(1);
    onInit = [&](HWND dialog) { focus = GetDlgItem(dialog, sortedList); };
    run([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
    ASSERT_FALSE(dialogMessages.empty());
    EXPECT_EQ(dialogMessages[0].wParam, reinterpret_cast<WPARAM>(focus));
}

TEST_F(DialogModel, MissingTemplatesAndProceduresFail) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(4321), nullptr, recordingProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, "named", nullptr, recordingProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(testDialog), nullptr, nullptr, 0), -1);
    EXPECT_EQ(EndDialog(nullptr, 1), FALSE);
    EXPECT_TRUE(dialogMessages.empty());
}

// Windows' own figures: MS Sans Serif 8 at 96 dpi measures 6 x 13 base units.
TEST(DialogUnits, ConvertLikeWindows) {
    const struct {
        int lettersWidth, height;
        int baseWidth, baseHeight;
        int dluX, pixelsX, dluY, pixelsY;
    } cases[] = {
        {299, 13, 6, 13, 207, 311, 143, 232},  // 299 / 26 = 11, (11 + 1) / 2 = 6
        {312, 13, 6, 13, 37, 56, 14, 23},      // 37 * 6 / 4 = 55.5 rounds up; 14 * 13 / 8 = 22.75
        {364, 16, 7, 16, 207, 362, 143, 286},  // 364 / 26 = 14, (14 + 1) / 2 = 7
        {340, 15, 7, 15, 0, 0, 1, 2},          // 340 / 26 = 13, (13 + 1) / 2 = 7; 15 / 8 = 1.875
    };
    for (const auto& example : cases) {
        platform::DialogUnits units = platform::baseUnits(example.lettersWidth, example.height);
        EXPECT_EQ(units.baseWidth, example.baseWidth);
        EXPECT_EQ(units.baseHeight, example.baseHeight);
        EXPECT_EQ(units.x(example.dluX), example.pixelsX);
        EXPECT_EQ(units.y(example.dluY), example.pixelsY);
    }
}

TEST(OpenFileName, TheChosenPathIsWrittenBackWithItsOffsets) {
    const struct {
        std::optional<std::string> chosen;
        DWORD bufferSize;
        BOOL result;
        const char* file;
        WORD offset, extension;
        const char* title;
    } cases[] = {
        {"/data/scenes/tores.kvs", 64, TRUE, "/data/scenes/tores.kvs", 13, 19, "tores.kvs"},
        {"/data.d/noext", 64, TRUE, "/data.d/noext", 8, 0, "noext"},
        {"/data/tores.kvs", 15, FALSE, "*.kvs", 0, 0, "#"},  // no room for the terminator
        {std::nullopt, 64, FALSE, "*.kvs", 0, 0, "#"},
    };
    for (const auto& example : cases) {
        platform::setOpenFileHook([&](const OPENFILENAMEA&) { return example.chosen; });
        char file[64] = "*.kvs", title[64] = "#";
        OPENFILENAMEA request{};
        request.lStructSize = sizeof request;
        request.lpstrFile = file;
        request.nMaxFile = example.bufferSize;
        request.lpstrFileTitle = title;
        request.nMaxFileTitle = sizeof title;
        EXPECT_EQ(GetOpenFileNameA(&request), example.result);
        EXPECT_STREQ(file, example.file);
        EXPECT_EQ(request.nFileOffset, example.offset);
        EXPECT_EQ(request.nFileExtension, example.extension);
        EXPECT_STREQ(title, example.title);
    }
    platform::setOpenFileHook({});
    OPENFILENAMEA wrongSize{};
    EXPECT_EQ(GetOpenFileNameA(&wrongSize), FALSE);
}

}  // namespace
