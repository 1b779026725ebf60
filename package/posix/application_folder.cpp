#include "application_folder.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "file_failure.h"
#include "utf8.h"

namespace quillbeam {

std::u16string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw FileFailure(error.value(),
                          "Cannot find the folder of the running program: " + error.message());
    }
    return FromUtf8(executable.parent_path().string());
}

}  // namespace quillbeam
