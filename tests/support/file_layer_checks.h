#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "file_failure.h"

// Helpers shared by the tests of each platform's file layer.

// Runs `operation` and returns the FileFailure it throws.
template <typename Operation>
quillbeam::FileFailure FailureOf(Operation operation) {
    try {
        operation();
    } catch (const quillbeam::FileFailure& failure) {
        return failure;
    }
    ADD_FAILURE() << "expected a FileFailure";
    return quillbeam::FileFailure(0, "");
}

// `size` bytes of every value, the same on every run.
inline std::string RandomBytes(std::size_t size) {
    std::mt19937 random(42);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}
