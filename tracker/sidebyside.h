// Work over a long list shared with a second thread: the first half here, the second there.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>

#include <QThread>

namespace history {

// Calls work(part, from, to) for the first half of [0, count) on this thread and, side by side, for
// the second half on a thread of its own; for the whole on this thread when count is under
// sharedFrom. Returns where the second half begins (count when there is none). Either half may
// throw: the other is waited for, and then the first exception goes on to the caller.
template<typename Work> std::size_t sideBySide(std::size_t count, std::size_t sharedFrom, Work &&work)
{
    const std::size_t half = count >= sharedFrom ? count / 2 : count;
    if (half == count) {
        work(0, 0, count);
        return count;
    }
    std::exception_ptr helperFault;
    const std::unique_ptr<QThread> helper(QThread::create([&] {
        try {
            work(1, half, count);
        } catch (...) {
            helperFault = std::current_exception();
        }
    }));
    helper->start();
    try {
        work(0, 0, half);
    } catch (...) {
        helper->wait();
        throw;
    }
    helper->wait();
    if (helperFault)
        std::rethrow_exception(helperFault);
    return half;
}

} // namespace history
