#include "ShellTestEnv.h"

#include <QSettings>
#include <QTemporaryDir>

namespace {
struct ShellEnv
{
    QTemporaryDir runtime; // created with mode 700, as Qt wants
    QTemporaryDir config;
    ShellEnv()
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        // local server names resolve in the temporary folder: without this a Termwise that is
        // running (or a test run beside this one) would answer for "ZT_TERMWISE"
        qputenv("TMPDIR", runtime.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    }
};
ShellEnv& Env()
{
    static ShellEnv env;
    return env;
}
// before main(): the settings paths must be set before the first QSettings is made
const bool g_envReady = (Env(), true);
} // namespace

QString ShellRuntimeDir()
{
    return Env().runtime.path();
}
