#pragma once
// The texts the engines keep in the words other programs and scripts know them by (progress
// titles and steps, a few messages), as the window shows them: in Korean. Only the window's
// back ends (progress window, message box, file dialog filters) call it; the engines, the
// command line and the tests keep the original texts.
#include <QString>

namespace WindowWording {
// The Korean text for a known English one (a step text may be followed by a detail such as
// " (3/10)", which is kept); any other text unchanged.
QString Korean(const QString& text);
} // namespace WindowWording
