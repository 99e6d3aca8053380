#pragma once
// Hands the main frame the factories of the logical, physical and domain analysis forms.
void RegisterAnalysisForms();
