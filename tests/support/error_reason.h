// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What a call raised: the error, or its reason ("no error" when it raised nothing).

#include "platform/errors.h"

#include <optional>
#include <string>

namespace vantric::test {

template <typename F> std::optional<VantricError> errorOf(F&& call)
{
    try {
        call();
    } catch (const VantricError& e) {
        return e;
    }
    return std::nullopt;
}

template <typename F> std::string reasonOf(F&& call)
{
    auto e = errorOf(std::forward<F>(call));
    return e ? e->reason() : "no error";
}

} // namespace vantric::test
