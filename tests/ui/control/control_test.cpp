#include "tests/ui/host/framework_fixture.h"

namespace kodaro::ui::testing {
namespace {

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlue = 0xFF0000FF;

TEST(ControlTree, OverlappingSiblingsFollowZOrder) {
    TestWindow window{AttachOptions{}};
    Probe under(kRed);
    Probe over(kBlue);
    ASSERT_TRUE(under.Create(window.host(), MakeRectF(50, 50, 60, 60)));
    ASSERT_TRUE(over.Create(window.host(), MakeRectF(80, 80, 60, 60)));
    Pump();
    EXPECT_EQ(window.host().HitTest(90, 90), &over);
    EXPECT_TRUE(Near(Rgb(window.host(), 90, 90), 0x0000FF));

    over.ZOrder(2);
    Pump();
    EXPECT_EQ(window.host().HitTest(90, 90), &under);
    EXPECT_TRUE(Near(Rgb(window.host(), 90, 90), 0xFF0000));
    EXPECT_EQ(window.host().FirstControl(), &over);

    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(90, 90));
    window.Send(WM_LBUTTONUP, 0, At(90, 90));
    EXPECT_EQ(under.Count(EXM_CLICK), 1);
    EXPECT_EQ(over.Count(EXM_CLICK), 0);
}

TEST(ControlTree, ChildrenAreClippedToTheirParentAndHitFirst) {
    TestWindow window{AttachOptions{}};
    Probe parent(kRed);
    Probe child(kBlue);
    ASSERT_TRUE(parent.Create(window.host(), MakeRectF(50, 50, 60, 60)));
    ASSERT_TRUE(child.Create(parent, MakeRectF(100, 60, 40, 20)));
    Pump();
    EXPECT_EQ(child.Parent(), &parent);
    EXPECT_EQ(window.host().HitTest(105, 65), &child);
    EXPECT_TRUE(Near(Rgb(window.host(), 105, 65), 0x0000FF));
    // The part outside the parent is not painted (and not hit through it).
    EXPECT_FALSE(Near(Rgb(window.host(), 120, 65), 0x0000FF));
    EXPECT_EQ(window.host().HitTest(120, 65), nullptr);
}

TEST(ControlTree, ParentWithoutALiveHostIsRefused) {
    TestWindow first{AttachOptions{}};
    Probe parent;
    ASSERT_TRUE(parent.Create(first.host(), MakeRectF(10, 40, 50, 50)));
    Probe child;
    EXPECT_FALSE(child.CreateBase(static_cast<HWND>(nullptr), MakeRectF(0, 0, 5, 5), 16));
    // The parent's window is gone: its controls went with it.
    DestroyWindow(first.hwnd());
    EXPECT_FALSE(parent.Created());
    EXPECT_FALSE(child.Create(parent, MakeRectF(10, 40, 5, 5)));
    EXPECT_FALSE(child.Created());
    EXPECT_EQ(child.Parent(), nullptr);
}

TEST(ControlTree, MoveShiftsEveryDescendant) {
    TestWindow window{AttachOptions{}};
    Probe parent;
    Probe child;
    Probe grandchild;
    ASSERT_TRUE(parent.Create(window.host(), MakeRectF(20, 40, 100, 100)));
    ASSERT_TRUE(child.Create(parent, MakeRectF(30, 50, 50, 50)));
    ASSERT_TRUE(grandchild.Create(child, MakeRectF(35, 55, 10, 10)));
    parent.Move(30.0f, 45.0f);
    EXPECT_EQ(parent.X(), 30);
    EXPECT_EQ(child.X(), 40);
    EXPECT_EQ(child.Y(), 55);
    EXPECT_EQ(grandchild.X(), 45);
    EXPECT_EQ(grandchild.Y(), 60);
    EXPECT_EQ(grandchild.Width(), 10);
    EXPECT_EQ(parent.PreviousRect().X, 20);
}

TEST(ControlTree, ResizeGivesANewSurfaceThenSizeThenPaint) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(20, 40, 30, 30)));
    ASSERT_EQ(probe.Surface().width(), 30);
    probe.messages.clear();
    probe.Width(50);
    EXPECT_EQ(probe.Surface().width(), 50);
    EXPECT_EQ(probe.Surface().height(), 30);
    std::vector<UINT> order;
    for (UINT message : probe.messages) {
        if (message == EXM_SIZE || message == WM_PAINT || message == EXM_MOVED) {
            order.push_back(message);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{EXM_SIZE, WM_PAINT, EXM_MOVED}));
}

TEST(ControlTree, DestroyedControlsLeaveTheTree) {
    TestWindow window{AttachOptions{}};
    Probe a;
    auto b = std::make_unique<Probe>();
    Probe c;
    ASSERT_TRUE(a.Create(window.host(), MakeRectF(20, 40, 10, 10)));
    ASSERT_TRUE(b->Create(window.host(), MakeRectF(40, 40, 10, 10)));
    ASSERT_TRUE(c.Create(*b, MakeRectF(40, 40, 5, 5)));
    window.Send(WM_KEYDOWN, VK_TAB);
    b.reset();
    EXPECT_FALSE(c.Created());
    EXPECT_EQ(a.NextSibling(), nullptr);
    EXPECT_EQ(window.host().LastControl(), &a);
    EXPECT_EQ(window.host().HitTest(41, 41), nullptr);
}

TEST(ControlState, DisabledControlsLetTheMouseThrough) {
    TestWindow window{AttachOptions{}};
    Probe under;
    Probe over;
    ASSERT_TRUE(under.Create(window.host(), MakeRectF(50, 50, 60, 60)));
    ASSERT_TRUE(over.Create(window.host(), MakeRectF(50, 50, 60, 60)));
    over.Disabled(true);
    EXPECT_EQ(window.host().HitTest(60, 60), &under);
    window.Click(60, 60);
    EXPECT_EQ(under.Count(EXM_CLICK), 1);
    EXPECT_EQ(over.Count(WM_LBUTTONDOWN), 0);

    // Over the bare window a disabled control lets a press drag the window.
    Probe lone;
    ASSERT_TRUE(lone.Create(window.host(), MakeRectF(200, 50, 40, 40)));
    lone.Disabled(true);
    int drags = 0;
    window.host().EventMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
            ++drags;
            return 0;
        }
        return -1;
    };
    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(210, 60));
    EXPECT_EQ(drags, 1);
}

TEST(ControlState, DisablingHalvesOpacityAndDropsTheFocus) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 60, 60)));
    window.Click(60, 60);
    ASSERT_EQ(window.host().FocusControl(), &probe);
    probe.Disabled(true);
    EXPECT_EQ(window.host().FocusControl(), nullptr);
    EXPECT_EQ(probe.Opacity(), 127);
    EXPECT_EQ(probe.Count(EXM_KILLFOCUS), 1);
    EXPECT_FALSE(window.host().SetFocusControl(&probe, false));
    Pump();
    // Drawn at half opacity over the window background.
    const std::uint32_t pixel = Rgb(window.host(), 60, 60);
    EXPECT_GT((pixel >> 16) & 0xFF, 0x70u);
    EXPECT_GT(pixel & 0xFF, 0x70u);
    probe.Disabled(false);
    EXPECT_EQ(probe.Opacity(), 254);
}

TEST(ControlFocus, TabSkipsHiddenDisabledAndCaptionButtons) {
    TestWindow window{AttachOptions{}};
    Probe first;
    Probe hidden;
    Probe disabled;
    Probe unfocusable;
    Probe last;
    ASSERT_TRUE(first.Create(window.host(), MakeRectF(20, 40, 10, 10)));
    ASSERT_TRUE(hidden.Create(window.host(), MakeRectF(40, 40, 10, 10)));
    ASSERT_TRUE(disabled.Create(window.host(), MakeRectF(60, 40, 10, 10)));
    ASSERT_TRUE(unfocusable.Create(window.host(), MakeRectF(80, 40, 10, 10), false));
    ASSERT_TRUE(last.Create(window.host(), MakeRectF(100, 40, 10, 10)));
    // Focusable, but of the caption-button kind.
    Probe captionLike;
    ASSERT_TRUE(
        captionLike.CreateBase(window.host(), MakeRectF(120, 40, 10, 10), kKindCaptionButton));
    ASSERT_TRUE(captionLike.Focusable());
    hidden.Visible(false);
    disabled.Disabled(true);
    std::vector<Control*> visited;
    for (int i = 0; i < 4; ++i) {
        window.Send(WM_KEYDOWN, VK_TAB);
        visited.push_back(window.host().FocusControl());
    }
    EXPECT_EQ(visited, (std::vector<Control*>{&first, &last, &first, &last}));
    EXPECT_EQ(first.Count(EXM_SETFOCUS), 2);
    EXPECT_EQ(first.Count(EXM_KILLFOCUS), 2);
}

TEST(ControlFocus, TabWithOneFocusableControlKeepsIt) {
    TestWindow window{AttachOptions{}};
    Probe only;
    ASSERT_TRUE(only.Create(window.host(), MakeRectF(20, 40, 10, 10)));
    window.Send(WM_KEYDOWN, VK_TAB);
    window.Send(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(window.host().FocusControl(), &only);
    EXPECT_EQ(only.Count(EXM_SETFOCUS), 1);
    EXPECT_TRUE(only.HasFocus());
}

TEST(ControlSubscriptions, SecondSubscriptionReplacesTheFirst) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(20, 40, 10, 10)));
    int first = 0;
    int second = 0;
    probe.Subscribe(WM_USER, ControlHandler4([&](Control*, UINT, WPARAM, LPARAM) { ++first; }));
    probe.Subscribe(WM_USER, ControlHandler4([&](Control*, UINT, WPARAM, LPARAM) { ++second; }));
    probe.Send(WM_USER);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST(ControlSubscriptions, TopLevelGetsFourArgumentsAndChildFiveWithTheParent) {
    TestWindow window{AttachOptions{}};
    Probe parent;
    Probe child;
    ASSERT_TRUE(parent.Create(window.host(), MakeRectF(20, 40, 50, 50)));
    ASSERT_TRUE(child.Create(parent, MakeRectF(25, 45, 10, 10)));
    Control* fourControl = nullptr;
    WPARAM fourWParam = 0;
    parent.Subscribe(WM_USER, ControlHandler4([&](Control* c, UINT, WPARAM w, LPARAM) {
                         fourControl = c;
                         fourWParam = w;
                     }));
    Control* fiveParent = nullptr;
    Control* fiveControl = nullptr;
    LPARAM fiveLParam = 0;
    child.Subscribe(WM_USER, ControlHandler5([&](Control* p, Control* c, UINT, WPARAM, LPARAM l) {
                        fiveParent = p;
                        fiveControl = c;
                        fiveLParam = l;
                    }));
    parent.Send(WM_USER, 11, 12);
    child.Send(WM_USER, 21, 22);
    EXPECT_EQ(fourControl, &parent);
    EXPECT_EQ(fourWParam, 11u);
    EXPECT_EQ(fiveParent, &parent);
    EXPECT_EQ(fiveControl, &child);
    EXPECT_EQ(fiveLParam, 22);
}

// A control that cross-fades to a new colour on request.
class FadingProbe : public Probe {
public:
    void FadeTo(Argb color) {
        BeginCrossFade();
        Color(color);
        FadeLevel(0);
    }
};

TEST(ControlFade, CrossFadeRisesInFiveTimerSteps) {
    TestWindow window{AttachOptions{}};
    FadingProbe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(20, 40, 30, 30), true, kButtonFadeInterval));
    probe.FadeTo(kBlue);
    ASSERT_TRUE(probe.CrossFading());
    EXPECT_EQ(probe.FadeLevel(), 0);
    std::vector<int> levels;
    MSG message;
    while (probe.CrossFading() && levels.size() < 10 && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
        if (message.message == WM_TIMER && message.wParam == probe.TimerId()) {
            levels.push_back(probe.FadeLevel());
        }
    }
    EXPECT_EQ(levels, (std::vector<int>{51, 102, 153, 204, 255}));
    Pump();
    EXPECT_TRUE(Near(Rgb(window.host(), 30, 50), 0x0000FF));
}

TEST(ControlFade, NoFadeWhenTheHostTurnsFadesOff) {
    TestWindow window({.controlFades = false});
    FadingProbe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(20, 40, 30, 30), true, kButtonFadeInterval));
    probe.FadeTo(kBlue);
    EXPECT_FALSE(probe.CrossFading());
    EXPECT_EQ(probe.FadeLevel(), 255);
}

TEST(ControlState, OpacitySetsFadeLevelAndNotifies) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(20, 40, 30, 30)));
    probe.Opacity(100);
    EXPECT_EQ(probe.FadeLevel(), 100);
    EXPECT_EQ(probe.Count(EXM_ALPHACHANGED), 1);
    probe.Visible(false);
    probe.Visible(false);
    EXPECT_EQ(probe.Count(EXM_HIDDEN), 1);
    EXPECT_EQ(window.host().HitTest(25, 45), nullptr);
}

} // namespace
} // namespace kodaro::ui::testing
