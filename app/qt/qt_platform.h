#pragma once

#include "posix_platform.h"

class QWidget;

// The package core's platform for the window: files through POSIX, messages as message boxes
// modal to the window, with no icon.
class QtPackagePlatform : public quillbeam::PosixFilePlatform {
  public:
    explicit QtPackagePlatform(QWidget* owner) : owner_(owner) {}

    void ShowMessage(std::u16string_view caption, std::u16string_view text) override;

  private:
    QWidget* owner_;
};
