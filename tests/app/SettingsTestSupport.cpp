#include "SettingsTestSupport.h"

#include "options/SettingsStore.h"

namespace tavrin::test {

void SettingsTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    UseFreshStore();
}

void SettingsTest::TearDown()
{
    windows.reset();
    // Back to the folder every window test shares (set up in main).
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

void SettingsTest::UseFreshStore()
{
    configDir = std::make_unique<QTemporaryDir>(dir.filePath(QStringLiteral("config-XXXXXX")));
    ASSERT_TRUE(configDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir->path());
}

void SettingsTest::Start()
{
    windows = std::make_unique<TConverterWindows>(dialogs);
    ASSERT_TRUE(windows->Created());
    Form1().show();
    QApplication::processEvents();
}

void SettingsTest::CloseAndEnd()
{
    ASSERT_TRUE(Form1().close());
    windows.reset();
}

void SettingsTest::ExitAndEnd()
{
    Find<QAction>(Form1(), "Exit1")->trigger();
    windows.reset();
}

void SettingsTest::Restart()
{
    if (windows)
        CloseAndEnd();
    Start();
}

QVariant SettingsTest::Stored(const QString& name) const
{
    return OpenSettingsKey()->value(name);
}

bool SettingsTest::IsStored(const QString& name) const
{
    return OpenSettingsKey()->contains(name);
}

void SettingsTest::Store(const QString& name, const QVariant& value)
{
    const auto key = OpenSettingsKey();
    key->setValue(name, value);
    key->sync();
}

void SettingsTest::Unstore(const QString& name)
{
    const auto key = OpenSettingsKey();
    key->remove(name);
    key->sync();
}

void SettingsTest::StoreAll(const QString& folder, int format, int overwrite, int dropDown,
                            int letterBox, int videoQuality, int audioQuality)
{
    const auto key = OpenSettingsKey();
    key->setValue(QStringLiteral("Output Folder"), folder);
    key->setValue(QStringLiteral("ComboOutputFormat"), format);
    key->setValue(QStringLiteral("Overwrite"), overwrite);
    key->setValue(QStringLiteral("DropDownItems"), dropDown);
    key->setValue(QStringLiteral("LetterBox"), letterBox);
    key->setValue(QStringLiteral("VideoQuality"), videoQuality);
    key->setValue(QStringLiteral("AudioQuality"), audioQuality);
    key->sync();
}

}  // namespace tavrin::test
