#pragma once
// How the widgets meet a repository that is not there: the one question after a lost
// connection ("저장소 연결이 끊어졌습니다. 다시 연결하시겠습니까?"), the reason shown on disabled
// controls, and the notice that the connection changed, so an open form or dialog works
// again after a reconnect without being reopened.
//
// The main window installs the question (it owns reconnecting); the forms and dialogs below
// it only call these functions.
#include <QObject>
#include <functional>

class QWidget;

class CRepositoryNotifier : public QObject
{
    Q_OBJECT
public:
    static CRepositoryNotifier& Instance();

Q_SIGNALS:
    // The connection was found lost (reason: the driver's text).
    void Lost(const QString& reason);
    // Connected, reconnected or disconnected: whatever depends on the repository looks again.
    void Changed();

private:
    CRepositoryNotifier();
};

namespace RepositoryUi {
// Asks to reconnect (or disconnect) after a loss; true when connected again afterwards.
using LostQuestion = std::function<bool(QWidget* parent)>;
void SetLostQuestion(LostQuestion question);

// True when the repository can be used now (a cheap probe of the server included). When it
// cannot: a lost connection asks the question (at every call, so that "나중에" never leaves an
// action without its way back), no connection says so. True again when the question reconnected.
bool EnsureUsable(QWidget* parent, bool probe = true);

// After an operation on the repository returned false: the lost question when the
// connection went, else "<what> 실패" with the driver's text in a warning box.
void ReportFailure(QWidget* parent, const QString& what, const QString& error);

// For tooltips of controls that need the repository: empty when it is usable.
QString UnavailableReason();

// The question was asked for the current loss (the window then does not ask again).
bool LossAnswered();
void SetLossAnswered(bool answered);
} // namespace RepositoryUi
