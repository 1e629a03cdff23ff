#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

#include "ui/CExtendedControlsApp.h"
#include "ui/CLanguage.h"
#include "ui/KvSplashDlg.h"
#include "ui/UiText.h"

namespace {

class EnvironmentGuard {
public:
    EnvironmentGuard() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value ? std::make_unique<std::string>(value) : nullptr);
            ::unsetenv(name);
        }
    }
    ~EnvironmentGuard() {
        for (size_t i = 0; i < m_saved.size(); ++i)
            m_saved[i] ? (void)::setenv(kNames[i], m_saved[i]->c_str(), 1) : (void)::unsetenv(kNames[i]);
    }

    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

private:
    std::vector<std::unique_ptr<std::string>> m_saved;
};

// A folder that holds the English string table only.
class EnglishOnlyFolder {
public:
    EnglishOnlyFolder() {
        QFile::copy(CLanguage::shareFolder() + "cairn.en.stc", m_dir.filePath("cairn.en.stc"));
    }
    QString path() const { return m_dir.path() + "/"; }

private:
    QTemporaryDir m_dir;
};

}  // namespace

TEST(CLanguage, LocaleValuesGiveTheirCodeOrEnglish) {
    const std::pair<const char*, const char*> cases[] = {
        {"ca_ES.UTF-8", "ca"}, {"es", "es"}, {"it_IT", "it"}, {"FR_fr", "fr"}, {"en_GB.UTF-8", "en"},
        {"de_DE.UTF-8", "en"}, {"pt", "en"}, {"C", "en"}, {"POSIX", "en"}, {"C.UTF-8", "en"}, {"", "en"},
    };
    for (const auto& [value, code] : cases) EXPECT_EQ(CLanguage::codeOf(value).toStdString(), code) << value;
}

TEST(CLanguage, FirstSetVariableDecidesInTheOrderOfTheLocale) {
    EnvironmentGuard guard;
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "en");
    ::setenv("LANG", "it_IT.UTF-8", 1);
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "it");
    ::setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "fr");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "en");
    ::setenv("LANGUAGE", "", 1);  // set but empty: the next one counts
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "en");
    ::setenv("LANGUAGE", "ca:es", 1);
    EXPECT_EQ(CLanguage::codeFromEnvironment(), "ca");
}

TEST(CExtendedControlsApp, MissingTableOfTheChosenLanguageEndsWithTheFixedMessageEvenWithEnglishThere) {
    EnglishOnlyFolder folder;
    QStringList shown;
    CExtendedControlsApp app([&](const QString& title, const QString& text) { shown << title << text; });
    EXPECT_FALSE(app.initInstance("ca", folder.path()));
    EXPECT_EQ(shown, QStringList({"Cairn", "Language cannot be initialized. Application will be close."}));
    // An unsupported language falls back to English before the file is looked for.
    shown.clear();
    EXPECT_TRUE(app.initInstance(CLanguage::codeOf("de_DE"), folder.path()));
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(loadText(68), "Cairn");
    EXPECT_EQ(QCoreApplication::applicationName(), loadText(82));
}

TEST(CExtendedControlsApp, FindsItsTablesFromAnyWorkingDirectory) {
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    CExtendedControlsApp app([](const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); });
    EXPECT_TRUE(app.initInstance("es", CLanguage::shareFolder()));
    EXPECT_EQ(loadText(37), QString::fromUtf8("Cancelar"));
    QDir::setCurrent(before);
    ASSERT_TRUE(CLanguage::select("en", CLanguage::shareFolder()));
}

TEST(CExtendedControlsApp, CommandLine) {
    auto parsed = CExtendedControlsApp::parseArguments({"--no-splash", "site.kvg"});
    EXPECT_FALSE(parsed.splash);
    EXPECT_EQ(parsed.file, "site.kvg");
    EXPECT_TRUE(parsed.error.isEmpty());
    EXPECT_TRUE(CExtendedControlsApp::parseArguments({"--help"}).help);
    EXPECT_TRUE(CExtendedControlsApp::parseArguments({"--version"}).version);
    EXPECT_FALSE(CExtendedControlsApp::parseArguments({"--bogus"}).error.isEmpty());
    EXPECT_FALSE(CExtendedControlsApp::parseArguments({"a.kvg", "b.kvg"}).error.isEmpty());
    EXPECT_TRUE(CExtendedControlsApp::parseArguments({}).splash);
    EXPECT_EQ(CExtendedControlsApp::parseArguments({"--screenshot", "a.png", "b.kvg"}).screenshot, "a.png");
    EXPECT_EQ(CExtendedControlsApp::parseArguments({"--screenshot", "a.png", "b.kvg"}).file, "b.kvg");
    EXPECT_EQ(CExtendedControlsApp::parseArguments({"--screenshot=a.png"}).screenshot, "a.png");
    EXPECT_FALSE(CExtendedControlsApp::parseArguments({"--screenshot"}).error.isEmpty());
    EXPECT_FALSE(CExtendedControlsApp::parseArguments({"--screenshot="}).error.isEmpty());
}

TEST(KvSplashDlg, EndsAtALeftClickAndNotAtAnotherButton) {
    std::unique_ptr<KvSplashDlg> splash(CExtendedControlsApp().createSplashDlg(CExtendedControlsApp::kSplashMs));
    EXPECT_EQ(splash->size(), QSize(408, 365));
    splash->show();
    QTest::mouseClick(splash.get(), Qt::RightButton);
    EXPECT_TRUE(splash->isVisible());
    QTest::mouseClick(splash.get(), Qt::LeftButton);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(splash->result(), 1);
}

TEST(KvSplashDlg, EndsByItselfAfterItsTime) {
    KvSplashDlg splash(30);
    QTimer fuse;
    fuse.setSingleShot(true);
    QObject::connect(&fuse, &QTimer::timeout, &splash, [&] { splash.done(7); });
    fuse.start(5000);
    EXPECT_EQ(splash.exec(), 1);
}
