#include "components/ui/QrMessageBox.h"

#include "components/ui/WindowWording.h"

#include <algorithm>

#include <QAbstractButton>
#include <QPushButton>

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

QString CQrMessageBox::Shown(const QString& text)
{
    const QString korean = WindowWording::Korean(text);
    // A driver's or a library's own words alone tell the user nothing of what failed.
    const bool hangul = std::any_of(korean.begin(), korean.end(), [](QChar c) {
        return (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3) || (c.unicode() >= 0x3131 && c.unicode() <= 0x318E);
    });
    return hangul || korean.trimmed().isEmpty() ? korean : kForeignError + QStringLiteral("\n\n") + korean;
}

QMessageBox::StandardButton CQrMessageBox::Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                                QMessageBox::StandardButtons buttons)
{
    if (CurrentHook())
        return CurrentHook()(icon, text);
    QMessageBox box(icon, QStringLiteral("Termwise"), Shown(text), buttons, parent);
    // messages carry names the user typed or a file held; "<b>" in one is text, not markup
    box.setTextFormat(Qt::PlainText);
    const std::pair<QMessageBox::StandardButton, const char16_t*> captions[] = {
        {QMessageBox::Yes, u"예"},    {QMessageBox::No, u"아니요"},          {QMessageBox::Ok, u"확인"},
        {QMessageBox::Save, u"저장"}, {QMessageBox::Discard, u"저장 안 함"}, {QMessageBox::Cancel, u"취소"}};
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf16(caption));
    }
    if (buttons & QMessageBox::Cancel) {
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    box.exec();
    // exec() gives the role for custom captions; the clicked button tells which it was
    return box.standardButton(box.clickedButton());
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

CQrMessageBox::EDiscard CQrMessageBox::AskSaveDiscard(QWidget* parent, const QString& text)
{
    switch (Show(parent, QMessageBox::Question, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save:
    case QMessageBox::Yes:
        return EDiscard::Save;
    case QMessageBox::Discard:
    case QMessageBox::No:
        return EDiscard::Discard;
    default:
        return EDiscard::Cancel;
    }
}

QMessageBox::StandardButton
CQrMessageBox::Choose(QWidget* parent, const QString& text,
                      const std::vector<std::pair<QMessageBox::StandardButton, QString>>& buttons)
{
    if (CurrentHook())
        return CurrentHook()(QMessageBox::Question, text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Termwise"), Shown(text), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    for (const auto& [button, caption] : buttons)
        box.addButton(button)->setText(caption);
    if (!buttons.empty()) {
        box.setDefaultButton(buttons.front().first);
        box.setEscapeButton(box.button(buttons.back().first));
    }
    box.exec();
    return box.standardButton(box.clickedButton());
}
