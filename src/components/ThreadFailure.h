#pragma once
// Carries an exception out of a worker thread to the thread that joins it. An exception that
// leaves a std::thread ends the process with an abort; carried, a lack of memory in a worker
// ends the command with its message, like one in the calling thread.
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

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

// Joins a worker however the scope is left: on the way out of an exception it raises the
// worker's stop flag first, so the worker never runs on beside a stack that is gone.
class CJoinOnExit
{
public:
    CJoinOnExit(std::thread& worker, std::atomic<bool>& stop) : m_worker(worker), m_stop(stop) {}
    ~CJoinOnExit()
    {
        if (m_worker.joinable()) {
            m_stop = true;
            m_worker.join();
        }
    }
    CJoinOnExit(const CJoinOnExit&) = delete;
    CJoinOnExit& operator=(const CJoinOnExit&) = delete;

private:
    std::thread& m_worker;
    std::atomic<bool>& m_stop;
};
