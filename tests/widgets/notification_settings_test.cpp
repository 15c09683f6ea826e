// SPDX-License-Identifier: GPL-3.0-or-later
// The notification choices in their QSettings file.
#include "ui/notification_settings.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <optional>

#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

constexpr EventKind kKinds[] = {EventKind::Silence, EventKind::MapChange, EventKind::Players, EventKind::Full};

QString FileIn(const TempDir& folder, const std::string& name) {
  return QString::fromStdString((folder / name).string());
}

TEST(NotificationSettings, OnlySilenceIsOnByDefault) {
  TempDir folder;
  for (const QString& file : {QString(), FileIn(folder, "missing/kestrova.conf")}) {
    const NotificationSettings settings(file);
    EXPECT_TRUE(settings.Enabled(EventKind::Silence));
    EXPECT_FALSE(settings.Enabled(EventKind::MapChange));
    EXPECT_FALSE(settings.Enabled(EventKind::Players));
    EXPECT_FALSE(settings.Enabled(EventKind::Full));
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "missing")) << "reading makes no file";
}

TEST(NotificationSettings, ChoicesAreWrittenAtOnceAndReadBack) {
  TempDir folder;
  const QString file = FileIn(folder, "kestrova/kestrova.conf");
  {
    NotificationSettings settings(file);
    settings.SetEnabled(EventKind::Silence, false);
    settings.SetEnabled(EventKind::Players, true);
    settings.SetEnabled(EventKind::Full, true);
    settings.SetEnabled(EventKind::Full, false);
    EXPECT_TRUE(settings.Enabled(EventKind::Players));
  }
  const NotificationSettings read(file);
  const bool expected[] = {false, false, true, false};
  for (std::size_t i = 0; i < std::size(kKinds); ++i) {
    EXPECT_EQ(read.Enabled(kKinds[i]), expected[i]) << i;
  }
  // A readable INI file, one key per kind that was set.
  const std::string text = ReadFileBytes(folder / "kestrova/kestrova.conf");
  EXPECT_NE(text.find("[notifications]"), std::string::npos) << text;
  EXPECT_NE(text.find("silence=false"), std::string::npos) << text;
  EXPECT_NE(text.find("players=true"), std::string::npos) << text;
  EXPECT_EQ(text.find("map="), std::string::npos) << text;
}

TEST(NotificationSettings, AFileThatCannotBeWrittenKeepsTheChoiceForTheRun) {
  TempDir folder;
  // A plain file where the folder should be.
  WriteFileBytes(folder / "kestrova", "not a folder");
  NotificationSettings settings(FileIn(folder, "kestrova/kestrova.conf"));
  EXPECT_NO_THROW(settings.SetEnabled(EventKind::Full, true));
  EXPECT_TRUE(settings.Enabled(EventKind::Full));
}

TEST(NotificationSettings, TheUserFileLivesInTheConfigurationFolder) {
  const std::optional<QByteArray> saved =
      qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? std::optional(qgetenv("XDG_CONFIG_HOME")) : std::nullopt;
  TempDir folder;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.Path().string()));
  EXPECT_EQ(NotificationSettings::UserFile(), FileIn(folder, "kestrova/kestrova.conf"));
  if (saved) {
    qputenv("XDG_CONFIG_HOME", *saved);
  } else {
    qunsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace kestrova::test
