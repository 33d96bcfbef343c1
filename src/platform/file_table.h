#pragma once
// Files by number, the way the main window's handlers use them: take a free
// number, open a file under it, use it, close it.

#include "platform/file_channel.h"
#include "platform/file_system.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace vantric {

class TextOutput {
public:
    TextOutput(std::unique_ptr<AtomicFile> file, std::string path);
    // The text, then CR LF.
    void printLine(const std::string& text);
    void close();

private:
    std::unique_ptr<AtomicFile> file_;
    std::string path_;
};

class FileTable {
public:
    static constexpr int kMaxFiles = 255;

    explicit FileTable(FileSystem& fs) : fs_(fs) {}

    std::int16_t freeFile() const;
    void openWrite(std::int16_t n, const std::string& path);
    void openRead(std::int16_t n, const std::string& path, std::uint64_t wanted = 0);
    void openText(std::int16_t n, const std::string& path);

    WriteChannel& writer(std::int16_t n);
    ReadChannel& reader(std::int16_t n);
    TextOutput& text(std::int16_t n);

    void close(std::int16_t n);
    // Drops every open file without flushing; for abandoning work after a failure.
    void closeAll() noexcept;
    // Drops one file without flushing or committing it.
    void drop(std::int16_t n) noexcept;

    FileSystem& fs() { return fs_; }
    int openCount() const;

    // Byte-channel calls made on files closed so far.
    std::uint64_t closedWrites() const { return closedWrites_; }
    std::uint64_t closedReads() const { return closedReads_; }

private:
    using Slot = std::variant<std::monostate, std::unique_ptr<WriteChannel>, std::unique_ptr<ReadChannel>,
                              std::unique_ptr<TextOutput>>;
    Slot& slot(std::int16_t n);
    const Slot& slot(std::int16_t n) const;
    void claim(std::int16_t n);

    FileSystem& fs_;
    std::array<Slot, kMaxFiles + 1> slots_;
    std::uint64_t closedWrites_ = 0;
    std::uint64_t closedReads_ = 0;
};

} // namespace vantric
