#include "components/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TERMWISE_HAS_ASAN 1
#endif
#endif
#ifndef TERMWISE_HAS_ASAN
#define TERMWISE_HAS_ASAN 0
#endif

namespace Platform {

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool IsTerminal(std::FILE* stream)
{
    if (!stream)
        return false;
    const int fd = fileno(stream);
    // a filtered standard stream has no descriptor of its own
    if (fd < 0 && (stream == stdout || stream == stderr))
        return ::isatty(stream == stdout ? STDOUT_FILENO : STDERR_FILENO) == 1;
    return ::isatty(fd) == 1;
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

namespace {
struct FilteredStream
{
    int fd;
    QByteArray (*filter)(const QByteArray&);
};

ssize_t WriteFiltered(void* cookie, const char* data, size_t size)
{
    const auto* f = static_cast<const FilteredStream*>(cookie);
    const QByteArray out = f->filter(QByteArray::fromRawData(data, qsizetype(size)));
    for (qsizetype done = 0; done < out.size();) {
        const ssize_t n = ::write(f->fd, out.constData() + done, size_t(out.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        done += n;
    }
    return ssize_t(size);
}
} // namespace

void FilterStandardStreams(QByteArray (*filter)(const QByteArray&))
{
#ifdef __GLIBC__
    std::fflush(stdout);
    std::fflush(stderr);
    // Never freed: the streams write through them until the process has ended. Held here
    // too, as glibc keeps its FILE where a leak checker does not look.
    [[maybe_unused]] static FilteredStream* kept[2] = {};
    for (FILE** stream : {&stdout, &stderr}) {
        auto* cookie = new FilteredStream{*stream == stdout ? STDOUT_FILENO : STDERR_FILENO, filter};
        kept[stream == &stdout ? 0 : 1] = cookie;
        cookie_io_functions_t io{};
        io.write = WriteFiltered;
        FILE* wrapped = fopencookie(cookie, "w", io);
        if (!wrapped) {
            kept[stream == &stdout ? 0 : 1] = nullptr;
            delete cookie;
            continue;
        }
        // whole lines reach the filter; the cookie lives as long as the process
        std::setvbuf(wrapped, nullptr, _IOLBF, 1 << 18);
        *stream = wrapped;
    }
#else
    (void)filter;
#endif
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

bool SyncToDisk(std::FILE* stream)
{
    return std::fflush(stream) == 0 && ::fsync(fileno(stream)) == 0;
}

void StartWriteBack(int fd, int64_t from, int64_t length)
{
#ifdef __linux__
    ::sync_file_range(fd, from, length, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
    (void)from;
    (void)length;
#endif
}

bool ReplaceFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

int64_t ReadAt(int fd, char* buffer, size_t size, int64_t offset)
{
    return ::pread(fd, buffer, size, off_t(offset));
}

std::vector<int> OpenSockets()
{
    std::vector<int> fds;
#ifdef __linux__
    const QDir dir(QStringLiteral("/proc/self/fd"));
    for (const QString& name : dir.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const int fd = name.toInt(&ok);
        if (ok && QFileInfo(dir.filePath(name)).symLinkTarget().contains(QLatin1String("socket:")))
            fds.push_back(fd);
    }
#endif
    return fds;
}

void ShutdownSocket(int fd)
{
    ::shutdown(fd, SHUT_RDWR);
}

bool PeerIsSameUser(intptr_t socketDescriptor)
{
#ifdef __linux__
    struct ucred cred
    {
    };
    socklen_t len = sizeof(cred);
    if (getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return cred.uid == getuid();
#else
    (void)socketDescriptor;
    return true;
#endif
}

namespace {
bool WriteAll(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}
} // namespace

LimitedChild::~LimitedChild()
{
    if (m_pid > 0 || m_fd >= 0)
        Finish(true);
}

bool LimitedChild::Start(const Work& work, uint64_t addressSpaceLimit, unsigned cpuSeconds)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
#if !defined(__SANITIZE_ADDRESS__) && !TERMWISE_HAS_ASAN
        struct rlimit mem = {rlim_t(addressSpaceLimit), rlim_t(addressSpaceLimit)};
        setrlimit(RLIMIT_AS, &mem);
#else
        (void)addressSpaceLimit;
#endif
        struct rlimit cpu = {rlim_t(cpuSeconds), rlim_t(cpuSeconds)};
        setrlimit(RLIMIT_CPU, &cpu);
        const int fd = fds[1];
        work([fd](const void* data, size_t size) { return WriteAll(fd, data, size); });
        ::close(fd);
        _exit(0);
    }
    ::close(fds[1]);
    m_fd = fds[0];
    m_pid = pid;
    return true;
}

size_t LimitedChild::Read(char* buffer, size_t size)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 ? 0 : size_t(n);
    }
}

void LimitedChild::Finish(bool kill)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_pid <= 0)
        return;
    int status = 0;
    if (kill)
        ::kill(pid_t(m_pid), SIGKILL);
    while (::waitpid(pid_t(m_pid), &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

} // namespace Platform
