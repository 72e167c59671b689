#include "app/decode/open_dialog.h"

#include "app/symbol/save_dialog.h"

namespace kodaro {

std::optional<std::wstring> ShowOpenDialog(HWND owner, std::wstring_view filter,
                                           std::wstring_view title) {
    return ShowFileDialog(GetOpenFileNameW, owner, filter, title, OFN_EXPLORER);
}

} // namespace kodaro
