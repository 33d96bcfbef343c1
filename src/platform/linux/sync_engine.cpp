#include "platform/linux/sync_engine.h"

#include <cerrno>
#include <deque>
#include <stdexcept>
#include <unistd.h>

namespace vantric {

namespace {

class SyncEngine : public IoEngine {
public:
    explicit SyncEngine(int fd) : fd_(fd) {}

    bool async() const override { return false; }

    void queue(const Transfer& t) override { done_.add(perform(t)); }

    void submit() override {}

    Completion wait() override { return done_.next(); }

private:
    Completion perform(const Transfer& t) const
    {
        std::size_t total = 0;
        while (total < t.need) {
            const auto off = static_cast<off_t>(t.offset + total);
            ssize_t r = t.write ? ::pwrite(fd_, t.data + total, t.length - total, off)
                                : ::pread(fd_, t.data + total, t.length - total, off);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return {t.slot, total, errno};
            }
            if (r == 0)
                break;
            total += static_cast<std::size_t>(r);
        }
        return {t.slot, total, 0};
    }

    int fd_;
    FinishedTransfers done_;
};

} // namespace

std::unique_ptr<IoEngine> makeSyncEngine(int fd)
{
    return std::make_unique<SyncEngine>(fd);
}

} // namespace vantric
