#include "registration/ui/StandardListLauncher.h"

#include "registration/ui/StandardDomainDlg.h"
#include "registration/ui/StandardWordDlg.h"

// No area is given: the registration lists ask for one in their own combo.
void OpenStandardWordList(QWidget* parent, const WordIndex& words)
{
    CStandardWordDlg(words, QString(), parent).exec();
}

void OpenStandardDomainList(QWidget* parent, const DomainIndex& domains)
{
    CStandardDomainDlg(domains, QString(), parent).exec();
}
