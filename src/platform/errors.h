// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Errors that end a handler at the failing step, and the checked arithmetic
// that raises them instead of wrapping or producing inf/NaN.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vantric {

class VantricError : public std::runtime_error {
public:
    // action: what failed ("Cannot create the scratch file");
    // reason: why, usually the OS text; path: the file concerned, if any;
    // osCode: the errno behind it, 0 if none.
    VantricError(std::string action, std::string reason, std::string path = {}, int osCode = 0);

    const std::string& action() const { return action_; }
    const std::string& reason() const { return reason_; }
    const std::string& path() const { return path_; }
    int osCode() const { return osCode_; }

    // The text shown to the user: action, path and reason on their own lines.
    std::string message() const;

private:
    std::string action_;
    std::string reason_;
    std::string path_;
    int osCode_ = 0;
};

// Builds an error whose reason is the text of an errno value.
VantricError osError(const std::string& action, int err, const std::string& path = {});

std::int64_t checkedAdd(std::int64_t a, std::int64_t b);
std::int64_t checkedSub(std::int64_t a, std::int64_t b);
// Loop counters are 32-bit: stepping past the top is an overflow.
inline std::int32_t checkedNext(std::int32_t i)
{
    std::int32_t r;
    if (__builtin_add_overflow(i, 1, &r)) [[unlikely]]
        throw VantricError("Arithmetic error", "Overflow");
    return r;
}
// Floating-point division tested after the operation.
double checkedDiv(double a, double b);

} // namespace vantric
