#pragma once
// Carries an exception out of a worker thread to the thread that joins it. An exception that
// leaves a std::thread ends the process with an abort; carried, a lack of memory in a worker
// ends the command with its message, like one in the calling thread.
#include <atomic>
#include <exception>
#include <mutex>

class CThreadFailure
{
public:
    // Runs body, keeping the first exception of any thread that runs through here.
    template <class Body> void Run(Body&& body) noexcept
    {
        try {
            body();
        } catch (...) {
            std::lock_guard lock(m_mutex);
            if (!m_failure)
                m_failure = std::current_exception();
            m_failed = true;
        }
    }
    bool Failed() const { return m_failed.load(); }
    // After the join: the worker's exception goes on in this thread.
    void Rethrow()
    {
        std::lock_guard lock(m_mutex);
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    std::mutex m_mutex;
    std::exception_ptr m_failure;
    std::atomic<bool> m_failed{false};
};
