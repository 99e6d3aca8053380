#include "app/ui/AboutDlg.h"

#include "app/ui/AppTexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(AppText::AboutTitle);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const QIcon appIcon = parent ? parent->windowIcon() : style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    icon->setPixmap(appIcon.pixmap(32, 32));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QLabel(AppText::AboutText, this);
    text->setObjectName(QStringLiteral("AboutText"));
    row->addWidget(text, 1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(AppText::Ok, QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
