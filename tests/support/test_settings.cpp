#include <QtTest>

#include <QTemporaryDir>

#include "support/settings.h"

using namespace zr730;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesTheDefaults();
    void valuesAreReadByTheirEntryText();
    void malformedValuesFallBackWithOneSentenceEach();
    void textsKeepTheirCommas();

private:
    QString write(const QByteArray &ini)
    {
        const QString path = m_dir.filePath("zr730.ini");
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(ini);
        return path;
    }
    QTemporaryDir m_dir;
};

void TestSettings::missingFileGivesTheDefaults()
{
    const auto r = load_settings(m_dir.filePath("none.ini"));
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.settings.logoText, QString("VORTEK"));
    QCOMPARE(r.settings.companyText, QString("Kestrane Co., Ltd."));
    QCOMPARE(r.settings.channelPreset100_200, 0);
    QCOMPARE(r.settings.channelPreset400_499, 1);
}

void TestSettings::valuesAreReadByTheirEntryText()
{
    const auto r = load_settings(write("[Logo]\nText=ACME\n[Spacing]\nPreset130_180=Auto\nPreset380_499=10KHz\n"));
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join('\n')));
    QCOMPARE(r.settings.logoText, QString("ACME"));
    QCOMPARE(r.settings.channelPreset100_200, 2);
    QCOMPARE(r.settings.channelPreset400_499, 0);

    const auto gpib = load_settings(write("[Gpib]\nController=lan\nHost=10.0.0.7\nPort=5025\n"));
    QVERIFY(gpib.problems.isEmpty());
    QVERIFY(gpib.settings.gpib.kind == GpibConfig::Kind::Lan);
    QCOMPARE(gpib.settings.gpib.host, std::string("10.0.0.7"));
    QCOMPARE(gpib.settings.gpib.port, 5025);
}

void TestSettings::malformedValuesFallBackWithOneSentenceEach()
{
    const auto r = load_settings(write("[Logo]\nText=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n[Spacing]\nPreset130_180=7KHz\n"));
    QCOMPARE(r.problems.size(), 2);
    QVERIFY(r.problems[0].contains("Logo/Text"));
    QVERIFY(r.problems[1].contains("Spacing/Preset130_180"));
    QVERIFY(r.problems[1].contains("\"5KHz\" is used"));
    QCOMPARE(r.settings.logoText, QString("VORTEK"));
    QCOMPARE(r.settings.channelPreset100_200, 0);

    // A controller without its address is no controller, said once.
    const auto gpib = load_settings(write("[Gpib]\nController=usb\nPort=99999\n"));
    QCOMPARE(gpib.problems.size(), 2);
    QVERIFY(gpib.settings.gpib.kind == GpibConfig::Kind::None);
    QCOMPARE(gpib.settings.gpib.port, 1234);
}

void TestSettings::textsKeepTheirCommas()
{
    const auto r = load_settings(write("[Company]\nText=Kestrane Co.,  Ltd.\n[Logo]\nText=A,B\n"));
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join('\n')));
    QCOMPARE(r.settings.companyText, QString("Kestrane Co.,  Ltd."));
    QCOMPARE(r.settings.logoText, QString("A,B"));

    const auto quoted = load_settings(write("[Company]\nText=\"Acme, Inc.\"\n"));
    QCOMPARE(quoted.settings.companyText, QString("Acme, Inc."));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
