// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "survey/drive_probe.h"

#include "platform/errors.h"

namespace vantric {

namespace {

std::string typeName(int code)
{
    switch (code) {
    case 0: return "Unknown";
    case 1: return "Removable";
    case 2: return "Hard Disk";
    case 3: return "Network";
    case 4: return "CD-ROM";
    case 5: return "RAM Disc";
    default: return {};
    }
}

std::string right(const std::string& s, std::size_t n)
{
    return s.size() <= n ? s : s.substr(s.size() - n);
}

// "Free Space: " / "Total Size: " with the MB form from 1,048,576 bytes up.
std::string spaceCaption(const std::string& lead, std::uint64_t bytes, const NumericLocale& loc)
{
    const double b = static_cast<double>(bytes);
    if (checkedDiv(b, 1024.0) >= 1024.0)
        return lead + formatFixed(checkedDiv(b, 1048576.0), 2, true, true, loc) + " MB";
    return lead + formatFixed(checkedDiv(b, 1024.0), 0, true, true, loc) + " KB";
}

} // namespace

void CheckDrive(FormState& form)
{
    WindowSystem& ws = form.ws;
    bool failed = false;
    // Runs one step; a failure abandons the rest of it and raises the flag.
    auto guarded = [&](auto&& step) -> bool {
        try {
            step();
            return true;
        } catch (const std::exception&) {
            failed = true;
            return false;
        }
    };

    std::string letter;
    std::unique_ptr<FileSystemObject> fso;
    std::unique_ptr<Drive> drive;
    std::string name;

    guarded([&] { letter = ws.caption(Ctl::Text1); });
    guarded([&] { fso = form.svc.drives.createObject(); });
    guarded([&] {
        if (!fso)
            throw VantricError("Drive not found", "No file-system object");
        drive = fso->getDrive(letter);
    });
    guarded([&] {
        if (!drive)
            throw VantricError("Drive not found", "No drive object");
        name = typeName(drive->driveType());
    });

    if (failed) {
        guarded([&] { ws.setCaption(Ctl::lblDrive, "Unit " + ws.caption(Ctl::Text1) + ": not found"); });
        guarded([&] { ws.setCaption(Ctl::lblSN, ""); });
        guarded([&] { ws.setCaption(Ctl::lblFree, ""); });
        guarded([&] { ws.setCaption(Ctl::lblTot, ""); });
        return;
    }

    guarded([&] {
        std::string caption = " ";
        caption.append(drive->driveLetter()).append(":- ").append(name);
        ws.setCaption(Ctl::lblDrive, caption);
    });

    // The drive was found by the letter asked for: its row names that
    // letter, never the one an earlier drive left in lblDrive.
    if (failed) {
        guarded([&] { ws.setCaption(Ctl::lblDrive, " " + letter + ":- " + name); });
        guarded([&] { ws.setCaption(Ctl::lblSN, "Unit not ready"); });
    }

    // Both figures or neither: a failed query leaves them empty, not as an
    // earlier drive left them.
    std::string freeCaption, totalCaption;
    guarded([&] {
        const DriveSpace space = drive->space();
        const std::string free = spaceCaption("Free Space: ", space.available, form.svc.locale);
        totalCaption = spaceCaption("Total Size: ", space.total, form.svc.locale);
        freeCaption = free;
    });
    guarded([&] { ws.setCaption(Ctl::lblFree, freeCaption); });
    guarded([&] { ws.setCaption(Ctl::lblTot, totalCaption); });

    bool excluded = true;
    guarded([&] {
        std::string d = ws.caption(Ctl::lblDrive);
        excluded = right(d, 7) == "Unknown" || right(d, 7) == "Network" || right(d, 6) == "CD-ROM";
    });
    if (excluded)
        return;
    guarded([&] {
        ws.addRow(Ctl::List1, ws.caption(Ctl::lblDrive) + "  " + ws.caption(Ctl::lblFree) + "  "
                                  + ws.caption(Ctl::lblTot));
    });
}

void surveyDrives(FormState& form)
{
    form.ws.loadWait(WaitKind::PleastWait);
    form.ws.showWait(WaitKind::PleastWait);
    form.ws.doEvents();
    for (form.vars.lngIndex = 67; form.vars.lngIndex <= 90; form.vars.lngIndex = checkedNext(form.vars.lngIndex)) {
        form.ws.setCaption(Ctl::Text1, std::string(1, static_cast<char>(form.vars.lngIndex)));
        CheckDrive(form);
    }
    form.ws.unloadWait(WaitKind::PleastWait);
    form.ws.showMain();
}

} // namespace vantric
