#include "system_text.h"

#include <memory>

#include "file_failure.h"
#include "utf8.h"

namespace quillbeam {
namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t* text) const noexcept { ::LocalFree(text); }
};

}  // namespace

std::string SystemText(DWORD error) {
    wchar_t* allocated = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address of the text.
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(allocated);
    if (length == 0 || allocated == nullptr) return "Windows error " + std::to_string(error);

    std::u16string text(allocated, allocated + length);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    return ToUtf8(text);
}

void FailWithSystemError(DWORD error, std::string_view action, std::u16string_view path) {
    std::string description(action);
    description.append(" \"").append(ToUtf8(path)).append("\": ").append(SystemText(error));
    throw FileFailure(static_cast<std::int32_t>(error), description);
}

}  // namespace quillbeam
