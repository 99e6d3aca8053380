#pragma once
// The choice dialog of a sharing conflict: a message box with two command links (100: the
// local entry first, 101: the server's) and the "repeat" check box. Closing it holds.
#include "dictionary/ShareSync.h"

class QWidget;

namespace ShareChoiceDlg {
ShareAnswer Ask(QWidget* parent, const ShareConflict& conflict);
} // namespace ShareChoiceDlg
