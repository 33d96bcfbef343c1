#include "app/qt/command_line.h"

#include <gtest/gtest.h>

#include <cctype>

#include <sstream>
#include <string>
#include <vector>

using namespace vantric;

namespace {

struct Case {
    std::vector<const char*> args;
    CommandLineRequest request;
    int status; // -1: the window opens
};

const Case kCases[] = {
    {{}, CommandLineRequest::OpenWindow, -1},
    {{"--help"}, CommandLineRequest::Help, 0},
    {{"--version"}, CommandLineRequest::Version, 0},
    {{"-h"}, CommandLineRequest::BadUsage, 2},
    {{"--HELP"}, CommandLineRequest::BadUsage, 2},
    {{"--versions"}, CommandLineRequest::BadUsage, 2},
    {{"help"}, CommandLineRequest::BadUsage, 2},
    {{""}, CommandLineRequest::BadUsage, 2},
    {{"--"}, CommandLineRequest::BadUsage, 2},
    {{"--help", "--version"}, CommandLineRequest::BadUsage, 2},
    {{"--version", "extra"}, CommandLineRequest::BadUsage, 2},
    // Qt's own options are not taken either.
    {{"-platform", "offscreen"}, CommandLineRequest::BadUsage, 2},
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << "vantric";
    for (const char* a : c.args)
        *os << " '" << a << "'";
}

struct CommandLine : ::testing::TestWithParam<Case> {
    std::vector<const char*> argv() const
    {
        std::vector<const char*> v {"vantric"};
        v.insert(v.end(), GetParam().args.begin(), GetParam().args.end());
        v.push_back(nullptr);
        return v;
    }
};

TEST_P(CommandLine, AnswersInTextOrLeavesItToTheWindow)
{
    const Case& c = GetParam();
    auto v = argv();
    const int argc = static_cast<int>(v.size()) - 1;
    EXPECT_EQ(parseCommandLine(argc, v.data()), c.request);

    std::ostringstream out, err;
    auto status = answerWithoutWindow(argc, v.data(), out, err);
    if (c.status < 0) {
        EXPECT_FALSE(status.has_value());
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), "");
        return;
    }
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, c.status);
    switch (c.request) {
    case CommandLineRequest::Help:
        EXPECT_EQ(out.str().rfind("usage: vantric [--help | --version]\n", 0), 0u) << out.str();
        EXPECT_NE(out.str().find("  --version  print the version and exit\n"), std::string::npos) << out.str();
        EXPECT_EQ(err.str(), "");
        break;
    case CommandLineRequest::Version:
        EXPECT_EQ(out.str(), std::string("vantric ") + VANTRIC_PROJECT_VERSION + "\n");
        EXPECT_EQ(err.str(), "");
        break;
    default:
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), "usage: vantric [--help | --version]\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kCases), [](const auto& info) {
    // Letters and digits only, as test names must be.
    std::string name = "vantric";
    for (const char* a : info.param.args) {
        name += '_';
        for (const char* p = a; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : (*p == '-' ? 'd' : 'x');
        if (!*a)
            name += "empty";
    }
    return name;
});

TEST(CommandLineOutput, AFailedWriteIsAFailure)
{
    const char* v[] = {"vantric", "--version", nullptr};
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(answerWithoutWindow(2, v, out, err), 1);
}

} // namespace
