#include "win32_folder_edit.h"

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <optional>
#include <string>
#include <vector>

#include "dropped_folder.h"
#include "shell_functions.h"
#include "subclass.h"
#include "unique_resource.h"
#include "wide_text.h"

namespace quillbeam::win32 {
namespace {

using window::DroppedItem;

// The system's list of dropped files, given back with DragFinish when it goes. Like every shell
// function, DragFinish comes from shell32 loaded on first use: here, at the first drop.
void FinishDrop(HDROP drop) noexcept {
    if (const auto finish = modAPI::ShellFunction<decltype(DragFinish)>("DragFinish")) {
        finish(drop);
    }
}
using DroppedFiles = UniqueResource<NullableHandleTraits<HDROP, &FinishDrop>>;

std::vector<DroppedItem> ItemsOf(const DroppedFiles& drop) {
    const auto query = modAPI::ShellFunction<decltype(DragQueryFileW)>("DragQueryFileW");
    std::vector<DroppedItem> items;
    if (query == nullptr) return items;
    const UINT count = query(drop.get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(query(drop.get(), i, nullptr, 0) + 1, L'\0');
        path.resize(query(drop.get(), i, path.data(), static_cast<UINT>(path.size())));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const DroppedItem::Kind kind =
            attributes == INVALID_FILE_ATTRIBUTES          ? DroppedItem::Kind::Other
            : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? DroppedItem::Kind::Folder
                                                           : DroppedItem::Kind::File;
        items.push_back({FromWide(path), kind});
    }
    return items;
}

std::optional<LRESULT> HandleFolderEdit(HWND edit, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                                        DWORD_PTR /*data*/) noexcept {
    if (message != WM_DROPFILES) return std::nullopt;
    // No exception may unwind into the system's code that called us; a drop that cannot be read
    // changes nothing.
    try {
        const DroppedFiles drop(reinterpret_cast<HDROP>(wParam));
        if (const auto folder = window::FolderFromDrop(ItemsOf(drop))) {
            SetWindowTextW(edit, ToWide(*folder).c_str());
        }
    } catch (...) {
    }
    return 0;
}

}  // namespace

void MakeFolderEdit(HWND edit) {
    Subclass<HandleFolderEdit>(edit);
}

}  // namespace quillbeam::win32
