#pragma once
// Looks of the main window: the built-in ones and up to ten themes read from Theme/*.ini
// beside the program. A theme file is our own ini: [THEME] NAME and the colours of the look.
#include <QColor>
#include <QString>
#include <map>
#include <vector>

struct ThemeEntry
{
    int id = 0;   // 220..229
    QString name; // [THEME] NAME, at most 40 characters, "THEME" when missing
    QString path;
};

struct ThemeColors
{
    QColor window, windowText, base, alternateBase, text, button, buttonText, highlight, highlightedText;
    QColor ribbonBackground, ribbonPanel, ribbonText, ribbonCaption, accent;
};

class CVisualStyle
{
public:
    static constexpr int kMaxThemes = 10;
    static constexpr int kDefaultLook = 220;

    // Theme files of the folder in name order, at most ten, with ids from 220.
    static std::vector<ThemeEntry> ScanThemes(const QString& folder);
    static QString DefaultThemeFolder(); // <program folder>/Theme
    // False when the file cannot be read; missing colours keep the light defaults.
    static bool ReadTheme(const QString& path, ThemeColors& colors, QString* name = nullptr);
    // Colours of a built-in look (205..210, 215..219); unknown ids give the Windows 7 look.
    static ThemeColors BuiltInColors(int look);
    static bool IsBuiltInLook(int look);

    // The look kept between runs (QSettings "Quarro"/"LEXVAULT5", "ApplicationLook"; default 220).
    static int SavedLook();
    static void SaveLook(int look);

    // Palette and style sheet of the application for the colours.
    static void ApplyToApplication(const ThemeColors& colors);
    static QString RibbonStyleSheet(const ThemeColors& colors);
    // Greyed text: halfway between the text and its background, so it reads as disabled on
    // light and dark looks alike.
    static QColor DisabledText(const QColor& text, const QColor& background);
};
