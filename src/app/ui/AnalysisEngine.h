#pragma once
// The lazy start of the analysis engine: the word extractor, the settings object loaded from
// termwise.json and the local dictionary database "DIC". Runs on the first command that needs
// them and never again while the program runs.
class QWidget;

// Shows the "Termwise Initialize" marquee over the parent while it works. Returns true when
// it ran now, false when the engine had already been started.
bool InitializeAnalysisEngine(QWidget* parent = nullptr);
bool IsAnalysisEngineInitialized();
// Test processes start several main windows; each test starts from a cold engine.
void ResetAnalysisEngineForTests();
