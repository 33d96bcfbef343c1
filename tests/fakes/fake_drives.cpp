#include "fakes/fake_drives.h"

namespace vantric::test {

namespace {

int consume(int& failures)
{
    if (failures < 0)
        return 1;
    if (failures > 0) {
        --failures;
        return 1;
    }
    return 0;
}

class Handle : public Drive {
public:
    Handle(FakeDrive& d, char letter) : d_(d), letter_(letter) {}
    int driveType() override
    {
        if (d_.failType)
            throw VantricError("Query failed", "type");
        return d_.type;
    }
    std::string driveLetter() override
    {
        if (d_.failLetter)
            throw VantricError("Query failed", "letter");
        return d_.letter.empty() ? std::string(1, letter_) : d_.letter;
    }
    double availableSpace() override
    {
        if (consume(d_.availFailures))
            throw VantricError("Query failed", "available space");
        return d_.avail;
    }
    double totalSize() override
    {
        if (consume(d_.totalFailures))
            throw VantricError("Query failed", "total size");
        return d_.total;
    }

private:
    FakeDrive& d_;
    char letter_;
};

class Fso : public FileSystemObject {
public:
    explicit Fso(FakeDriveSource& src) : src_(src) {}
    std::unique_ptr<Drive> getDrive(const std::string& letter) override
    {
        src_.asked.push_back(letter);
        auto it = letter.size() == 1 ? src_.drives.find(letter[0]) : src_.drives.end();
        if (it == src_.drives.end())
            throw VantricError("Drive not found", letter);
        return std::make_unique<Handle>(it->second, letter[0]);
    }

private:
    FakeDriveSource& src_;
};

} // namespace

std::unique_ptr<FileSystemObject> FakeDriveSource::createObject()
{
    if (failCreate)
        throw VantricError("Cannot create the object", "refused");
    return std::make_unique<Fso>(*this);
}

std::vector<ScratchFolder> FakeDriveSource::scratchFolders(const std::string& letter)
{
    auto it = letter.size() == 1 ? folders.find(letter[0]) : folders.end();
    if (it == folders.end())
        throw VantricError("Cannot test the drive", "No file system has the letter " + letter);
    return it->second;
}

DriveInfo FakeDriveSource::describe(const std::string& letter)
{
    auto it = letter.size() == 1 ? info.find(letter[0]) : info.end();
    if (it == info.end())
        throw VantricError("Cannot test the drive", "No file system has the letter " + letter);
    return it->second;
}

std::optional<std::string> FakeDriveSource::letterHolding(const std::string& folder)
{
    auto it = holding.find(folder);
    if (it == holding.end())
        return std::nullopt;
    return it->second;
}

} // namespace vantric::test
