#include "components/Platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace Platform {

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool IsTerminal(std::FILE* stream)
{
    return stream && ::isatty(fileno(stream)) == 1;
}

QString ErrorText(int errnum)
{
    char buffer[256];
    // GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errnum, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

bool IsNoSpace(int errnum)
{
    return errnum == ENOSPC || errnum == EFBIG || errnum == EDQUOT;
}

int LastError()
{
    return errno;
}

uint64_t AddressSpacePeak()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    unsigned long long kilobytes = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmPeak: %llu kB", &kilobytes) == 1)
            break;
    std::fclose(f);
    return uint64_t(kilobytes) * 1024;
}

uint64_t AddressSpaceLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 0;
    return uint64_t(limit.rlim_cur);
}

QuietStderr::QuietStderr()
{
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0)
        return;
    m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (m_saved >= 0)
        ::dup2(null, STDERR_FILENO);
    ::close(null);
}

QuietStderr::~QuietStderr()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
}

} // namespace Platform
