// A drive row stays bound to the file system the survey found for it, even
// when the mounts change before the click.

#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_files.h"
#include "platform/errors.h"
#include "fakes/memory_window_system.h"
#include "platform/linux/mount_table.h"
#include "support/error_reason.h"
#include "support/fixed_clock.h"

#include <gtest/gtest.h>

#include <map>

using namespace vantric;

namespace {

const std::string kRoot = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
const std::string kData = "2 1 8:17 / /data rw - ext4 /dev/sdb1 rw\n";
const std::string kSrv = "3 1 8:33 / /srv rw - xfs /dev/sdc1 rw\n";

// The mounts and what the kernel says a folder lies on, as the test sets them.
struct Machine {
    std::string table = kRoot + kData + kSrv;
    std::map<std::string, int> statxIds;
    std::unique_ptr<DriveSource> drives = mountDriveSource({
        .mountInfo = [this] { return table; },
        .sysfsRoot = "/nonexistent",
        .realPath = [](const std::string& p) -> std::optional<std::string> { return p; },
        .mountIdOf = [this](const std::string& p) -> std::optional<int> {
            auto it = statxIds.find(p);
            return it == statxIds.end() ? std::nullopt : std::optional<int>(it->second);
        },
    });
};

TEST(DriveBinding, AClickTestsTheSurveyedFileSystemOrNothing)
{
    const std::string all = kRoot + kData + kSrv;
    const struct {
        const char* name;
        std::string table; // the mounts at the click
        int srvMountId;    // the mount the kernel finds /srv on; 0: it cannot tell
        bool bound;        // E: still runs in /srv
    } changes[] = {
        {"nothing changed", all, 0, true},
        {"another file system mounted before it would shift the letters",
         all + "4 1 0:50 / /mnt/x rw - tmpfs tmpfs rw\n5 1 8:49 / /a rw - ext4 /dev/sdd1 rw\n", 0, true},
        {"unmounted", kRoot + kData, 0, false},
        {"replaced by another at the same mount point", kRoot + kData + "9 1 0:51 / /srv rw - tmpfs tmpfs rw\n", 0, false},
        {"same device mounted again (a new mount)", kRoot + kData + "9 1 8:33 / /srv rw - xfs /dev/sdc1 rw\n", 0, false},
        {"covered by a mount on top", all + "9 3 0:52 / /srv rw - tmpfs tmpfs rw\n", 0, false},
        {"the kernel finds the folder on another mount", all, 7, false},
        {"the kernel agrees", all, 3, true},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        Machine m;
        ASSERT_TRUE(m.drives->createObject()->getDrive("E")); // the survey: C /, D /data, E /srv
        m.table = c.table;
        if (c.srvMountId)
            m.statxIds["/srv"] = c.srvMountId;
        // The letters shown stay those of the survey.
        EXPECT_THROW(m.drives->createObject()->getDrive("F"), VantricError);
        std::vector<ScratchFolder> folders;
        auto e = test::errorOf([&] { folders = m.drives->scratchFolders("E"); });
        if (c.bound) {
            ASSERT_FALSE(e) << e->reason();
            ASSERT_FALSE(folders.empty());
            EXPECT_EQ(folders[0].path, "/srv");
        } else {
            ASSERT_TRUE(e) << "a click on E went ahead";
            EXPECT_EQ(e->path(), "/srv");
            EXPECT_NE(e->reason().find("no longer available"), std::string::npos) << e->reason();
        }
    }
}

TEST(DriveBinding, ARunOnAVanishedDriveTouchesNoFile)
{
    Machine m;
    test::MemoryWindowSystem ws;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    test::FixedClock clock;
    frmDrive form(ws, Services {*m.drives, files, counter, clock, NumericLocale {}, "/prog"});
    form.Form_Load();
    ASSERT_EQ(ws.rowCount(Ctl::List1), 3);
    m.table = kRoot + "4 1 0:50 / /data rw - tmpfs tmpfs rw\n" + kSrv;
    ws.selectRow(Ctl::List1, 1);
    form.List1_Click();
    ASSERT_EQ(ws.errors.size(), 1u);
    EXPECT_NE(ws.errors[0].find("/data"), std::string::npos) << ws.errors[0];
    EXPECT_NE(ws.errors[0].find("D: is no longer available"), std::string::npos) << ws.errors[0];
    EXPECT_TRUE(files.opened.empty());
    EXPECT_EQ(ws.rowCount(Ctl::List2), 0);
    // Another row is still tested where the survey found it.
    ws.selectRow(Ctl::List1, 2);
    form.List1_Click();
    EXPECT_EQ(files.removed, std::vector<std::string> {"/srv/~test.tmp"});
}

} // namespace
