#pragma once
// The repository command layer's session: who is signed in and under which alias. The window
// fills it at connect and the status pane and proposal pages read it.
#include <QString>

namespace QrARGate {
void InitializeCommander(int mode, void* reserved);
void FinalizeCommander(int mode);
bool IsCommanderInitialized();
void SetUserProfile(const QString& userName);
void SetDbAliasName(const QString& alias);
QString GetDbAliasName();
QString GetUserNameW();
} // namespace QrARGate
