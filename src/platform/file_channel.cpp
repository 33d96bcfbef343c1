#include "platform/file_channel.h"

namespace vantric {

WriteChannel::WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path)
    : dev_(std::move(dev)), path_(std::move(path))
{
    auto b = dev_->firstBuffer();
    begin_ = pos_ = b.data();
    end_ = b.data() + b.size();
}

void WriteChannel::putSlow(const void* data, std::size_t n)
{
    if (flushed_)
        throw VantricError("Cannot write to the file", "The file was already flushed", path_);
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < n; ++i) {
        if (pos_ == end_) {
            auto b = dev_->submit({begin_, pos_});
            begin_ = pos_ = b.data();
            end_ = b.data() + b.size();
        }
        *pos_++ = p[i];
    }
    ++writes_;
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

void ReadChannel::refill()
{
    auto b = dev_->next();
    if (b.empty())
        throw VantricError("Cannot read the file", "Input past end of file", path_);
    pos_ = b.data();
    end_ = b.data() + b.size();
}

void ReadChannel::close()
{
    dev_->close();
}

} // namespace vantric
