// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/cli.h"

#include "app/build_info.h"
#include "app/cli/console_window_system.h"
#include "app/cli/metrics.h"
#include "bench/size_ladder.h"
#include "platform/errors.h"
#include "platform/termination.h"
#include "platform/number_format.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <optional>

namespace vantric {

namespace {

const char* kUsage = "usage: vantric-cli --list [--json] | --drive LETTER|FOLDER [--size SIZE] [--repeat N] [--json] "
                     "[--metrics FILE]";

std::string ladderCaptions()
{
    std::string all;
    for (const Rung& r : kLadder)
        all.append(all.empty() ? "" : ", ").append(r.caption);
    return all;
}

// Each option once at most: a second value would silently replace the first.
std::optional<std::string> once(const std::vector<std::string>& given, const std::string& name)
{
    if (given.size() > 1)
        throw CLI::ValidationError(name + " is given more than once");
    if (!given.empty() && given.front().empty())
        throw CLI::ValidationError(name + " needs a value");
    return given.empty() ? std::nullopt : std::optional(given.front());
}

CliOptions parse(const std::vector<std::string>& args)
{
    CliOptions o;
    CLI::App app("", "vantric-cli");
    app.set_help_flag();
    app.allow_extras();
    std::vector<std::string> drive, size, repeat, metrics;
    for (auto [name, flag] : {std::pair {"--list", &o.list}, {"--json", &o.json}, {"-h,--help", &o.help},
                              {"--version", &o.version}})
        app.add_flag(name, *flag)->disable_flag_override();
    for (auto [name, values] :
         {std::pair {"--drive", &drive}, {"--size", &size}, {"--repeat", &repeat}, {"--metrics", &metrics}})
        app.add_option(name, *values)
            ->expected(0, 1) // a missing value reads as empty, and is refused below
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->allow_extra_args(false);
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    if (!app.remaining().empty())
        throw CLI::ValidationError("unknown argument \"" + app.remaining().front() + "\"");

    if (auto d = once(drive, "--drive"))
        o.drive = *d;
    if (auto s = once(size, "--size")) {
        o.size = *s;
        bool known = false;
        for (const Rung& r : kLadder)
            known = known || r.caption == o.size;
        if (!known)
            throw CLI::ValidationError("unknown size \"" + o.size + "\"; the sizes are " + ladderCaptions());
    }
    if (auto r = once(repeat, "--repeat")) {
        auto [end, ec] = std::from_chars(r->data(), r->data() + r->size(), o.repeat);
        if (ec != std::errc() || end != r->data() + r->size() || o.repeat < 1)
            throw CLI::ValidationError("--repeat takes a whole number of runs, 1 or more");
    }
    if (auto m = once(metrics, "--metrics"))
        o.metrics = *m;
    if (o.help || o.version)
        return o;
    if (o.list == !drive.empty())
        throw CLI::ValidationError(o.list ? "--list runs no test: give it alone or with --json"
                                          : "give --list or --drive");
    if (o.list && (!size.empty() || !repeat.empty() || !metrics.empty()))
        throw CLI::ValidationError("--list runs no test: give it alone or with --json");
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

std::string passJson(const char* name, const PassRecord& p)
{
    std::string s;
    s += std::string("\"") + name + "_bytes\":" + std::to_string(p.bytes);
    s += std::string(",\"") + name + "_seconds\":" + shortestText(p.seconds);
    s += std::string(",\"") + name + "_mib_per_s\":"
         + (p.seconds > 0 ? shortestText(static_cast<double>(p.bytes) / 1048576.0 / p.seconds) : "null");
    s += std::string(",\"") + name + "_io\":\"" + (p.mode.direct ? "direct" : "cached") + ","
         + (p.mode.async ? "ring" : "synchronous") + "\"";
    return s;
}

// Output that cannot be written (a full device, a closed pipe) is a failure,
// not a quiet success.
bool written(std::ostream& out, std::ostream& err)
{
    errno = 0;
    out.flush();
    if (out)
        return true;
    const int e = errno;
    err << "vantric-cli: cannot write the output" << (e ? std::string(": ") + std::strerror(e) : "") << '\n';
    return false;
}

// One drive of the list; a figure the drive does not give is null.
std::string listJson(const std::string& row, DriveSource& drives)
{
    const std::string letter = row.substr(1, 1);
    // " C:- Hard Disk  Free Space: ...": the caption runs to the first double space.
    const std::string type = row.size() > 5 ? row.substr(5, row.find("  ", 5) - 5) : "";
    std::string mount = "null", fsType = "null", free = "null", total = "null";
    try {
        DriveInfo where = drives.describe(letter);
        mount = jsonString(where.mountPoint);
        fsType = jsonString(where.fsType);
    } catch (const std::exception&) {
    }
    try {
        const DriveSpace space = drives.createObject()->getDrive(letter)->space();
        free = std::to_string(space.available);
        total = std::to_string(space.total);
    } catch (const std::exception&) {
    }
    return "{\"letter\":" + jsonString(letter) + ",\"mount_point\":" + mount + ",\"fs_type\":" + fsType
           + ",\"type\":" + jsonString(type) + ",\"free_bytes\":" + free + ",\"total_bytes\":" + total + "}";
}

bool writeMetrics(FileSystem& fs, StopHooks& stops, const std::string& path, const RunMetrics& m, std::ostream& err)
{
    try {
        // A stop request waits until the file is in place or discarded, so
        // no temporary file is left beside it.
        TerminationCleanup held {stops};
        auto file = fs.createAtomic(path);
        file->write(prometheusText(m));
        file->commit();
        return true;
    } catch (const VantricError& e) {
        err << "vantric-cli: " << e.message() << '\n';
        return false;
    }
}

// The survey, then the list or the runs; fills `metrics` as far as it gets.
int surveyAndRun(const CliOptions& o, Services services, CliStreams io, RunMetrics& metrics)
{
    std::optional<FolderDrive> folderDrive;
    std::string letter;
    if (!o.list) {
        if (auto l = asLetter(o.drive)) {
            letter = *l;
        } else {
            metrics.folder = o.drive;
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
    frmDrive form(ws, Services {drives, services.fs, services.counter, services.clock, services.stops,
                                services.locale, services.programFolder, services.documentsFolder});
    form.Form_Load();
    const auto& listed = ws.rows(Ctl::List1);
    if (o.list) {
        for (const auto& row : listed)
            io.out << (o.json ? listJson(row, drives) : inUserCharset(row)) << '\n';
        return ws.errors() || !written(io.out, io.err) ? 1 : 0;
    }

    int index = -1;
    for (int i = 0; i < static_cast<int>(listed.size()); ++i)
        if (listed[i].size() >= 2 && listed[i].substr(1, 1) == letter)
            index = i;
    if (index < 0) {
        io.err << "vantric-cli: drive " << letter << ": is not in the list of testable drives\n" << kUsage << '\n';
        return 2;
    }
    DriveInfo where;
    try {
        where = drives.describe(letter);
    } catch (const std::exception&) {
    }
    metrics.mountPoint = where.mountPoint;
    metrics.fsType = where.fsType;
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
        } else {
            const RunRecord& rec = form.lastRun();
            io.out << "{\"letter\":" << jsonString(letter) << ",\"mount_point\":" << jsonString(where.mountPoint)
                   << ",\"fs_type\":" << jsonString(where.fsType) << ",\"size\":" << jsonString(o.size) << ','
                   << passJson("write", rec.write) << ',' << passJson("read", rec.read)
                   << ",\"stored_bytes\":" << (rec.stored ? std::to_string(rec.stored->stored) : "null")
                   << ",\"compressed\":" << (!rec.stored ? "null" : rec.stored->compressed ? "true" : "false")
                   << "}\n";
        }
        if (!written(io.out, io.err))
            return 1;
    }
    metrics.record = form.lastRun();
    return 0;
}

} // namespace

ParsedArguments parseCliArguments(const std::vector<std::string>& args)
{
    try {
        return {parse(args), {}};
    } catch (const CLI::Error& e) {
        return {std::nullopt, e.what()};
    }
}

int runCli(const std::vector<std::string>& args, Services services, CliStreams io)
{
    const ParsedArguments parsed = parseCliArguments(args);
    if (!parsed.options) {
        io.err << "vantric-cli: " << parsed.error << '\n' << kUsage << '\n';
        return 2;
    }
    const CliOptions& o = *parsed.options;
    if (o.help) {
        io.out << kUsage << "\n\n"
               << "Lists the drives, or tests one drive the way the Vantric window does:\n"
                  "writes a scratch file two bytes per write, reads its first half back one\n"
                  "byte per read, deletes it, and prints the five log rows of each run.\n\n"
                  "  --list           print the drive list\n"
                  "  --drive D        test drive D (a letter of the list), or the drive\n"
                  "                   holding folder D, with the scratch file in that folder;\n"
                  "                   a one-letter D (C, c or C:) is the drive letter: name\n"
                  "                   a folder called C as ./C\n"
                  "  --size SIZE      test size (default 1M), one of\n"
                  "                   "
               << ladderCaptions().insert(ladderCaptions().find(" 1M"), "\n                  ") << "\n"
                  "  --repeat N       run the test N times\n"
                  "  --json           one JSON object a line: per run, or per drive with --list\n"
                  "  --metrics FILE   write the last run's figures to FILE for Prometheus's\n"
                  "                   textfile collector, replacing it whole; a failed test\n"
                  "                   writes vantric_success 0\n\n"
                  "Options take their value as --size 1M or --size=1M. Exit status: 0 done,\n"
                  "1 a test or the output failed, 2 a bad argument.\n";
        return written(io.out, io.err) ? 0 : 1;
    }
    if (o.version) {
        io.out << "vantric-cli " << VANTRIC_VERSION << '\n';
        return written(io.out, io.err) ? 0 : 1;
    }
    RunMetrics metrics;
    metrics.size = o.size;
    int status = surveyAndRun(o, services, io, metrics);
    if (status != 0)
        metrics.record.reset();
    metrics.endedAt = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (!o.metrics.empty() && !writeMetrics(services.fs, services.stops, o.metrics, metrics, io.err) && status == 0)
        status = 1;
    return status;
}

} // namespace vantric
