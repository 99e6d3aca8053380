#pragma once
// Where the shared-data dialog hands picked words and domains to the standard registration
// lists. One place, so those lists plug in here.
#include "settings/AnalyzeRecords.h"

class QWidget;

void OpenStandardWordList(QWidget* parent, const WordIndex& words);
void OpenStandardDomainList(QWidget* parent, const DomainIndex& domains);
