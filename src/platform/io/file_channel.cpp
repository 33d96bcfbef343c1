// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/io/file_channel.h"

namespace vantric {

WriteChannel::WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path)
    : dev_(std::move(dev)), path_(std::move(path))
{
    auto b = dev_->firstBuffer();
    begin_ = pos_ = b.data();
    end_ = b.data() + b.size();
}

void WriteChannel::nextBlock()
{
    if (flushed_)
        throw VantricError("Cannot write to the file", "The file was already flushed", path_);
    // Only what was filled goes out, so a block whose size is odd just
    // leaves its last byte unused.
    auto next = dev_->submit({begin_, pos_});
    begin_ = pos_ = next.data();
    end_ = next.data() + next.size();
    if (end_ - pos_ < 2)
        throw VantricError("Cannot write to the file", "The file buffer is too small", path_);
}

void WriteChannel::preallocate(std::uint64_t bytes)
{
    dev_->preallocate(bytes);
}

void WriteChannel::flush()
{
    if (flushed_)
        return;
    flushed_ = true;
    dev_->flush({begin_, pos_});
    begin_ = pos_ = end_;
}

void WriteChannel::close()
{
    flush();
    dev_->close();
}

ReadChannel::ReadChannel(std::unique_ptr<BlockReader> dev, std::string path)
    : dev_(std::move(dev)), path_(std::move(path))
{
}

void ReadChannel::nextBlock()
{
    auto b = dev_->next();
    if (b.empty()) {
        blockStart_ = end_ = pos_;
        throw VantricError("Cannot read the file", "Input past end of file", path_);
    }
    blockStart_ = pos_ = b.data();
    end_ = b.data() + b.size();
}

void ReadChannel::close()
{
    dev_->close();
}

} // namespace vantric
