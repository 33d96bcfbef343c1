// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/errors.h"

#include <cmath>
#include <cstring>

namespace vantric {

static std::string summary(const std::string& action, const std::string& reason, const std::string& path)
{
    std::string s;
    s.reserve(action.size() + reason.size() + path.size() + 8);
    s.append(action).append(": ").append(reason);
    if (!path.empty())
        s.append(" (").append(path).append(")");
    return s;
}

VantricError::VantricError(std::string action, std::string reason, std::string path, int osCode)
    : std::runtime_error(summary(action, reason, path)), action_(std::move(action)), reason_(std::move(reason)),
      path_(std::move(path)), osCode_(osCode)
{
}

std::string VantricError::message() const
{
    std::string text = action_;
    if (!path_.empty())
        text.append("\n").append(path_);
    text.append("\n\n").append(reason_);
    return text;
}

VantricError osError(const std::string& action, int err, const std::string& path)
{
    return VantricError(action, std::strerror(err), path, err);
}

std::int64_t checkedAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw VantricError("Arithmetic error", "Overflow");
    return r;
}

std::int64_t checkedSub(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        throw VantricError("Arithmetic error", "Overflow");
    return r;
}

double checkedDiv(double a, double b)
{
    const double r = a / b;
    if (std::isnan(r))
        throw VantricError("Arithmetic error", "Invalid floating-point operation");
    if (std::isinf(r)) {
        if (b == 0.0 && !std::isinf(a))
            throw VantricError("Arithmetic error", "Division by zero");
        throw VantricError("Arithmetic error", "Floating-point overflow");
    }
    return r;
}

} // namespace vantric
