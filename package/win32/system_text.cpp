#include "system_text.h"

#include "local_block.h"
#include "utf8.h"

namespace quillbeam {

std::string SystemText(DWORD error) {
    wchar_t* allocated = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address of the text.
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
    const LocalBlock<wchar_t*> owned(allocated);
    if (length == 0 || !owned) return "Windows error " + std::to_string(error);

    std::u16string text(allocated, allocated + length);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    return ToUtf8(text);
}

}  // namespace quillbeam
