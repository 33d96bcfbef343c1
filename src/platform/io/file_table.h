// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Files by number, the way the main window's handlers use them: take a free
// number, open a file under it, use it, close it.

#include "platform/io/file_channel.h"
#include "platform/file_system.h"
#include "platform/number_format.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace vantric {

class TextOutput {
public:
    explicit TextOutput(std::unique_ptr<AtomicFile> file, TextCharset charset = nullptr);
    // The text, then CR LF.
    void printLine(const std::string& text);
    void close();
    std::string pendingPath() const { return file_->pendingPath(); }

private:
    std::unique_ptr<AtomicFile> file_;
    TextCharset charset_;
};

class FileTable {
public:
    static constexpr int kMaxFiles = 255;

    explicit FileTable(FileSystem& fs, TextCharset charset = nullptr) : fs_(fs), charset_(charset) {}

    std::int16_t freeFile() const;
    // With `claimed`: only that file (the run's claim); another at its name is refused.
    void openWrite(std::int16_t n, const std::string& path, std::optional<FileId> claimed = std::nullopt);
    void openRead(std::int16_t n, const std::string& path, std::uint64_t wanted = 0,
                  std::optional<FileId> claimed = std::nullopt);
    void openText(std::int16_t n, const std::string& path);

    WriteChannel& writer(std::int16_t n);
    ReadChannel& reader(std::int16_t n);
    TextOutput& text(std::int16_t n);

    void close(std::int16_t n);
    // Drops every open file without flushing; for abandoning work after a failure.
    void closeAll() noexcept;
    // Drops one file without flushing or committing it.
    void drop(std::int16_t n) noexcept;

    // The scratch file's place, by path.
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) { return fs_.claimScratch(path); }
    std::optional<std::string> makePrivateFolder(const std::string& base) { return fs_.makePrivateFolder(base); }
    void removeFolder(const std::string& path) noexcept { fs_.removeFolder(path); }
    DriveSpace space(const std::string& folder) { return fs_.space(folder); }
    std::optional<std::uint64_t> regularFileSize(const std::string& path) { return fs_.regularFileSize(path); }
    StoredBytes storedBytes(const std::string& path, std::uint64_t written) { return fs_.storedBytes(path, written); }

private:
    using Slot = std::variant<std::monostate, std::unique_ptr<WriteChannel>, std::unique_ptr<ReadChannel>,
                              std::unique_ptr<TextOutput>>;
    Slot& slot(std::int16_t n);
    const Slot& slot(std::int16_t n) const;
    void claim(std::int16_t n);

    FileSystem& fs_;
    TextCharset charset_;
    std::array<Slot, kMaxFiles + 1> slots_;
};

} // namespace vantric
