#pragma once
// What each ribbon command does, as its tooltip and status tip, and the reason shown while
// the repository rules keep it disabled.
#include <QString>
#include <map>

class QAction;

namespace CommandTips {
// The sentence for a command id; empty for ids it does not know.
QString Description(int command);
// Why the command is disabled when it is; empty for commands that are always enabled.
QString DisabledReason(int command);
} // namespace CommandTips

// Sets the descriptions and the disabled reasons on the frame's command actions.
void ApplyCommandTips(const std::map<int, QAction*>& commands);
