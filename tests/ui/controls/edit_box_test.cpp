#include "controls_testing.h"
#include "tests/support/timer_script.h"
#include "ui/controls/clipboard_text.h"
#include "ui/controls/edit_box.h"
#include "ui/draw/defaults.h"
#include "ui/host/popup_menu.h"

#include <gtest/gtest.h>
#include <imm.h>

#include <string>
#include <vector>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// --- the text buffer, without a window -----------------------------------------

TEST(EditTextBufferTest, CharactersAsTheUserSeesThemAreOneUnit) {
    struct Case {
        std::wstring line;
        std::vector<std::size_t> bounds;
    };
    const std::wstring smile = L"\U0001F600";                                  // surrogate pair
    const std::wstring family = L"\U0001F468\u200D\U0001F469\u200D\U0001F467"; // joined emoji
    const std::wstring flag = L"\U0001F1E8\U0001F1F3";  // two regional indicators
    const std::wstring thumb = L"\U0001F44D\U0001F3FD"; // skin tone
    const Case cases[] = {
        {L"a" + smile + L"b", {0, 1, 3, 4}},
        {L"e\u0301x", {0, 2, 3}},
        {family + L"!", {0, family.size(), family.size() + 1}},
        {flag + flag, {0, 4, 8}},
        {thumb, {0, 4}},
        {L"中文", {0, 1, 2}},
    };
    for (const Case& c : cases) {
        std::vector<std::size_t> forward{0};
        for (std::size_t pos = 0; pos < c.line.size();) {
            pos = NextCharacterEnd(c.line, pos);
            forward.push_back(pos);
        }
        EXPECT_EQ(forward, c.bounds);
        std::vector<std::size_t> backward{c.line.size()};
        for (std::size_t pos = c.line.size(); pos > 0;) {
            pos = PreviousCharacterStart(c.line, pos);
            backward.insert(backward.begin(), pos);
        }
        EXPECT_EQ(backward, c.bounds);
    }
}

TEST(EditTextBufferTest, InputTypesFilterWhatIsTypedOrPasted) {
    struct Case {
        std::wstring in;
        int type;
        bool multiLine;
        bool hasDot;
        std::wstring out;
    };
    const Case cases[] = {
        {L"12.5.3", kEditDecimal, false, false, L"12.53"},
        {L".7", kEditDecimal, false, true, L"7"},
        {L"a1b2-3", kEditDigits, false, false, L"123"},
        {L"one\r\ntwo", kEditNormal, false, false, L"one"},
        {L"one\ntwo\rthree", kEditNormal, true, false, L"one\r\ntwo\r\nthree"},
        {L"x\x01y\x7Fz\tq", kEditNormal, false, false, L"xyz\tq"},
        {L"äé中\U0001F600", kEditPassword, false, false, L"äé中\U0001F600"},
        {L"1\r\n2", kEditDigits, true, false, L"12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterInput(c.in, c.type, c.multiLine, c.hasDot), c.out) << c.type;
    }
}

TEST(EditTextBufferTest, LinesPositionsAndRanges) {
    EditTextBuffer single;
    single.SetText(L"first\r\nsecond");
    EXPECT_EQ(single.Text(), L"first");
    EXPECT_EQ(single.Insert({0, 5}, L"!\nmore"), (TextPosition{0, 6}));
    EXPECT_EQ(single.Text(), L"first!");

    EditTextBuffer multi;
    multi.MultiLine(true);
    multi.SetText(L"ab\ncd\r\nef");
    EXPECT_EQ(multi.Text(), L"ab\r\ncd\r\nef");
    EXPECT_EQ(multi.Length(), 10u);
    EXPECT_EQ(multi.Insert({1, 1}, L"X\r\nY"), (TextPosition{2, 1}));
    EXPECT_EQ(multi.Text(), L"ab\r\ncX\r\nYd\r\nef");
    EXPECT_EQ(multi.Range({3, 1}, {0, 1}), L"b\r\ncX\r\nYd\r\ne");
    multi.Erase({0, 1}, {3, 1});
    EXPECT_EQ(multi.Text(), L"af");
    multi.SetText(L"ab\r\ncd");
    for (std::size_t index = 0; index <= multi.Length(); ++index) {
        const TextPosition at = multi.PositionOf(index);
        // Inside the line break counts as the end of the line.
        EXPECT_EQ(multi.IndexOf(at), index == 3 ? 2u : index) << index;
    }
    EXPECT_EQ(multi.Valid({0, 9}), (TextPosition{0, 2}));
}

TEST(EditTextBufferTest, WordsAreAsciiLettersAndDigitsOnly) {
    EditTextBuffer buffer;
    buffer.SetText(L"中文abc12中 x-y");
    EXPECT_EQ(buffer.WordAt({0, 4}), std::make_pair(TextPosition{0, 2}, TextPosition{0, 7}));
    // On a Chinese character there is no word to select.
    EXPECT_EQ(buffer.WordAt({0, 1}), std::make_pair(TextPosition{0, 1}, TextPosition{0, 1}));
    // Control+Right takes letters of every script as one run, as Windows text
    // boxes do.
    EXPECT_EQ(buffer.NextWord({0, 2}), (TextPosition{0, 9}));
    EXPECT_EQ(buffer.PreviousWord({0, 12}), (TextPosition{0, 11}));
}

TEST(EditTextBufferTest, MenuEnablingFollowsTypeSelectionAndClipboard) {
    EXPECT_EQ(EditMenuStates(kEditNormal, true, true, false),
              (EditMenuState{true, true, true, true}));
    EXPECT_EQ(EditMenuStates(kEditNormal, false, false, true),
              (EditMenuState{false, false, false, false}));
    EXPECT_EQ(EditMenuStates(kEditReadOnly, true, true, false),
              (EditMenuState{false, true, false, true}));
    EXPECT_EQ(EditMenuStates(kEditDigits, false, true, false),
              (EditMenuState{false, false, true, true}));
}

TEST(EditLineLayoutTest, AnEditedLineMeasuresLikeAFreshOne) {
    TestWindow window;
    Gdiplus::GpGraphics* graphics = window.host().Buffer().graphics();
    TextFormat format(Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    EditLineLayout measure;
    std::wstring line;
    for (int i = 0; i < 12; ++i) {
        line += L"word" + std::to_wstring(i) + L" 中文 ";
    }
    LineLayout edited;
    measure.Measure(graphics, DefaultFont(), format.get(), line, {}, edited);
    ASSERT_GT(edited.Width(), 100.0f);
    struct Edit {
        std::size_t at;
        std::size_t erase;
        std::wstring insert;
    };
    const Edit edits[] = {{line.size(), 0, L"end"}, {70, 0, L"\u0301x"}, {5, 3, L""}};
    for (const Edit& edit : edits) {
        line.replace(edit.at, edit.erase, edit.insert);
        edited.Touch(static_cast<int>(edit.at));
        measure.Measure(graphics, DefaultFont(), format.get(), line, {}, edited);
        LineLayout fresh;
        measure.Measure(graphics, DefaultFont(), format.get(), line, {}, fresh);
        EXPECT_EQ(edited.bounds, fresh.bounds) << edit.at;
        EXPECT_EQ(edited.xs, fresh.xs) << edit.at;
        EXPECT_EQ(edited.origins, fresh.origins) << edit.at;
    }
}

TEST(EditLineLayoutTest, PlacesAgreeWithGdiPlusOwnLayout) {
    TestWindow window;
    Gdiplus::GpGraphics* graphics = window.host().Buffer().graphics();
    TextFormat format(Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                      Gdiplus::StringFormatFlagsNoClip);
    const std::wstring line = L"Wim 中文 lly, AV. 1.5";
    LineLayout layout;
    EditLineLayout().Measure(graphics, DefaultFont(), format.get(), line, {}, layout);
    std::vector<Gdiplus::CharacterRange> ranges;
    for (int i = 0; i < static_cast<int>(line.size()); ++i) {
        ranges.push_back({i, 1});
    }
    std::vector<UniqueRegion> owned(line.size());
    std::vector<Gdiplus::GpRegion*> regions;
    for (UniqueRegion& region : owned) {
        Gdiplus::GpRegion* made = nullptr;
        gdip::GdipCreateRegion(&made);
        region.reset(made);
        regions.push_back(made);
    }
    ASSERT_EQ(gdip::GdipSetStringFormatMeasurableCharacterRanges(
                  format.get(), static_cast<INT>(ranges.size()), ranges.data()),
              Gdiplus::Ok);
    ASSERT_EQ(gdip::GdipMeasureCharacterRanges(graphics, line.c_str(),
                                               static_cast<INT>(line.size()), DefaultFont(),
                                               Gdiplus::RectF(0, 0, 1000, 100), format.get(),
                                               static_cast<INT>(ranges.size()), regions.data()),
              Gdiplus::Ok);
    float origin = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        Gdiplus::RectF bounds;
        gdip::GdipGetRegionBounds(regions[i], graphics, &bounds);
        if (i == 0) {
            origin = bounds.X;
        }
        EXPECT_NEAR(layout.xs[i], bounds.X - origin, 1.0f) << i;
    }
}

// --- the box on a real window ----------------------------------------------------

class EditBoxTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.Create(window.hwnd(), 20, 20, 200, 24)); }

    void Focus(EditBox& target) { ASSERT_TRUE(window.host().SetFocusControl(&target, false)); }
    void Type(std::wstring_view text) {
        for (wchar_t c : text) {
            SendMessageW(window.hwnd(), WM_CHAR, c, 1);
        }
    }
    // A key with Control and/or Shift held, as the keyboard state says.
    void Key(WPARAM key, bool control = false, bool shift = false) {
        window.KeyDown(key, control, shift);
    }
    // Window coordinates of a box's first line at x within the text.
    POINT LinePoint(EditBox& target, float x) {
        return {static_cast<LONG>(target.X() + 2 + x),
                static_cast<LONG>(target.Y() + target.CaretRect().Y + 4)};
    }

    TestWindow window{400, 300};
    EditBox box;
};

TEST_F(EditBoxTest, TypingFollowsTheTypeRules) {
    Focus(box);
    Type(L"Grüße é ");
    Type(L"\x08\x1B\x7F"); // control characters are keys, not text
    EXPECT_EQ(box.Text(), L"Grüße é ");

    EditBox decimal;
    ASSERT_TRUE(decimal.Create(window.hwnd(), 20, 60, 200, 24, L"", {.inputType = kEditDecimal}));
    Focus(decimal);
    Type(L"3.1x4.1");
    EXPECT_EQ(decimal.Text(), L"3.141");

    EditBox readOnly;
    ASSERT_TRUE(
        readOnly.Create(window.hwnd(), 20, 100, 200, 24, L"fixed", {.inputType = kEditReadOnly}));
    Focus(readOnly);
    Key(VK_END);
    Type(L"x");
    Key(VK_BACK);
    Key('A', true);
    Key('X', true);
    EXPECT_EQ(readOnly.Text(), L"fixed");
    EXPECT_EQ(readOnly.SelectedText(), L"fixed");
}

TEST_F(EditBoxTest, TextStaysClearOfTheRightMargin) {
    // A path box with a ".." button over its right end: the caret after a
    // long path stops left of the button.
    EditBox path;
    ASSERT_TRUE(path.Create(window.hwnd(), 20, 60, 200, 24, L"", {.rightMargin = 22}));
    Focus(path);
    Type(L"C:\\Users\\someone\\Pictures\\holiday\\logo-final.png");
    const float limit = 200 - 2 - 22;
    EXPECT_LE(path.CaretRect().X, limit);
    EXPECT_GT(path.CaretRect().X, limit - 8);
}

TEST_F(EditBoxTest, AnEmojiStaysWholeThroughTypingSelectionAndBackspace) {
    Focus(box);
    Type(L"a\U0001F600b");
    EXPECT_EQ(box.Text(), L"a\U0001F600b");
    Key(VK_LEFT);
    Key(VK_LEFT, false, true);
    EXPECT_EQ(box.SelectedText(), L"\U0001F600");
    Key(VK_RIGHT);
    Key(VK_BACK);
    EXPECT_EQ(box.Text(), L"ab");
    // A lone half of a pair is never inserted.
    Type(L"\xDE00");
    EXPECT_EQ(box.Text(), L"ab");
}

TEST_F(EditBoxTest, ChangeHandlerRunsForProgramAndUserChanges) {
    std::vector<std::wstring> seen;
    box.OnChange([&](Control* parent, EditBox* changed) {
        EXPECT_EQ(parent, nullptr);
        seen.push_back(changed->Text());
    });
    box.Text(L"one\r\ntwo", true);
    EXPECT_EQ(box.Text(), L"one");
    EXPECT_EQ(box.Caret(), (TextPosition{0, 3}));
    Focus(box);
    Type(L"!");
    Key(VK_LEFT); // moving changes nothing
    Key(VK_BACK);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"one", L"one!", L"on!"}));
}

TEST_F(EditBoxTest, ClipboardBothWaysWithTheTypeRules) {
    box.Text(L"copy me");
    Focus(box);
    Key(VK_END);
    Key(VK_HOME, false, true);
    Key('C', true);
    EXPECT_EQ(ClipboardText(window.hwnd()), std::optional<std::wstring>(L"copy me"));

    ASSERT_TRUE(PutClipboardText(window.hwnd(), L"line one\r\nline two"));
    Key('V', true);
    EXPECT_EQ(box.Text(), L"line one");
    Key('Z', true); // no undo
    EXPECT_EQ(box.Text(), L"line one");

    EditBox digits;
    ASSERT_TRUE(digits.Create(window.hwnd(), 20, 60, 200, 24, L"", {.inputType = kEditDigits}));
    ASSERT_TRUE(PutClipboardText(window.hwnd(), L"tel 12-34.5"));
    Focus(digits);
    Key('V', true);
    EXPECT_EQ(digits.Text(), L"12345");

    EditBox decimal;
    ASSERT_TRUE(
        decimal.Create(window.hwnd(), 20, 100, 200, 24, L"1.5", {.inputType = kEditDecimal}));
    ASSERT_TRUE(PutClipboardText(window.hwnd(), L"2.25"));
    Focus(decimal);
    Key(VK_END);
    Key('V', true);
    EXPECT_EQ(decimal.Text(), L"1.5225");

    EXPECT_TRUE(decimal.MenuState().paste);
    if (OpenClipboard(window.hwnd())) {
        EmptyClipboard();
        CloseClipboard();
    }
    EXPECT_FALSE(decimal.MenuState().paste);
}

TEST_F(EditBoxTest, PasswordBoxHidesTextAndRefusesCopyDragAndInputMethod) {
    EditBox password;
    ASSERT_TRUE(password.Create(window.hwnd(), 20, 60, 200, 24, L"", {.inputType = kEditPassword}));
    window.Click(30, 70);
    ASSERT_EQ(window.host().FocusControl(), &password);
    EXPECT_EQ(ImmGetContext(window.hwnd()), nullptr);
    Type(L"s3cr\U0001F600t");
    EXPECT_EQ(password.Buffer().DisplayLine(0), L"******");
    ASSERT_TRUE(PutClipboardText(window.hwnd(), L"before"));
    Key('A', true);
    Key('C', true);
    Key('X', true);
    Key('V', true);
    EXPECT_FALSE(password.HasSelection());
    EXPECT_EQ(ClipboardText(window.hwnd()), std::optional<std::wstring>(L"before"));
    EXPECT_EQ(password.Text(), L"s3cr\U0001F600t");
    // Pressing and dragging across the text selects nothing.
    const POINT start = LinePoint(password, 1);
    window.LeftDown(start.x, start.y);
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 60, start.y));
    window.LeftUp(start.x + 60, start.y);
    EXPECT_FALSE(password.HasSelection());
    // Leaving the box gives the window its input context back.
    Focus(box);
    HIMC context = ImmGetContext(window.hwnd());
    EXPECT_NE(context, nullptr);
    ImmReleaseContext(window.hwnd(), context);
}

TEST_F(EditBoxTest, ContextMenuEnablesByStateAndRunsTheChosenCommand) {
    using Script = kodaro::test::TimerScript;
    const PopupMenu& menu = EditContextMenu();
    box.Text(L"some text");
    ASSERT_TRUE(PutClipboardText(window.hwnd(), L"clip"));
    std::vector<int> states;
    // Rows of 24 pixels from y = 8; the separator is 9 high.
    const LPARAM selectAllRow = MAKELPARAM(60, 8 + 3 * 24 + 9 + 12);
    Script script({[&] {
                       if (menu.Window() == nullptr) {
                           return false;
                       }
                       for (int index = 1; index <= menu.ItemCount(); ++index) {
                           states.push_back(menu.ItemState(index));
                       }
                       return true;
                   },
                   [&] {
                       SendMessageW(menu.Window(), WM_MOUSEMOVE, 0, selectAllRow);
                       SendMessageW(menu.Window(), WM_LBUTTONDOWN, MK_LBUTTON, selectAllRow);
                       SendMessageW(menu.Window(), WM_LBUTTONUP, 0, selectAllRow);
                       return true;
                   }});
    const LPARAM inBox = MAKELPARAM(60, 30);
    SendMessageW(window.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, inBox);
    SendMessageW(window.hwnd(), WM_RBUTTONUP, 0, inBox);
    EXPECT_TRUE(Script::Done());
    EXPECT_EQ(window.host().FocusControl(), &box);
    // Nothing selected: cut and copy disabled; text on the clipboard: paste.
    EXPECT_EQ(states, (std::vector<int>{kMenuItemDisabled, kMenuItemDisabled, kMenuItemEnabled,
                                        kMenuItemEnabled, kMenuItemEnabled}));
    EXPECT_EQ(box.SelectedText(), L"some text");

    // A password box opens no menu at all.
    EditBox password;
    ASSERT_TRUE(
        password.Create(window.hwnd(), 20, 60, 200, 24, L"x", {.inputType = kEditPassword}));
    bool opened = false;
    Script guard({[&] {
        if (menu.Window() == nullptr) {
            return false;
        }
        opened = true;
        SendMessageW(menu.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    }});
    SendMessageW(window.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 70));
    SendMessageW(window.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(60, 70));
    window.Pump();
    EXPECT_FALSE(opened);
}

TEST_F(EditBoxTest, DoubleClickSelectsAsciiWordsAndTripleClickOnlySoonAfter) {
    box.Text(L"abc中文def ghi");
    window.Click(30, 30);
    const POINT in = LinePoint(box, 2); // on "a"
    SendMessageW(window.hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(in.x, in.y));
    window.LeftUp(in.x, in.y);
    EXPECT_EQ(box.SelectedText(), L"abc");
    window.LeftDown(in.x, in.y);
    window.LeftUp(in.x, in.y);
    EXPECT_EQ(box.SelectedText(), L"abc中文def ghi");

    SendMessageW(window.hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(in.x, in.y));
    window.LeftUp(in.x, in.y);
    Sleep(600);
    window.LeftDown(in.x, in.y);
    window.LeftUp(in.x, in.y);
    EXPECT_FALSE(box.HasSelection());
}

TEST_F(EditBoxTest, WheelScrollsAMultiLineBoxOnlyWithinItsText) {
    EditBox multi;
    ASSERT_TRUE(multi.Create(window.hwnd(), 20, 60, 200, 100, L"",
                             {.multiLine = true, .scrollBars = kEditVerticalBar}));
    std::wstring text;
    for (int i = 0; i < 30; ++i) {
        text += L"line " + std::to_wstring(i) + L"\r\n";
    }
    multi.Text(text);
    Focus(multi);
    const float lines = 31;
    const float bottom = -(lines * multi.LineHeight() - 96);
    auto wheel = [&](int notches) {
        SendMessageW(window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), 0);
    };
    wheel(1);
    EXPECT_EQ(multi.ScrollY(), 0);
    wheel(-1);
    EXPECT_EQ(multi.ScrollY(), -3 * multi.LineHeight());
    wheel(-50);
    EXPECT_EQ(multi.ScrollY(), bottom);
    wheel(50);
    EXPECT_EQ(multi.ScrollY(), 0);
    // The bar follows the text, and the text follows the bar.
    ASSERT_TRUE(multi.VerticalBar().Created());
    EXPECT_FALSE(multi.HorizontalBar().Created());
    EXPECT_EQ(multi.VerticalBar().Position(), 0);
    const RectF bar = multi.VerticalBar().Rect();
    window.Click(static_cast<int>(bar.X + 5), static_cast<int>(bar.Y + bar.Height - 5));
    EXPECT_EQ(multi.ScrollY(), -multi.LineHeight());
    EXPECT_EQ(multi.Caret(), (TextPosition{0, 0}));
    Key(VK_END, true);
    EXPECT_EQ(multi.VerticalBar().Position(), static_cast<int>(-bottom));
    // A text that fits does not scroll at all.
    multi.Text(L"short");
    wheel(-1);
    EXPECT_EQ(multi.ScrollY(), 0);
}

TEST_F(EditBoxTest, DraggingSelectsAndScrollsPastTheTextsEdge) {
    EditBox multi;
    std::wstring text;
    for (int i = 0; i < 20; ++i) {
        text += L"row " + std::to_wstring(i) + L"\r\n";
    }
    ASSERT_TRUE(multi.Create(window.hwnd(), 20, 60, 200, 100, text, {.multiLine = true}));
    const int x = 40;
    const int y = 70;
    window.MouseMove(x, y);
    window.LeftDown(x, y);
    const TextPosition start = multi.Caret();
    // Every move below the text scrolls one line further.
    for (int i = 1; i <= 3; ++i) {
        SendMessageW(window.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 200));
        EXPECT_EQ(multi.ScrollY(), -i * multi.LineHeight());
    }
    window.LeftUp(x, 200);
    EXPECT_EQ(multi.Anchor(), start);
    EXPECT_GT(multi.Caret().line, start.line + 4);
    // A menu command runs the Control+letter action; a child window's
    // notification with the same number does not.
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(kEditCommandCut, 0), 0);
    EXPECT_FALSE(multi.HasSelection());
    multi.SelectAll();
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(kEditCommandCut, 1),
                 reinterpret_cast<LPARAM>(window.hwnd()));
    EXPECT_TRUE(multi.HasSelection());
}

TEST_F(EditBoxTest, KeysMoveByCharacterWordLineAndPage) {
    EditBox multi;
    ASSERT_TRUE(multi.Create(window.hwnd(), 20, 60, 200, 100, L"one two\r\nthree\r\nx",
                             {.multiLine = true}));
    Focus(multi);
    Key(VK_RIGHT, true);
    EXPECT_EQ(multi.Caret(), (TextPosition{0, 4}));
    Key(VK_END, true, true);
    EXPECT_EQ(multi.SelectedText(), L"two\r\nthree\r\nx");
    Key(VK_UP);
    EXPECT_EQ(multi.Caret().line, 1);
    Key(VK_PRIOR);
    EXPECT_EQ(multi.Caret().line, 0);
    Key(VK_RETURN);
    EXPECT_EQ(multi.Buffer().LineCount(), 4);
    // Enter in a single-line box inserts nothing.
    Focus(box);
    Key(VK_RETURN);
    EXPECT_EQ(box.Text(), L"");
}

TEST_F(EditBoxTest, InputMethodResultIsInsertedOnce) {
    Focus(box);
    HIMC context = ImmGetContext(window.hwnd());
    ASSERT_NE(context, nullptr);
    const std::wstring composed = L"中文";
    ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(composed.c_str()),
                             static_cast<DWORD>(composed.size() * sizeof(wchar_t)), nullptr, 0);
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(window.hwnd(), context);
    window.Pump();
    EXPECT_EQ(box.Text(), composed);
}

} // namespace
} // namespace kodaro::ui
