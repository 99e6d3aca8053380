#pragma once
// The calls into the operating system that are neither Qt nor standard C++; no other file of
// src/ makes one. This build has the POSIX ones (Platform.cpp). Another platform supplies the
// same functions with its own calls, or, where it has no such thing, the harmless answer given
// for each. A Windows build needs: nothing for the file-size signal (there is none), _isatty,
// strerror_s, ERROR_DISK_FULL and ERROR_HANDLE_DISK_FULL for IsNoSpace, GetProcessMemoryInfo for
// the peak, the NUL device for QuietStderr, FlushFileBuffers, MoveFileExW with
// MOVEFILE_REPLACE_EXISTING, ReadFile with an OVERLAPPED offset, GetNamedPipeClientProcessId and
// that process's user for the peer, and for LimitedChild a helper process (Windows cannot fork)
// in a job object with JOB_OBJECT_LIMIT_PROCESS_MEMORY and JOB_OBJECT_LIMIT_JOB_TIME, writing
// to a pipe.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace Platform {

// A write past the file-size limit then fails with an error the writer reports, instead of
// ending the process with a signal. Without file-size limits: nothing to do.
void IgnoreFileSizeSignal();

// True when the stream is an interactive terminal (progress may redraw its line).
bool IsTerminal(std::FILE* stream);

// From now on stdout and stderr pass what is written to them through filter on the way to
// their descriptors. Both are line-buffered, so the filter sees whole lines (a line longer than
// the buffer comes in pieces). Where the system cannot wrap a stream: nothing.
void FilterStandardStreams(QByteArray (*filter)(const QByteArray&));

// The system's text for an error number.
QString ErrorText(int errnum);
// The error says the disk is full, a quota or the file-size limit is reached.
bool IsNoSpace(int errnum);
// The last error number of this thread.
int LastError();

// The most address space this process held, and its limit, in bytes (0 when unlimited or
// unknown).
uint64_t AddressSpacePeak();
uint64_t AddressSpaceLimit();

// While alive, the standard error stream goes nowhere: for libraries that print their own
// lines there before returning an error we report better. Restores it when destroyed.
class QuietStderr
{
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

// Waits until what was written to the stream's file (flushed first) is on the disk.
// False with LastError() set when the disk refused.
bool SyncToDisk(std::FILE* stream);

// Starts the disk writes of that byte range of an open file without waiting for them, so a
// later SyncToDisk has little left to wait for. Where the system has no such call: nothing.
void StartWriteBack(int fd, int64_t from, int64_t length);

// Puts the file from in the place of to in one step, replacing it when it exists.
// False with LastError() set.
bool ReplaceFile(const QString& from, const QString& to);

// Reads up to size bytes at the offset of an open file without moving its position (several
// threads may read one file at once). The count read, 0 at the end, -1 on an error.
int64_t ReadAt(int fd, char* buffer, size_t size, int64_t offset);

// The descriptors of this process's open sockets; empty where the system cannot list them.
std::vector<int> OpenSockets();
// Ends both directions of a socket, so that a call waiting on it returns with an error.
void ShutdownSocket(int fd);

// True when the other end of the local socket runs as our user; true where the system
// cannot tell, the socket's own access rights being the guard then.
bool PeerIsSameUser(intptr_t socketDescriptor);

// A child process that runs one function with its address space and CPU time limited, so a
// library that may fault on damaged input can at worst end the child. The function writes
// its answer through the writer it gets; the parent reads it as it comes. Sanitizer builds
// leave the address space unlimited, as the sanitizer reserves terabytes of it.
class LimitedChild
{
public:
    // Hands bytes to the parent; false when it is gone.
    using Writer = std::function<bool(const void* data, size_t size)>;
    using Work = std::function<void(const Writer& write)>;

    LimitedChild() = default;
    // A child still running is killed and waited for.
    ~LimitedChild();
    LimitedChild(const LimitedChild&) = delete;
    LimitedChild& operator=(const LimitedChild&) = delete;

    // Runs work in the child, which then ends. False when no child could start.
    bool Start(const Work& work, uint64_t addressSpaceLimit, unsigned cpuSeconds);
    // Up to size bytes the child wrote; 0 once it has closed its end (or on an error).
    size_t Read(char* buffer, size_t size);
    // Closes our end, kills the child first when kill is set, and waits for it to end.
    void Finish(bool kill);

private:
    int m_fd = -1;
    long m_pid = -1;
};

} // namespace Platform
