#pragma once
#include <QColor>
#include <QPalette>
#include <QSettings>
#include <QString>
#include <QStringList>

// The palette of a desktop colour scheme file in qt6ct's format: under [ColorScheme], the keys
// active_colors, disabled_colors and inactive_colors each list one colour (#AARRGGBB) per
// palette role in the order of QPalette::ColorRole. Roles a list leaves out keep Qt's default.
inline QPalette PaletteFromSchemeFile(const QString& path) {
  QSettings scheme(path, QSettings::IniFormat);
  QPalette palette;
  const std::pair<const char*, QPalette::ColorGroup> groups[] = {
      {"ColorScheme/active_colors", QPalette::Active},
      {"ColorScheme/disabled_colors", QPalette::Disabled},
      {"ColorScheme/inactive_colors", QPalette::Inactive}};
  for (const auto& [key, group] : groups) {
    const QStringList colors = scheme.value(key).toStringList();
    for (int role = 0; role < colors.size() && role < QPalette::NColorRoles; ++role)
      if (role != QPalette::NoRole)
        palette.setColor(group, static_cast<QPalette::ColorRole>(role),
                         QColor(colors[role].trimmed()));
  }
  return palette;
}
