// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/io/file_table.h"


namespace vantric {

TextOutput::TextOutput(std::unique_ptr<AtomicFile> file, TextCharset charset)
    : file_(std::move(file)), charset_(charset)
{
}

void TextOutput::printLine(const std::string& text)
{
    file_->write((charset_ ? charset_(text) : text) + "\r\n");
}

void TextOutput::close()
{
    file_->commit();
}

std::int16_t FileTable::freeFile() const
{
    for (int n = 1; n <= kMaxFiles; ++n)
        if (std::holds_alternative<std::monostate>(slots_[n]))
            return static_cast<std::int16_t>(n);
    throw VantricError("Cannot open a file", "Too many files");
}

FileTable::Slot& FileTable::slot(std::int16_t n)
{
    if (n < 1 || n > kMaxFiles)
        throw VantricError("Bad file number", std::to_string(n));
    return slots_[n];
}

const FileTable::Slot& FileTable::slot(std::int16_t n) const
{
    if (n < 1 || n > kMaxFiles)
        throw VantricError("Bad file number", std::to_string(n));
    return slots_[n];
}

void FileTable::claim(std::int16_t n)
{
    if (!std::holds_alternative<std::monostate>(slot(n)))
        throw VantricError("File already open", "File number " + std::to_string(n) + " is in use");
}

void FileTable::openWrite(std::int16_t n, const std::string& path, std::optional<FileId> claimed)
{
    claim(n);
    slots_[n] = std::make_unique<WriteChannel>(fs_.openBlockWrite(path, claimed), path);
}

void FileTable::openRead(std::int16_t n, const std::string& path, std::uint64_t wanted, std::optional<FileId> claimed)
{
    claim(n);
    slots_[n] = std::make_unique<ReadChannel>(fs_.openBlockRead(path, wanted, claimed), path);
}

void FileTable::openText(std::int16_t n, const std::string& path)
{
    claim(n);
    slots_[n] = std::make_unique<TextOutput>(fs_.createAtomic(path), charset_);
}

WriteChannel& FileTable::writer(std::int16_t n)
{
    if (auto* w = std::get_if<std::unique_ptr<WriteChannel>>(&slot(n)))
        return **w;
    throw VantricError("Bad file mode", "File number " + std::to_string(n) + " is not open for writing");
}

ReadChannel& FileTable::reader(std::int16_t n)
{
    if (auto* r = std::get_if<std::unique_ptr<ReadChannel>>(&slot(n)))
        return **r;
    throw VantricError("Bad file mode", "File number " + std::to_string(n) + " is not open for reading");
}

TextOutput& FileTable::text(std::int16_t n)
{
    if (auto* t = std::get_if<std::unique_ptr<TextOutput>>(&slot(n)))
        return **t;
    throw VantricError("Bad file mode", "File number " + std::to_string(n) + " is not open for output");
}

void FileTable::close(std::int16_t n)
{
    Slot& s = slot(n);
    // The slot is freed whether or not the close succeeds.
    Slot taken = std::move(s);
    s = std::monostate {};
    std::visit(
        [](auto& f) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(f)>, std::monostate>)
                f->close();
        },
        taken);
}

void FileTable::closeAll() noexcept
{
    for (auto& s : slots_)
        s = std::monostate {};
}

void FileTable::drop(std::int16_t n) noexcept
{
    if (n >= 1 && n <= kMaxFiles)
        slots_[n] = std::monostate {};
}


} // namespace vantric
