#include "dictionary/ui/ShareChoiceDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace ShareChoiceDlg {

namespace {
// The link's first line is its caption, the rest its description.
QCommandLinkButton* Link(const QString& text, const QString& name, QWidget* parent)
{
    const qsizetype cut = text.indexOf(u'\n');
    auto* button = new QCommandLinkButton(text.left(cut), cut < 0 ? QString() : text.mid(cut + 1), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}
} // namespace

ShareAnswer Ask(QWidget* parent, const ShareConflict& conflict)
{
    const ShareChoiceTexts texts = ChoiceTexts(conflict);
    // A task dialog: instruction, content, the two links one above the other, the repeat box.
    QDialog box(parent ? parent : QApplication::activeWindow());
    box.setObjectName(QStringLiteral("shareChoice"));
    box.setWindowTitle(texts.title);
    auto* icon = new QLabel(&box);
    icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* instruction = new QLabel(texts.instruction, &box);
    instruction->setObjectName(QStringLiteral("instruction"));
    QFont big = instruction->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    instruction->setFont(big);
    auto* content = new QLabel(texts.content, &box);
    content->setObjectName(QStringLiteral("content"));
    content->setWordWrap(true);
    QCommandLinkButton* local = Link(texts.localLink, QStringLiteral("choice100"), &box);
    QCommandLinkButton* server = Link(texts.serverLink, QStringLiteral("choice101"), &box);
    auto* repeat = new QCheckBox(texts.repeat, &box);

    auto* head = new QHBoxLayout;
    head->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QVBoxLayout;
    text->addWidget(instruction);
    text->addWidget(content);
    head->addLayout(text, 1);
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(head);
    layout->addSpacing(8);
    layout->addWidget(local);
    layout->addWidget(server);
    layout->addSpacing(8);
    layout->addWidget(repeat);
    box.setMinimumWidth(460);

    int command = 0;
    QObject::connect(local, &QCommandLinkButton::clicked, &box, [&] {
        command = kPreferLocal;
        box.accept();
    });
    QObject::connect(server, &QCommandLinkButton::clicked, &box, [&] {
        command = kPreferServer;
        box.accept();
    });
    // The side being written keeps its entry when the dialog is closed without a choice.
    const bool download = conflict.direction == ShareDirection::Download;
    (download ? local : server)->setFocus();
    box.exec();
    ShareAnswer answer;
    answer.choice = command ? ShareChoice(command) : (download ? kPreferLocal : kPreferServer);
    answer.repeat = repeat->isChecked();
    return answer;
}

} // namespace ShareChoiceDlg
