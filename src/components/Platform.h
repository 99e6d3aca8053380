#pragma once
// The calls into the operating system that are neither Qt nor standard C++. This build has
// the POSIX ones; another platform supplies the same functions with its own calls (or, where
// it has no such thing, the harmless answer given for each).
#include <QString>
#include <cstdint>
#include <cstdio>

namespace Platform {

// A write past the file-size limit then fails with an error the writer reports, instead of
// ending the process with a signal. Without file-size limits: nothing to do.
void IgnoreFileSizeSignal();

// True when the stream is an interactive terminal (progress may redraw its line).
bool IsTerminal(std::FILE* stream);

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

} // namespace Platform
