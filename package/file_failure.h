#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillbeam {

// A failing file operation: the platform's error number and a description a user can act on
// (UTF-8). It is thrown, ends the command that was running and is reported by the window.
class FileFailure : public std::runtime_error {
  public:
    FileFailure(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    std::int32_t number() const noexcept { return number_; }
    std::string description() const { return what(); }

  private:
    std::int32_t number_;
};

// The failure of `action` on the file at `path` (UTF-8), described on every platform as
// <action> "<path>": <words>, where the words are the system's own for `number`. A NUL in the
// path is shown as U+FFFD: the description is read as a C string, which would end there.
inline FileFailure FailureAt(std::int32_t number, std::string_view action, std::string_view path,
                             std::string_view words) {
    std::string description(action);
    description.append(" \"");
    for (const char byte : path) {
        if (byte == '\0') {
            description.append("\xEF\xBF\xBD");
        } else {
            description.push_back(byte);
        }
    }
    description.append("\": ").append(words);
    return {number, description};
}

}  // namespace quillbeam
