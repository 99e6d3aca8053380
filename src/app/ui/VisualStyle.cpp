#include "app/ui/VisualStyle.h"

#include "app/ui/AppTexts.h"
#include "components/QrGlobalUtil.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

namespace {
ThemeColors Light()
{
    ThemeColors c;
    c.window = QColor(0xf0, 0xf0, 0xf0);
    c.windowText = QColor(0x1e, 0x1e, 0x1e);
    c.base = Qt::white;
    c.alternateBase = QColor(0xf7, 0xf7, 0xf7);
    c.text = c.windowText;
    c.button = QColor(0xe9, 0xe9, 0xe9);
    c.buttonText = c.windowText;
    c.highlight = QColor(0x33, 0x99, 0xff);
    c.highlightedText = Qt::white;
    c.ribbonBackground = QColor(0xdf, 0xe9, 0xf5);
    c.ribbonPanel = QColor(0xf5, 0xf9, 0xfd);
    c.ribbonText = c.windowText;
    c.ribbonCaption = QColor(0x3e, 0x50, 0x6a);
    c.accent = QColor(0x2a, 0x5c, 0xaa);
    return c;
}

ThemeColors Office(QColor ribbon, QColor panel, QColor accent, QColor caption)
{
    ThemeColors c = Light();
    c.ribbonBackground = ribbon;
    c.ribbonPanel = panel;
    c.accent = accent;
    c.highlight = accent;
    c.ribbonCaption = caption;
    return c;
}
} // namespace

std::vector<ThemeEntry> CVisualStyle::ScanThemes(const QString& folder)
{
    std::vector<ThemeEntry> themes;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return themes;
    const QStringList files =
        dir.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        if (int(themes.size()) >= kMaxThemes)
            break;
        ThemeEntry e;
        e.id = AppCmd::LookFirstTheme + int(themes.size());
        e.path = dir.filePath(file);
        ThemeColors ignored;
        ReadTheme(e.path, ignored, &e.name);
        themes.push_back(e);
    }
    return themes;
}

QString CVisualStyle::DefaultThemeFolder()
{
    // Beside the program in a build tree; the installed package keeps them in share/termwise.
    const QString beside = CQrGlobalUtil::GetPathProgram() + QStringLiteral("/Theme");
    const QString installed = CQrGlobalUtil::GetPathProgram() + QStringLiteral("/../share/termwise/Theme");
    if (!QDir(beside).exists() && QDir(installed).exists())
        return QDir::cleanPath(installed);
    return beside;
}

bool CVisualStyle::ReadTheme(const QString& path, ThemeColors& colors, QString* name)
{
    colors = Light();
    if (name)
        *name = QStringLiteral("THEME");
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError || !QFileInfo::exists(path))
        return false;
    ini.beginGroup(QStringLiteral("THEME"));
    if (name) {
        // the ini reader splits an unquoted value at commas; a name may well contain one
        const QVariant v = ini.value(QStringLiteral("NAME"));
        const QString n =
            (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString())
                .trimmed();
        if (!n.isEmpty())
            *name = n.left(40);
    }
    auto read = [&ini](const char* key, QColor& target) {
        const QColor c = QColor::fromString(ini.value(QLatin1String(key)).toString().trimmed());
        if (c.isValid())
            target = c;
    };
    read("Window", colors.window);
    read("WindowText", colors.windowText);
    read("Base", colors.base);
    read("AlternateBase", colors.alternateBase);
    read("Text", colors.text);
    read("Button", colors.button);
    read("ButtonText", colors.buttonText);
    read("Highlight", colors.highlight);
    read("HighlightedText", colors.highlightedText);
    read("RibbonBackground", colors.ribbonBackground);
    read("RibbonPanel", colors.ribbonPanel);
    read("RibbonText", colors.ribbonText);
    read("RibbonCaption", colors.ribbonCaption);
    read("Accent", colors.accent);
    return true;
}

bool CVisualStyle::IsBuiltInLook(int look)
{
    return (look >= 205 && look <= 210) || (look >= 215 && look <= 219);
}

ThemeColors CVisualStyle::BuiltInColors(int look)
{
    switch (look) {
    case 215: // Office 2007 blue
        return Office(QColor(0xbf, 0xdb, 0xff), QColor(0xdb, 0xe8, 0xf9), QColor(0x15, 0x42, 0x8b),
                      QColor(0x15, 0x42, 0x8b));
    case 216: { // black
        ThemeColors c = Office(QColor(0x53, 0x53, 0x53), QColor(0xe1, 0xe1, 0xe1), QColor(0x2b, 0x2b, 0x2b),
                               QColor(0x46, 0x46, 0x46));
        return c;
    }
    case 217: // silver
        return Office(QColor(0xd0, 0xd4, 0xdd), QColor(0xee, 0xf0, 0xf3), QColor(0x4c, 0x53, 0x5c),
                      QColor(0x4c, 0x53, 0x5c));
    case 218: // aqua
        return Office(QColor(0xc4, 0xd9, 0xd6), QColor(0xe4, 0xef, 0xee), QColor(0x1f, 0x6b, 0x75),
                      QColor(0x1f, 0x6b, 0x75));
    default:
        return Light();
    }
}

int CVisualStyle::SavedLook()
{
    QSettings s(AppText::SettingsOrg, AppText::SettingsApp);
    bool ok = false;
    const int look = s.value(AppText::LookKey, kDefaultLook).toInt(&ok);
    return ok ? look : kDefaultLook;
}

void CVisualStyle::SaveLook(int look)
{
    QSettings s(AppText::SettingsOrg, AppText::SettingsApp);
    s.setValue(AppText::LookKey, look);
}

void CVisualStyle::ApplyToApplication(const ThemeColors& c)
{
    // one style for every look; changing it again would reset the palettes of existing widgets
    if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0) {
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(fusion);
    }
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::WindowText, c.windowText);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.alternateBase);
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::ButtonText, c.buttonText);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, c.highlightedText);
    p.setColor(QPalette::ToolTipBase, c.base);
    p.setColor(QPalette::ToolTipText, c.text);
    p.setColor(QPalette::PlaceholderText, DisabledText(c.text, c.base));
    p.setColor(QPalette::Disabled, QPalette::WindowText, DisabledText(c.windowText, c.window));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, DisabledText(c.buttonText, c.button));
    p.setColor(QPalette::Disabled, QPalette::Text, DisabledText(c.text, c.base));
    QApplication::setPalette(p);
}

QString CVisualStyle::RibbonStyleSheet(const ThemeColors& c)
{
    return QStringLiteral("#RibbonBar { background: %1; border-bottom: 1px solid %5; }"
                          "#RibbonPages { background: %2; border-top: 1px solid %5; }"
                          "#RibbonPanel QToolButton { color: %3; padding: 2px 3px; border: 1px solid transparent;"
                          " border-radius: 2px; }"
                          "#RibbonPanel QToolButton:hover { border-color: %5; }"
                          // the button the keyboard is on must show, also without a mouse
                          "#RibbonPanel QToolButton:focus { border: 2px solid %5; padding: 1px 2px; }"
                          "#RibbonPanel QToolButton:disabled { color: %6; }"
                          "#RibbonAppButton:focus { border: 2px solid %3; }"
                          "#RibbonPanelCaption { color: %4; }"
                          "#RibbonAppButton { background: %5; color: white; font-weight: bold; border: none;"
                          " padding: 4px 12px; border-top-left-radius: 3px; border-top-right-radius: 3px; }"
                          "#RibbonAppButton::menu-indicator { image: none; width: 0px; }"
                          "#RibbonTabs::tab { padding: 4px 14px; color: %3; background: transparent; border: none; }"
                          "#RibbonTabs::tab:selected { background: %2; border: 1px solid %5; border-bottom: none; }")
        .arg(c.ribbonBackground.name(), c.ribbonPanel.name(), c.ribbonText.name(), c.ribbonCaption.name(),
             c.accent.name(), DisabledText(c.ribbonText, c.ribbonPanel).name());
}

QColor CVisualStyle::DisabledText(const QColor& text, const QColor& background)
{
    const QColor a = text.toRgb();
    const QColor b = background.toRgb();
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
