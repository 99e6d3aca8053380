#pragma once
// Modal message boxes with the program's title. Tests replace the boxes with a hook that
// records the text and gives the answer.
#include <QMessageBox>
#include <functional>
#include <utility>
#include <vector>

class CQrMessageBox
{
public:
    static void Information(QWidget* parent, const QString& text);
    static void Warning(QWidget* parent, const QString& text);
    // Yes/No; true for Yes.
    static bool Question(QWidget* parent, const QString& text);
    // "저장" / "저장 안 함" / "취소" before work is thrown away. A hook may answer with
    // Save/Yes, Discard/No or anything else for cancel.
    enum class EDiscard { Save, Discard, Cancel };
    static EDiscard AskSaveDiscard(QWidget* parent, const QString& text);

    // A question whose buttons carry captions of their own; the standard button pressed
    // (Escape gives the last one listed).
    static QMessageBox::StandardButton
    Choose(QWidget* parent, const QString& text,
           const std::vector<std::pair<QMessageBox::StandardButton, QString>>& buttons);

    // The hook gets the icon and text and returns the button pressed. Empty: real boxes.
    using Hook = std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString&)>;
    static void SetHook(Hook hook);

    // The text as the box shows it: the engines' English texts in Korean, and a text without
    // any Korean (a driver's own words) under a Korean line that says an error stopped the work.
    static QString Shown(const QString& text);
    static inline const QString kForeignError = QStringLiteral("다음 오류로 작업을 마치지 못했습니다.");

private:
    static QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons);
};
