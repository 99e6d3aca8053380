#include "repository/ui/RepositoryUi.h"

#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryTexts.h"

namespace {
RepositoryUi::LostQuestion& Question()
{
    static RepositoryUi::LostQuestion question;
    return question;
}
bool g_lossAnswered = false;
} // namespace

CRepositoryNotifier& CRepositoryNotifier::Instance()
{
    static CRepositoryNotifier notifier;
    return notifier;
}

CRepositoryNotifier::CRepositoryNotifier()
{
    CRepositoryConnection::SetLostListener([this](const QString& reason) {
        if (CRepositoryConnection::Instance().IsLost()) {
            g_lossAnswered = false;
            Q_EMIT Lost(reason);
        }
        Q_EMIT Changed();
    });
}

void RepositoryUi::SetLostQuestion(LostQuestion question)
{
    CRepositoryNotifier::Instance();
    Question() = std::move(question);
}

bool RepositoryUi::LossAnswered()
{
    return g_lossAnswered;
}

void RepositoryUi::SetLossAnswered(bool answered)
{
    g_lossAnswered = answered;
}

QString RepositoryUi::UnavailableReason()
{
    return CRepositoryConnection::Instance().UnavailableReason();
}

bool RepositoryUi::EnsureUsable(QWidget* parent, bool probe)
{
    CRepositoryNotifier::Instance();
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    if (probe ? connection.CheckAlive() : connection.IsConnected())
        return true;
    if (!connection.IsLost()) {
        CQrMessageBox::Information(parent, RepositoryText::NotConnected);
        return false;
    }
    // Asked at every try, not only the first: after "나중에" an action must still offer the
    // way back rather than a box with only 확인.
    if (Question()) {
        g_lossAnswered = true;
        return Question()(parent);
    }
    CQrMessageBox::Warning(parent, connection.UnavailableReason());
    return false;
}

void RepositoryUi::ReportFailure(QWidget* parent, const QString& what, const QString& error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    // a statement outside the gateway (the analysis service) may have met the loss first
    connection.CheckAlive();
    if (connection.IsLost() || !connection.Exists()) {
        EnsureUsable(parent, false);
        return;
    }
    QString text = CQrStringUtil::Format(RepositoryText::OperationFailed, {what});
    if (!error.isEmpty())
        text += u'\n' + error;
    CQrMessageBox::Warning(parent, text);
}
