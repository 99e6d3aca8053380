#include "components/ui/QrMessageBox.h"

#include <QAbstractButton>

namespace {
CQrMessageBox::Hook& CurrentHook()
{
    static CQrMessageBox::Hook hook;
    return hook;
}
} // namespace

void CQrMessageBox::SetHook(Hook hook)
{
    CurrentHook() = std::move(hook);
}

QMessageBox::StandardButton CQrMessageBox::Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                                QMessageBox::StandardButtons buttons)
{
    if (CurrentHook())
        return CurrentHook()(icon, text);
    QMessageBox box(icon, QStringLiteral("Termwise"), text, buttons, parent);
    const std::pair<QMessageBox::StandardButton, const char16_t*> captions[] = {
        {QMessageBox::Yes, u"예"}, {QMessageBox::No, u"아니요"}, {QMessageBox::Ok, u"확인"}};
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf16(caption));
    }
    return QMessageBox::StandardButton(box.exec());
}

void CQrMessageBox::Information(QWidget* parent, const QString& text)
{
    Show(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void CQrMessageBox::Warning(QWidget* parent, const QString& text)
{
    Show(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

bool CQrMessageBox::Question(QWidget* parent, const QString& text)
{
    return Show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
