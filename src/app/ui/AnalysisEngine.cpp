#include "app/ui/AnalysisEngine.h"

#include "app/ui/AppTexts.h"
#include "components/QrDatabaseManager.h"
#include "components/QrProgressWnd.h"
#include "components/QrWordExtractor.h"
#include "settings/AnalyzeSettings.h"

#include <QWidget>

namespace {
int g_dictionaryInitialized = 0;
}

bool InitializeAnalysisEngine(QWidget* parent)
{
    if (g_dictionaryInitialized)
        return false;
    CQrProgressWnd::ShowMarquee(AppText::InitTitle, AppText::InitText, parent);
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
    if (!extractor.IsInitialize())
        extractor.Initialize();
    CAnalyzeSettings::Instance().Load(); // hands the user words and tags to the extractor
    InitializeDictionaryDatabase();      // "DIC", when termwise.db exists
    CQrProgressWnd::Hide();
    g_dictionaryInitialized = 1;
    return true;
}

bool IsAnalysisEngineInitialized()
{
    return g_dictionaryInitialized != 0;
}

void ResetAnalysisEngineForTests()
{
    g_dictionaryInitialized = 0;
}
