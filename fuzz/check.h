#pragma once
// A failed expectation inside a fuzz target: says which, with the input's size, and
// aborts so that libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

#include <cstddef>
#include <cstdint>
#include <string_view>

// How the targets that need two texts cut their input, so that a seed is easy to write
// by hand: one byte of options, one byte giving the length of the first text, the first
// text, and the rest.
struct FuzzInput {
    std::uint8_t options = 0;
    std::string_view first;
    std::string_view rest;
};

inline FuzzInput cutFuzzInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input;
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    if (!bytes.empty()) {
        input.options = static_cast<std::uint8_t>(bytes[0]);
        bytes.remove_prefix(1);
    }
    std::size_t length = 0;
    if (!bytes.empty()) {
        length = static_cast<std::uint8_t>(bytes[0]);
        bytes.remove_prefix(1);
    }
    input.first = bytes.substr(0, length);
    input.rest = bytes.substr(input.first.size());
    return input;
}
