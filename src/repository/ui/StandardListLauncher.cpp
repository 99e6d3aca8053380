#include "repository/ui/StandardListLauncher.h"

#include "components/ui/QrMessageBox.h"
#include "repository/RepositoryTexts.h"

void OpenStandardWordList(QWidget* parent, const WordIndex&)
{
    // the standard word registration list is not part of the program yet
    CQrMessageBox::Information(parent, ShareText::ListsNotBuilt);
}

void OpenStandardDomainList(QWidget* parent, const DomainIndex&)
{
    CQrMessageBox::Information(parent, ShareText::ListsNotBuilt);
}
