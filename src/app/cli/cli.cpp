// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/cli.h"

#include "app/build_info.h"
#include "app/cli/console_window_system.h"
#include "bench/size_ladder.h"
#include "platform/errors.h"
#include "platform/number_format.h"

#include <charconv>
#include <optional>

namespace vantric {

namespace {

const char* kUsage = "usage: vantric-cli --list | --drive LETTER|FOLDER [--size SIZE] [--repeat N] [--json]";

struct Options {
    bool list = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::string drive;
    std::string size = "1M";
    int repeat = 1;
};

struct BadArguments {
    std::string why;
};

std::string ladderCaptions()
{
    std::string all;
    for (const Rung& r : kLadder)
        all.append(all.empty() ? "" : ", ").append(r.caption);
    return all;
}

Options parse(const std::vector<std::string>& args)
{
    Options o;
    bool haveDrive = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw BadArguments {a + " needs a value"};
            return args[++i];
        };
        if (a == "--list")
            o.list = true;
        else if (a == "--json")
            o.json = true;
        else if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--version")
            o.version = true;
        else if (a == "--drive") {
            o.drive = value();
            haveDrive = true;
        } else if (a == "--size") {
            o.size = value();
            bool known = false;
            for (const Rung& r : kLadder)
                known = known || r.caption == o.size;
            if (!known)
                throw BadArguments {"unknown size \"" + o.size + "\"; the sizes are " + ladderCaptions()};
        } else if (a == "--repeat") {
            const std::string& v = value();
            auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), o.repeat);
            if (ec != std::errc() || end != v.data() + v.size() || o.repeat < 1)
                throw BadArguments {"--repeat takes a whole number of runs, 1 or more"};
        } else
            throw BadArguments {"unknown argument \"" + a + "\""};
    }
    if (o.help || o.version)
        return o;
    if (o.list == haveDrive)
        throw BadArguments {o.list ? "--list runs no test: give it alone" : "give --list or --drive"};
    if (haveDrive && o.drive.empty())
        throw BadArguments {"--drive needs a letter or a folder"};
    return o;
}

// "C", "c" or "C:": a drive letter.
std::optional<std::string> asLetter(const std::string& s)
{
    if ((s.size() == 1 || (s.size() == 2 && s[1] == ':')) && std::isalpha(static_cast<unsigned char>(s[0])))
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(s[0]))));
    return std::nullopt;
}

// The drive the folder lies on, with the scratch file in the folder itself.
class FolderDrive : public DriveSource {
public:
    FolderDrive(DriveSource& inner, std::string letter, std::string folder)
        : inner_(inner), letter_(std::move(letter)), folder_(std::move(folder))
    {
    }
    std::unique_ptr<FileSystemObject> createObject() override { return inner_.createObject(); }
    std::vector<ScratchFolder> scratchFolders(const std::string& letter) override
    {
        auto places = inner_.scratchFolders(letter); // still the surveyed file system?
        if (letter != letter_)
            return places;
        return {{folder_}};
    }
    DriveInfo describe(const std::string& letter) override { return inner_.describe(letter); }
    std::optional<std::string> letterHolding(const std::string& folder) override
    {
        return inner_.letterHolding(folder);
    }

private:
    DriveSource& inner_;
    std::string letter_;
    std::string folder_;
};

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string jsonNumber(double v)
{
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : "null";
}

std::string passJson(const char* name, const PassRecord& p)
{
    std::string s;
    s += std::string("\"") + name + "_bytes\":" + std::to_string(p.bytes);
    s += std::string(",\"") + name + "_seconds\":" + jsonNumber(p.seconds);
    s += std::string(",\"") + name + "_mib_per_s\":"
         + (p.seconds > 0 ? jsonNumber(static_cast<double>(p.bytes) / 1048576.0 / p.seconds) : "null");
    s += std::string(",\"") + name + "_io\":\"" + (p.mode.direct ? "direct" : "cached") + ","
         + (p.mode.async ? "ring" : "synchronous") + "\"";
    return s;
}

} // namespace

int runCli(const std::vector<std::string>& args, Services services, CliStreams io)
{
    Options o;
    try {
        o = parse(args);
    } catch (const BadArguments& bad) {
        io.err << "vantric-cli: " << bad.why << '\n' << kUsage << '\n';
        return 2;
    }
    if (o.help) {
        io.out << kUsage << "\n\n"
               << "Lists the drives, or tests one drive the way the Vantric window does:\n"
                  "writes a scratch file two bytes per write, reads it back one byte per\n"
                  "read, deletes it, and prints the five log rows of each run.\n\n"
                  "  --list           print the drive list\n"
                  "  --drive D        test drive D (a letter of the list), or the drive\n"
                  "                   holding folder D, with the scratch file in that folder\n"
                  "  --size SIZE      test size, one of "
               << ladderCaptions()
               << " (default 1M)\n"
                  "  --repeat N       run the test N times\n"
                  "  --json           one JSON object per run instead of the log rows\n";
        return 0;
    }
    if (o.version) {
        io.out << "vantric-cli " << VANTRIC_VERSION << '\n';
        return 0;
    }

    std::optional<FolderDrive> folderDrive;
    std::string letter;
    if (!o.list) {
        if (auto l = asLetter(o.drive)) {
            letter = *l;
        } else {
            auto l2 = services.drives.letterHolding(o.drive);
            if (!l2) {
                io.err << "vantric-cli: \"" << o.drive
                       << "\" is neither a drive letter of the list nor a folder on a listed drive\n"
                       << kUsage << '\n';
                return 2;
            }
            letter = *l2;
            folderDrive.emplace(services.drives, letter, o.drive);
        }
    }
    DriveSource& drives = folderDrive ? static_cast<DriveSource&>(*folderDrive) : services.drives;
    ConsoleWindowSystem ws(io.err, io.errIsTerminal);
    frmDrive form(ws, Services {drives, services.fs, services.counter, services.clock, services.locale,
                                services.programFolder, services.documentsFolder});
    form.Form_Load();
    const auto& listed = ws.rows(Ctl::List1);
    if (o.list) {
        for (const auto& row : listed)
            io.out << inUserCharset(row) << '\n';
        return ws.errors() ? 1 : 0;
    }

    int index = -1;
    for (int i = 0; i < static_cast<int>(listed.size()); ++i)
        if (listed[i].size() >= 2 && listed[i].substr(1, 1) == letter)
            index = i;
    if (index < 0) {
        io.err << "vantric-cli: drive " << letter << ": is not in the list of testable drives\n";
        return 1;
    }
    for (int i = 0; i < 16 && ws.caption(Ctl::Label9) != o.size; ++i)
        form.Command1_Click();

    for (int run = 0; run < o.repeat; ++run) {
        const int errorsBefore = ws.errors();
        ws.selectRow(Ctl::List1, index);
        form.List1_Click();
        if (ws.errors() != errorsBefore)
            return 1;
        const auto& log = ws.rows(Ctl::List2);
        if (!o.json) {
            for (std::size_t r = log.size() - 5; r < log.size(); ++r)
                io.out << inUserCharset(log[r]) << '\n';
            io.out << std::flush;
            continue;
        }
        const RunRecord& rec = form.lastRun();
        DriveInfo where = drives.describe(letter);
        io.out << "{\"letter\":" << jsonString(letter) << ",\"mount_point\":" << jsonString(where.mountPoint)
               << ",\"fs_type\":" << jsonString(where.fsType) << ",\"size\":" << jsonString(o.size) << ','
               << passJson("write", rec.write) << ',' << passJson("read", rec.read)
               << ",\"stored_bytes\":" << (rec.stored ? std::to_string(rec.stored->stored) : "null")
               << ",\"compressed\":" << (!rec.stored ? "null" : rec.stored->compressed ? "true" : "false") << "}\n"
               << std::flush;
    }
    return 0;
}

} // namespace vantric
