// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/IniFile.h"
#include "language/Language.h"
#include "language/TranslationTarget.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A window with a caption and three controls: a label, an empty label and a
// combo box (a text, no caption).
class FakeWindow final : public TranslationTarget {
public:
    struct Control {
        QString name;
        std::optional<QString> caption;
        std::optional<QString> text;
    };
    explicit FakeWindow(QString name = QStringLiteral("Form1"))
        : name_(std::move(name))
    {
    }
    QString windowName() const override { return name_; }
    QString caption() const override { return caption_; }
    void setCaption(const QString &c) override { caption_ = c; }
    int controlCount() const override { return controls.size(); }
    QString controlName(int i) const override { return controls.at(i).name; }
    int controlIndex(int) const override { return 0; }
    std::optional<QString> controlCaption(int i) const override { return controls.at(i).caption; }
    void setControlCaption(int i, const QString &c) override { controls[i].caption = c; }
    std::optional<QString> controlText(int i) const override { return controls.at(i).text; }
    void setControlText(int i, const QString &t) override { controls[i].text = t; }

    QVector<Control> controls{{"Command2", QStringLiteral("Annuler"), {}},
                              {"Label9", QString(), {}},
                              {"LangageCombo", {}, QStringLiteral("Français")}};

private:
    QString name_;
    QString caption_ = QStringLiteral("  Options de Dialmeter");
};

// A data folder with a lang folder holding one file.
struct LangFolder {
    explicit LangFolder(const QString &name = QStringLiteral("English"), const QByteArray &content = {})
    {
        QDir(dir.path()).mkpath("lang");
        if (!content.isNull())
            write(name, content);
    }
    void write(const QString &name, const QByteArray &content)
    {
        QFile file(dir.filePath("lang/" + name + ".lang"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir dir;
};

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void unescape_data();
    void unescape();
    void addBackslash();
    void iniReading_data();
    void iniReading();
    void legacyAndUnicodeFilesReadAlike();
    void applyReplacesOnlyNonEmptyWithWhatTheFileGives();
    void selectLanguage();
    void untrustedFilesArePassedOver_data();
    void untrustedFilesArePassedOver();
    void groupWritableFilesOutsideTheSharedFolderAreUsed();
    void messagesComeFromTheMessagesSection();
    void namesNeverLeaveTheLangFolders_data();
    void namesNeverLeaveTheLangFolders();
    void unreadableFileIsReportedOncePerApplication();
    void hostileFilesNeverCrash_data();
    void hostileFilesNeverCrash();
};

void TestLanguage::unescape_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::addRow("line break") << "Deux\\r\\fmots" << "Deux\r\nmots";
    QTest::addRow("backslash n left alone") << "a\\nb" << "a\\nb";
    QTest::addRow("\\r replaced before \\\\") << "a\\\\rb" << "a\\\rb";
    QTest::addRow("double backslash") << "C:\\\\lang" << "C:\\lang";
    QTest::addRow("capital R is no escape") << "a\\Rb" << "a\\Rb";
    QTest::addRow("plain text") << "Annuler" << "Annuler";
}

void TestLanguage::unescape()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(unescapeText(value), expected);
}

void TestLanguage::addBackslash()
{
    QCOMPARE(withBackslash("C:\\Meter"), QStringLiteral("C:\\Meter\\"));
    QCOMPARE(withBackslash("C:\\Meter\\"), QStringLiteral("C:\\Meter\\"));
}

void TestLanguage::iniReading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain") << QByteArray("[Form1]\nCommand2_Caption=Cancel\n") << "Form1" << "Command2_Caption"
                           << "Cancel";
    QTest::addRow("names in other case") << QByteArray("[FORM1]\ncommand2_caption=Cancel\n") << "Form1"
                                         << "Command2_Caption" << "Cancel";
    QTest::addRow("accented key in other case") << QByteArray("[reg]\nDÉCONNEXION_CAPTION=Bye\n") << "reg"
                                                << "Déconnexion_Caption" << "Bye";
    QTest::addRow("first key wins") << QByteArray("[Form1]\nA=1\nA=2\n") << "Form1" << "A" << "1";
    QTest::addRow("key of another section") << QByteArray("[Form2]\nA=1\n[Form1]\nB=2\n") << "Form1" << "A" << "dflt";
    QTest::addRow("empty value is absent") << QByteArray("[Form1]\nA=\n") << "Form1" << "A" << "dflt";
    QTest::addRow("blank value is absent") << QByteArray("[Form1]\nA=   \n") << "Form1" << "A" << "dflt";
    QTest::addRow("blanks trimmed") << QByteArray("[ Form1 ]\n  A  =  un deux  \r\n") << "Form1" << "A" << "un deux";
    QTest::addRow("quotes keep blanks") << QByteArray("[Form1]\nA=\"  Options \"\n") << "Form1" << "A" << "  Options ";
    QTest::addRow("value with equals sign") << QByteArray("[Form1]\nA=x=y\n") << "Form1" << "A" << "x=y";
    QTest::addRow("cut at 127") << QByteArray("[Form1]\nA=" + QByteArray(300, 'x') + "\n") << "Form1" << "A"
                                << QString(127, 'x');
    QTest::addRow("keys before any section") << QByteArray("A=1\n[Form1]\n") << "Form1" << "A" << "dflt";
    QTest::addRow("classic Mac line ends") << QByteArray("[Form1]\rA=1\rB=2\r") << "Form1" << "B" << "2";
    QTest::addRow("byte order mark") << QByteArray("\xEF\xBB\xBF[Form1]\nA=é\n") << "Form1" << "A" << "é";
}

void TestLanguage::iniReading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    IniFile ini;
    ini.parse(file);
    QCOMPARE(ini.value(key, "dflt", section), expected);
}

void TestLanguage::legacyAndUnicodeFilesReadAlike()
{
    const QString text = QStringLiteral("Préférences œuvre € à");
    IniFile utf8, legacy;
    utf8.parse("[Form1]\nFrame2_Caption=" + text.toUtf8());
    QStringEncoder encoder("windows-1252");
    legacy.parse("[Form1]\nFrame2_Caption=" + QByteArray(encoder(text)));
    QCOMPARE(utf8.value("Frame2_Caption", {}, "Form1"), text);
    QCOMPARE(legacy.value("Frame2_Caption", {}, "Form1"), text);
}

void TestLanguage::applyReplacesOnlyNonEmptyWithWhatTheFileGives()
{
    LangFolder folder("English", "[Form1]\nCaption=\"  Dialmeter Options\"\nCommand2_Caption=Cancel\n"
                                 "Label9_Caption=Never applied\nLangageCombo_Text=English\nLangageCombo_Caption=No\n"
                                 "[Form2]\nCommand2_Caption=Other window\n");
    Language language({folder.dir.path()});
    FakeWindow window;
    language.apply({&window}); // no file selected yet: nothing changes
    QCOMPARE(window.controls[0].caption, QStringLiteral("Annuler"));

    QVERIFY(language.select("English"));
    language.apply({&window});
    QCOMPARE(window.caption(), QStringLiteral("  Dialmeter Options"));
    QCOMPARE(window.controls[0].caption, QStringLiteral("Cancel"));
    QCOMPARE(window.controls[1].caption, QString()); // an empty caption is never translated
    QCOMPARE(window.controls[2].text, QStringLiteral("English"));
    QVERIFY(!window.controls[2].caption); // a combo box has no caption to set
}

void TestLanguage::selectLanguage()
{
    LangFolder first("English", "[Form1]\nCommand2_Caption=Cancel\n");
    LangFolder second("English", "[Form1]\nCommand2_Caption=Second\n");
    second.write("Deutsch", "[Form1]\nCommand2_Caption=Abbrechen\n");
    Language language({first.dir.path(), second.dir.path()});

    QVERIFY(language.select("English"));
    QCOMPARE(language.languageFile(), first.dir.filePath("lang/English.lang")); // the first folder wins
    QVERIFY(language.select("Deutsch"));
    QCOMPARE(language.languageFile(), second.dir.filePath("lang/Deutsch.lang"));
    // A language without a file keeps the one in force.
    QVERIFY(!language.select("Français"));
    QCOMPARE(language.languageFile(), second.dir.filePath("lang/Deutsch.lang"));
    // A folder is no language file.
    QDir(first.dir.path()).mkpath("lang/Dossier.lang");
    QVERIFY(!language.select("Dossier"));
    // An empty name puts the built-in texts back.
    QVERIFY(!language.select(QString()));
    QCOMPARE(language.languageFile(), QString());
}

void TestLanguage::untrustedFilesArePassedOver_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("writable by the group") << "group";
    QTest::addRow("writable by everyone") << "others";
    QTest::addRow("a link to a file elsewhere") << "link";
    QTest::addRow("owned by another user") << "owner";
}

void TestLanguage::untrustedFilesArePassedOver()
{
    QFETCH(QString, how);
    // The data folder comes first; a member of its group planted a file there.
    LangFolder shared;
    LangFolder installed("English", "[Form1]\nCommand2_Caption=Cancel\n");
    const QString planted = shared.dir.filePath("lang/English.lang");
    const QByteArray words = "[Form1]\nCommand2_Caption=Planted\n";
    LangFolder elsewhere("English", words);
    if (how == QLatin1String("link")) {
        QVERIFY(QFile::link(elsewhere.dir.filePath("lang/English.lang"), planted));
    } else {
        shared.write("English", words);
    }
    const QByteArray path = QFile::encodeName(planted);
    if (how == QLatin1String("group"))
        QCOMPARE(::chmod(path.constData(), 0664), 0);
    if (how == QLatin1String("others"))
        QCOMPARE(::chmod(path.constData(), 0646), 0);
    if (how == QLatin1String("owner")) {
        if (::geteuid() != 0)
            QSKIP("giving a file to another user needs root");
        QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
    }

    Language language({shared.dir.path(), installed.dir.path()}, shared.dir.path());
    QVERIFY(language.select("English"));
    QCOMPARE(language.languageFile(), installed.dir.filePath("lang/English.lang"));
    FakeWindow window;
    language.apply({&window});
    QCOMPARE(*window.controls[0].caption, QStringLiteral("Cancel"));
}

void TestLanguage::groupWritableFilesOutsideTheSharedFolderAreUsed()
{
    // A checkout made with umask 002, beside the program.
    LangFolder shared;
    LangFolder beside("English", "[Form1]\nCommand2_Caption=Cancel\n");
    QCOMPARE(::chmod(QFile::encodeName(beside.dir.filePath("lang/English.lang")).constData(), 0664), 0);
    Language language({shared.dir.path(), beside.dir.path()}, shared.dir.path());
    QVERIFY(language.select("English"));
    FakeWindow window;
    language.apply({&window});
    QCOMPARE(*window.controls[0].caption, QStringLiteral("Cancel"));
}

void TestLanguage::messagesComeFromTheMessagesSection()
{
    LangFolder folder("English", "[Messages]\nPackageRefused=Not a package: %1\nEmpty=\n");
    Language language({folder.dir.path()});
    const QString builtIn = QStringLiteral("Forfait refusé : %1");
    QCOMPARE(language.message("PackageRefused", builtIn), builtIn); // no file in force yet
    QVERIFY(language.select("English"));
    QCOMPARE(language.message("packagerefused", builtIn), QStringLiteral("Not a package: %1"));
    QCOMPARE(language.message("Empty", builtIn), builtIn);
    QCOMPARE(language.message("Missing", builtIn), builtIn);
}

void TestLanguage::namesNeverLeaveTheLangFolders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("parent folder") << "../secret";
    QTest::addRow("dots only") << "..";
    QTest::addRow("absolute path") << "/tmp/secret";
    QTest::addRow("backslash") << "..\\secret";
    QTest::addRow("sub folder") << "sub/English";
}

void TestLanguage::namesNeverLeaveTheLangFolders()
{
    QFETCH(QString, name);
    LangFolder folder("English", "[Form1]\nCommand2_Caption=Cancel\n");
    QFile secret(folder.dir.filePath("secret.lang"));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("[Form1]\nCommand2_Caption=Leaked\n");
    secret.close();
    QDir(folder.dir.path()).mkpath("lang/sub");
    QFile::copy(folder.dir.filePath("lang/English.lang"), folder.dir.filePath("lang/sub/English.lang"));

    Language language({folder.dir.path()});
    QVERIFY(language.select("English"));
    QVERIFY(!language.select(name));
    QCOMPARE(language.languageFile(), folder.dir.filePath("lang/English.lang"));
}

void TestLanguage::unreadableFileIsReportedOncePerApplication()
{
    LangFolder folder("English", "[Form1]\nCommand2_Caption=Cancel\n");
    Language language({folder.dir.path()});
    QStringList errors;
    language.setErrorHandler([&](const QString &message) { errors << message; });
    QVERIFY(language.select("English"));
    // Make the file unreadable for anyone, root included: a file too large to be a language file.
    QFile file(language.languageFile());
    QVERIFY(file.resize(IniFile::MaxFileSize + 1));

    FakeWindow optionsDialog, trayForm(QStringLiteral("Form2")), aboutBox(QStringLiteral("Form3"));
    language.apply({&optionsDialog, &trayForm, &aboutBox});
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.front().startsWith("ERREUR value "));
    QCOMPARE(optionsDialog.controls[0].caption, QStringLiteral("Annuler"));
    language.apply({&optionsDialog});
    QCOMPARE(errors.size(), 2);
}

void TestLanguage::hostileFilesNeverCrash_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(42);
    for (char &byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    QTest::addRow("binary garbage") << garbage;
    QTest::addRow("huge line") << QByteArray("[Form1]\nCommand2_Caption=" + QByteArray(3 * 1024 * 1024, 'y'));
    QTest::addRow("no sections") << QByteArray("Command2_Caption=Cancel\nCaption=x\n");
    QTest::addRow("unclosed section") << QByteArray("[Form1\nCommand2_Caption=Cancel\n");
    static const char withNul[] = "[Form1]\nCommand2_Caption=Can\0cel\n";
    QTest::addRow("nul bytes") << QByteArray(withNul, sizeof withNul - 1);
    QTest::addRow("escapes only") << QByteArray("[Form1]\nCommand2_Caption=\\\\\\\\\\r\\f\\\n");
    QTest::addRow("surrogate pair at the cut") << QByteArray("[Form1]\nCommand2_Caption=" + QByteArray(126, 'a')
                                                             + "\xF0\x9F\x98\x80" + "\n");
    QTest::addRow("empty") << QByteArray("");
}

void TestLanguage::hostileFilesNeverCrash()
{
    QFETCH(QByteArray, content);
    LangFolder folder("English", content);
    Language language({folder.dir.path()});
    QVERIFY(language.select("English"));
    FakeWindow window;
    language.apply({&window});
    QVERIFY(window.controls[0].caption->size() <= IniFile::MaxValueLength);
    QVERIFY(!window.controls[0].caption->isEmpty());
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
