#pragma once

#include <functional>
#include <utility>

#include "package_platform.h"

namespace quillbeam {

// A text file a file layer has written and left open, on a handle of the unique_resource.h kind.
// Close() hands the handle to `finish`, which closes it and reports a failure; dropped unclosed,
// the handle is closed quietly.
template <typename Handle>
class CheckedFile final : public OpenTextFile {
  public:
    using Finish = std::function<void(Handle&)>;
    CheckedFile(Handle handle, Finish finish)
        : handle_(std::move(handle)), finish_(std::move(finish)) {}
    void Close() override {
        if (handle_.valid()) finish_(handle_);
    }

  private:
    Handle handle_;
    Finish finish_;
};

}  // namespace quillbeam
