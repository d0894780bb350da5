// Work over a long list shared with a second thread: the first half here, the second there.
#pragma once

#include <cstddef>
#include <memory>

#include <QThread>

namespace history {

// Calls work(part, from, to) for the first half of [0, count) on this thread and, side by side, for
// the second half on a thread of its own; for the whole on this thread when count is under
// sharedFrom. Returns where the second half begins (count when there is none).
template<typename Work> std::size_t sideBySide(std::size_t count, std::size_t sharedFrom, Work &&work)
{
    const std::size_t half = count >= sharedFrom ? count / 2 : count;
    std::unique_ptr<QThread> helper;
    if (half < count) {
        helper.reset(QThread::create([&] { work(1, half, count); }));
        helper->start();
    }
    work(0, 0, half);
    if (helper)
        helper->wait();
    return half;
}

} // namespace history
