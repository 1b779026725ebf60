#include "application_folder.h"

#include <windows.h>

#include <string>

#include "file_failure.h"
#include "module_folder.h"
#include "system_text.h"

namespace quillbeam {

std::u16string ExecutableFolder() {
    // GetModuleFileNameW cuts the path to the buffer without saying so except by filling it, so
    // the buffer grows until the path fits (paths may exceed MAX_PATH).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            const DWORD error = ::GetLastError();
            throw FileFailure(
                static_cast<std::int32_t>(error),
                "Cannot find the folder of the running program: " + SystemText(error));
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderOfModulePath(std::u16string(path.begin(), path.end()));
}

}  // namespace quillbeam
