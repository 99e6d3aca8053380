#include "registration/ui/ProposalModule.h"

#include "components/OutputLog.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "registration/StandardRegistration.h"
#include "repository/QrARGate.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

const QString kModuleFile = QStringLiteral("libtermwise_web.so");
const QString kModuleFailed = QStringLiteral("신청 화면을 열 수 없습니다.\n이유: %1");

// What the module takes from the program (web/exports.list), kept in the program by being
// referenced here even where nothing else calls it.
[[gnu::used]] const void* const kModuleTakes[] = {
    reinterpret_cast<const void*>(&CQrMessageBox::Warning),
    reinterpret_cast<const void*>(&CQrStringUtil::Format),
    reinterpret_cast<const void*>(&OutputLog::Post),
    reinterpret_cast<const void*>(&QrARGate::GetUserNameW),
};

QStringList& ModulePlaces()
{
    static QStringList places;
    return places;
}

} // namespace

namespace ProposalModule {

QStringList Places()
{
    if (!ModulePlaces().isEmpty())
        return ModulePlaces();
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/" TERMWISE_MODULE_DIR))};
}

void SetPlaces(const QStringList& places)
{
    ModulePlaces() = places;
}

Show Load(QString& error)
{
    static Show show = nullptr; // the window's thread only; a loaded module stays loaded
    if (show)
        return show;
    QStringList reasons;
    for (const QString& place : Places()) {
        const QString path = QDir(place).filePath(kModuleFile);
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);
        // Every symbol bound now: a module that does not fit this program fails here, not mid-page.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        show = reinterpret_cast<Show>(library.resolve(kEntry));
        if (show)
            return show;
        reasons << library.errorString();
    }
    error = reasons.isEmpty()
                ? QStringLiteral("%1 파일이 없습니다 (찾아본 곳: %2)").arg(kModuleFile, Places().join(u", "))
                : reasons.join(u'\n');
    return nullptr;
}

void InstallHooks()
{
    StandardRegistration::SetProposalHook([](const MetaWebRequest& request) {
        QString error;
        const Show show = Load(error);
        if (!show) {
            const QString message = kModuleFailed.arg(error);
            OutputLog::Post(message.simplified());
            CQrMessageBox::Warning(QApplication::activeWindow(), message);
            return false;
        }
        return show(request);
    });
    StandardRegistration::SetWaitCursorHook([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

} // namespace ProposalModule
