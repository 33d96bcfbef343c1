// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "fakes/fake_world.h"
#include "platform/folders.h"
#include "ui/log_save.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace vantric;
using namespace vantric::test;

namespace {

TEST(LogName, MonthBeforeDayAndMinuteAfterTheTwentyFourHour)
{
    struct Case {
        LocalDateTime t;
        const char* digits;
    } cases[] = {
        {{2026, 12, 5, 9, 7, 0}, "2612050907"},
        {{2026, 12, 5, 21, 45, 0}, "2612052145"},
        {{2100, 7, 4, 12, 0, 0}, "0007041200"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(logTimestamp(c.t), c.digits);
}

// The log as a saved file holds it.
std::string crlfLines(const FakeWorld& w)
{
    std::string all;
    for (const auto& row : w.log())
        all += row + "\r\n";
    return all;
}

std::string in(const char* folder, const char* minute = "07")
{
    return folder + std::string(1, pathSeparator()) + "Vantric_Log_26120509" + minute + ".txt";
}

// An empty log is an empty file; a save in the same minute replaces it, another minute adds one.
TEST(Save, EveryRowAsACrLfLineOneFileAMinute)
{
    FakeWorld w;
    w.form.Command4_Click();
    EXPECT_TRUE(w.fs.files.at(in("/fake/prog")).empty());
    w.form.List1_Click();
    w.form.Command4_Click();
    w.form.List1_Click();
    w.form.Command4_Click();
    ASSERT_TRUE(w.ws.errors.empty()) << w.ws.errors[0];
    EXPECT_EQ(w.fs.files.size(), 1u);
    const auto& bytes = w.fs.files[in("/fake/prog")];
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), crlfLines(w));
    ASSERT_EQ(w.ws.messages.size(), 3u);
    EXPECT_EQ(w.ws.messages[2].second, "Log Saved In\r\n" + in("/fake/prog"));
    w.clock.t.minute = 8;
    w.form.Command4_Click();
    EXPECT_EQ(w.fs.files.size(), 2u);
    EXPECT_TRUE(w.fs.files.count(in("/fake/prog", "08")));
}

// Only a folder that may not be written sends the log to the documents; failures keep the earlier file.
TEST(Save, FailuresAndTheDocumentsFallback)
{
    const std::string prog = in("/fake/prog"), docs = in("/fake/docs");
    struct Case {
        const char* name;
        std::map<std::string, int> refuse;
        std::uint64_t fullAfter; // 0: never full
        const char* reason;      // nullptr: saved in the documents
        std::string path;
    } cases[] = {
        {"no space to create it", {{prog, ENOSPC}}, 0, "No space left on device", prog},
        {"disk full", {}, 100, "No space left on device", prog},
        {"EPERM", {{prog, EPERM}}, 0, nullptr, docs},
        {"EROFS", {{prog, EROFS}}, 0, nullptr, docs},
        {"documents refused too", {{prog, EACCES}, {docs, EACCES}}, 0, "Permission denied", docs},
        {"documents full", {{prog, EROFS}}, 100, "No space left on device", docs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorld w;
        w.form.List1_Click();
        w.form.Command4_Click();
        const auto earlier = w.fs.files[prog];
        w.form.List1_Click();
        w.fs.refuseOpen = c.refuse;
        if (c.fullAfter)
            w.fs.fullAfter = w.fs.bytesWritten + c.fullAfter;
        w.form.Command4_Click();
        EXPECT_EQ(w.fs.files[prog], earlier);
        EXPECT_EQ(w.fs.openNow, 0);
        if (!c.reason) {
            ASSERT_TRUE(w.ws.errors.empty()) << w.ws.errors[0];
            const auto& bytes = w.fs.files[docs];
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), crlfLines(w));
            ASSERT_EQ(w.ws.messages.size(), 2u);
            EXPECT_EQ(w.ws.messages[1].second, "Log Saved In\r\n" + docs);
            continue;
        }
        ASSERT_EQ(w.ws.errors.size(), 1u);
        EXPECT_NE(w.ws.errors[0].find(c.reason), std::string::npos) << w.ws.errors[0];
        EXPECT_NE(w.ws.errors[0].find(c.path), std::string::npos) << w.ws.errors[0];
        EXPECT_EQ(w.ws.messages.size(), 1u);
        EXPECT_FALSE(w.fs.files.count(docs));
    }
}

} // namespace
