// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Block readers and writers over an open file: a buffer pool, and an engine
// that keeps its buffers in flight (or moves them one call at a time). The
// ring is the same on every system; what the system does its own way comes
// through a few hooks.

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/io/block_io.h"
#include "platform/io/buffer_pool.h"
#include "platform/io/io_engine.h"

#include <memory>
#include <string>

namespace vantric {

// One open file as the system sees it. Error results are the system's error
// numbers, 0 for success; the ring turns them into the program's texts.
class BlockHooks {
public:
    virtual ~BlockHooks() = default; // closes what is still open

    // Whether transfers bypass the cache from the start: asked for, granted
    // at the open, and really done by the file system.
    virtual bool direct() const = 0;
    // What direct transfers must be a multiple of, in offset and length.
    virtual std::size_t alignment() const = 0;
    // The engine for the file's buffers: a ring where asked for and the
    // system grants one, else plain calls.
    virtual std::unique_ptr<IoEngine> makeEngine(bool async, const BufferPool& pool) = 0;
    // Later transfers go through the cache; nothing is in flight.
    virtual int leaveDirect() = 0;
    // Reserves the first `bytes` of the file; where the file system cannot,
    // nothing happens and that is no failure.
    virtual int preallocate(std::uint64_t bytes) = 0;
    // Every byte written so far goes to the drive.
    virtual int sync() = 0;
    // Nothing of the file stays cached for a later read to find.
    virtual void dropCache() = 0;
    virtual int fileSize(std::uint64_t& bytes) = 0;
    virtual int close() = 0;

    // The error that says this transfer cannot go direct after all.
    virtual bool refusesDirect(int error) const = 0;
    virtual int diskFull() const = 0;
    virtual VantricError error(const std::string& action, int code, const std::string& path) const = 0;
};

std::unique_ptr<BlockWriter> makeBlockWriter(std::unique_ptr<BlockHooks> file, const IoOptions& opt,
                                             std::string path);
// `wanted`: bytes the caller will read from the start (0 = all).
std::unique_ptr<BlockReader> makeBlockReader(std::unique_ptr<BlockHooks> file, const IoOptions& opt,
                                             std::string path, std::uint64_t wanted);

} // namespace vantric
