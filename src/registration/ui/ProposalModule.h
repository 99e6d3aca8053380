#pragma once
// The registration functions' web route: the proposal dialog lives in a module of its own
// (registration/ui/web), loaded at its first use, so the program and every command-line run
// start without Qt WebEngine and the Chromium libraries under it.
#include <QString>
#include <QStringList>

struct MetaWebRequest;

namespace ProposalModule {
// The module's entry: the dialog, modal over the active window; true when the page completed.
using Show = bool (*)(const MetaWebRequest& request);
inline constexpr char kEntry[] = "TermwiseShowProposal";

// The folders looked in, in order: beside the program, then where the package installs it.
QStringList Places();
void SetPlaces(const QStringList& places); // tests: where the build left the module
// The entry, loading the module once; null with the reason when it cannot be loaded.
Show Load(QString& error);
// Installs the web route (loading the module when first taken) and the wait cursor.
void InstallHooks();
} // namespace ProposalModule
