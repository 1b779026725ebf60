#pragma once

#include <span>
#include <string>
#include <string_view>

#include "window_driver.h"

// The cases both windows must pass, written once: each platform's tests run every row against a
// fresh window through their own WindowDriver. A case returns what it found wrong, one line each,
// and the empty text when the window did all it should.
struct WindowCase {
    std::string_view name;
    std::string (*run)(WindowDriver& window);
};

std::span<const WindowCase> WindowCases();
