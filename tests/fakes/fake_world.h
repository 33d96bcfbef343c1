// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The form on test doubles with drive C chosen: one click runs the test.

#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "fakes/fixed_clock.h"

#include <memory_resource>

namespace vantric::test {

// Memory that runs out when `from` is the null resource.
struct ScarceMemory : std::pmr::memory_resource {
    std::pmr::memory_resource* from = std::pmr::new_delete_resource();
    void* do_allocate(std::size_t n, std::size_t align) override { return from->allocate(n, align); }
    void do_deallocate(void* p, std::size_t n, std::size_t align) override { from->deallocate(p, n, align); }
    bool do_is_equal(const memory_resource& o) const noexcept override { return this == &o; }
};

struct FakeWorld {
    static constexpr const char* kRow = " C:- Hard Disk  Free Space: 1,024.00 MB  Total Size: 2,048.00 MB";

    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeFileSystem fs;
    FakeCounter counter;
    FixedClock clock;
    ScarceMemory memory;
    frmDrive form {ws, Services {drives, fs, counter, clock, systemStopHooks(), NumericLocale {}, "/fake/prog",
                                 "/fake/docs", &memory}};

    FakeWorld()
    {
        drives.folders['C'] = {{"/fake/c"}};
        counter.step = 500; // every reading half a second after the last
        ws.addRow(Ctl::List1, kRow);
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1k");
    }
    const std::vector<std::string>& log() const { return ws.rows(Ctl::List2); }
};

// The same on real files: drive C: is the folder `dir`, the run `size`.
struct OneRun {
    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeCounter counter;
    FixedClock clock;
    frmDrive form;
    OneRun(FileSystem& files, const std::string& dir, const char* size)
        : form(ws, Services {drives, files, counter, clock, systemStopHooks(), NumericLocale {}, dir})
    {
        drives.folders['C'] = {{dir}};
        ws.addRow(Ctl::List1, " C:- Hard Disk");
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, size);
    }
};

} // namespace vantric::test
