#include "platform/file_channel.h"

namespace vantric {

WriteChannel::WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path)
    : dev_(std::move(dev)), path_(std::move(path))
{
    auto b = dev_->firstBuffer();
    begin_ = pos_ = b.data();
    end_ = b.data() + b.size();
}

WriteCursor WriteChannel::putSlow(WriteCursor c, std::int16_t v)
{
    pos_ = c.pos;
    if (flushed_)
        throw VantricError("Cannot write to the file", "The file was already flushed", path_);
    std::uint8_t bytes[2];
    std::memcpy(bytes, &v, 2);
    for (std::uint8_t b : bytes) {
        if (pos_ == end_) {
            submitted_ += static_cast<std::uint64_t>(pos_ - begin_);
            auto next = dev_->submit({begin_, pos_});
            begin_ = pos_ = next.data();
            end_ = next.data() + next.size();
        }
        *pos_++ = b;
    }
    return {pos_, end_};
}

void WriteChannel::flush()
{
    if (flushed_)
        return;
    flushed_ = true;
    submitted_ += static_cast<std::uint64_t>(pos_ - begin_);
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

ReadCursor ReadChannel::refill(ReadCursor c)
{
    consumed_ += static_cast<std::uint64_t>(c.pos - blockStart_);
    auto b = dev_->next();
    if (b.empty()) {
        blockStart_ = pos_ = end_ = c.pos;
        throw VantricError("Cannot read the file", "Input past end of file", path_);
    }
    blockStart_ = pos_ = b.data();
    end_ = b.data() + b.size();
    return {pos_, end_};
}

void ReadChannel::close()
{
    dev_->close();
}

} // namespace vantric
