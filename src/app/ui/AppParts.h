#pragma once
// Where each area plugs its forms, dialogs and request handlers into the main window
// (CMainFrame::RegisterFormFactory / RegisterCommand / RegisterRequestHandler).
// Called once by the application before the main window is created.
void RegisterApplicationParts();
