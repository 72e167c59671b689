// A popup menu: a list of items (text, icon, command, enabled or not, text
// colour, optional submenu) that TrackPopup shows in a topmost window of class
// "Ex_DirectUI_Menu" and runs until the user picks an item or leaves.
//
// Use:
//   PopupMenu menu;
//   menu.AddItem(L"复制(&C)", {}, 67);
//   menu.AddItem(L"");                      // separator
//   menu.AddItem(L"更多", {}, 0, kMenuItemEnabled, kMenuTextColor, &more);
//   UINT chosen = menu.TrackPopup(&host, 0, 0, true);   // at the cursor
//
// Items are given and read with 1-based indexes. A menu only holds data while
// it is closed; its window, the item controls and their pictures live for one
// TrackPopup call.
#pragma once

#include "ui/draw/color.h"
#include "ui/host/host_window.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kodaro::ui {

inline constexpr wchar_t kMenuClassName[] = L"Ex_DirectUI_Menu";
// Black at alpha 210.
inline constexpr Argb kMenuTextColor = 0xD2000000;

enum MenuItemState : int { kMenuItemEnabled = 0, kMenuItemDisabled = 1 };

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Adds an item at the end and returns its index. An empty text makes a
    // separator; icon is an encoded picture file (drawn 16 x 16); "&" marks
    // the access key. A submenu opens beside the item instead of choosing it.
    int AddItem(std::wstring text, std::span<const std::uint8_t> icon = {}, UINT command = 0,
                int state = kMenuItemEnabled, Argb textColor = kMenuTextColor,
                PopupMenu* submenu = nullptr);
    // False for an index out of range.
    bool DeleteItem(int index);
    void Clear();
    int ItemCount() const { return static_cast<int>(items_.size()); }

    // Getters give 0 / empty for an index out of range; setters ignore it.
    int ItemState(int index) const;
    void ItemState(int index, int state);
    std::wstring ItemText(int index) const;
    void ItemText(int index, std::wstring text);
    std::vector<std::uint8_t> ItemIcon(int index) const;
    void ItemIcon(int index, std::span<const std::uint8_t> icon);
    UINT ItemCommand(int index) const;
    PopupMenu* ItemSubmenu(int index) const;
    void ItemSubmenu(int index, PopupMenu* submenu);

    // Opens the menu with its top-left corner at (x, y) on the screen, or at
    // the cursor when atCursor, moved so that it stays inside the screen, and
    // runs a nested loop until it closes. owner is the host that opens it (a
    // menu's host when this is a submenu). Returns the command of the chosen
    // item, 0 when none was chosen, the menu is already open, or the owner
    // went away meanwhile.
    UINT TrackPopup(HostWindow* owner, int x, int y, bool atCursor = false);

    // The open menu's window; null while closed.
    HWND Window() const;
    // The menu's outer size as TrackPopup makes it (shadow margins included).
    SIZE MeasureSize() const;

    struct Item {
        std::wstring text;
        std::vector<std::uint8_t> icon;
        UINT command = 0;
        int state = kMenuItemEnabled;
        Argb textColor = kMenuTextColor;
        PopupMenu* submenu = nullptr;
    };

private:
    class Session;
    friend class Session;

    const Item* At(int index) const;
    Item* At(int index);

    std::vector<Item> items_;
    Session* session_ = nullptr;
    // Opened from the keyboard: the first item starts highlighted.
    bool keyboardStart_ = false;
};

// The edit boxes' shared context menu, built at framework start-up:
// "剪切(&T)" (command 88), "复制(&C)" (67), "粘贴(&P)" (86), a separator and
// "全部选择(&A)" (65). The boxes set the items' states before showing it.
PopupMenu& EditContextMenu();

} // namespace kodaro::ui
