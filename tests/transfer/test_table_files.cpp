// Table files on disk and the File menu procedures Open, Save As, Save and start-up's default.tbl.
#include <QtTest>

#include <QProcess>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "image/defaults.h"
#include "support/child_process.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/texts.h"
#include "transfer/table_commands.h"
#include "transfer/table_file.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

// Counts what the procedures ask of the window.
class RecordingHost : public TableFileHost {
public:
    void select_band_from_image() override { ++bandSelections; }
    void show_path_in_title(const QString &path) override { titles << path; }
    int bandSelections = 0;
    QStringList titles;
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray imageBytes(const PagerImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.bytes().data()), kImageSize);
}

// A recognisable valid image: the factory defaults with a pattern in the free bytes.
PagerImage sampleImage()
{
    PagerImage image = default_image();
    image[0x390] = 4;
    image[0x360] = 0x81;
    image[0x361] = 0x23;
    image[0x362] = 0x45;
    image[0x3FF] = 0x5A;
    return image;
}

QString formatMessage(const QString &path)
{
    return QString::fromLatin1(text::kNotCorrectFormatHead) + path + QString::fromLatin1(text::kNotCorrectFormatTail);
}

} // namespace

class TestTableFiles : public QObject {
    Q_OBJECT
private slots:
    void init();

    void saveThenOpenGivesBackTheSameBytes();
    void shortValidFileIsAcceptedWithZerosAfterItsEnd();
    void fileShorterThanTheModelFieldIsRefused();
    void bytesBeyond1024AreIgnoredWhenOpening();
    void savingOverALongerFileKeepsItsTail();
    void savingOverAShorterFileLeavesExactly1024Bytes();
    void lowerCaseModelIsRefusedAndTheImageStays();
    void rejectedOpenKeepsTheCurrentFileForSave();
    void openOfAMissingNameSaysSoAndChangesNothing();
    void cancelledDialogsEndSilently();
    void dialogsStartInTheProgramFolderWithTheTableFilter();
    void saveAsAsksBeforeOverwritingAndNoWritesNothing();
    void saveAsYesOverwritesAndNamesTheFileInTheTitle();
    void saveWritesTheCurrentPathWithoutAskingAndLowersTheFlag();
    void saveToAnUnwritableFolderLeavesTheOldFileAndSaysSo();
    void saveThatCannotCreateItsTemporaryFileLeavesTheOldFile();
    void saveThatRunsOutOfSpaceLeavesTheOldFileAndSaysSo();
    void saveToAMissingFolderSaysSo();
    void saveKilledMidwayLeavesTheOldFileWhole_data();
    void saveKilledMidwayLeavesTheOldFileWhole();
    void defaultTableIsOpenedSilentlyWhenPresent();
    void missingDefaultTableChangesNothing();
    void invalidDefaultTableShowsTheFormatMessageAndKeepsTheDefaults();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<ScriptedFileDialogs> m_dialogs;
    std::unique_ptr<ProgramState> m_state;
    RecordingHost m_host;

    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestTableFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messages = std::make_unique<RecordingMessages>();
    m_dialogs = std::make_unique<ScriptedFileDialogs>();
    m_state = std::make_unique<ProgramState>(*m_messages, m_dialogs.get());
    m_state->application_folder = m_dir->path();
    m_state->image = default_image();
    m_host = RecordingHost();
}

void TestTableFiles::saveThenOpenGivesBackTheSameBytes()
{
    const PagerImage saved = sampleImage();
    m_state->image = saved;
    m_dialogs->saveAnswers.enqueue(path("a.tbl"));
    QVERIFY(save_table_as(*m_state, m_host));
    QCOMPARE(fileBytes(path("a.tbl")), imageBytes(saved));

    m_state->image = PagerImage();
    m_dialogs->openAnswers.enqueue(path("a.tbl"));
    QVERIFY(open_table(*m_state, m_host));
    QVERIFY(m_state->image == saved);
    QCOMPARE(m_host.bandSelections, 1);
    QVERIFY(m_messages->shown.isEmpty());
}

void TestTableFiles::shortValidFileIsAcceptedWithZerosAfterItsEnd()
{
    PagerImage image = sampleImage();
    writeBytes(path("short.tbl"), imageBytes(image).left(1023));
    m_dialogs->openAnswers.enqueue(path("short.tbl"));
    QVERIFY(open_table(*m_state, m_host));
    QCOMPARE(int(m_state->image[1023]), 0);
    image[1023] = 0;
    QVERIFY(m_state->image == image);
}

void TestTableFiles::fileShorterThanTheModelFieldIsRefused()
{
    writeBytes(path("cut.tbl"), imageBytes(sampleImage()).left(997)); // model field one byte short
    m_state->image = default_image();
    m_dialogs->openAnswers.enqueue(path("cut.tbl"));
    QVERIFY(!open_table(*m_state, m_host));
    QCOMPARE(m_messages->texts(), QStringList{formatMessage(path("cut.tbl"))});
    QVERIFY(m_state->image == default_image());
}

void TestTableFiles::bytesBeyond1024AreIgnoredWhenOpening()
{
    const PagerImage image = sampleImage();
    writeBytes(path("long.tbl"), imageBytes(image) + QByteArray(1024, '\x77'));
    m_dialogs->openAnswers.enqueue(path("long.tbl"));
    QVERIFY(open_table(*m_state, m_host));
    QVERIFY(m_state->image == image);
}

void TestTableFiles::savingOverALongerFileKeepsItsTail()
{
    QByteArray old(2000, '\0');
    for (int i = 0; i < old.size(); ++i) old[i] = char(i * 7);
    writeBytes(path("old.tbl"), old);

    m_state->image = sampleImage();
    m_state->current_table_path = path("old.tbl");
    QVERIFY(save_table(*m_state, m_host));
    const QByteArray now = fileBytes(path("old.tbl"));
    QCOMPARE(now.size(), 2000);
    QCOMPARE(now.left(1024), imageBytes(m_state->image));
    QCOMPARE(now.mid(1024), old.mid(1024));
}

void TestTableFiles::savingOverAShorterFileLeavesExactly1024Bytes()
{
    writeBytes(path("small.tbl"), QByteArray(10, 'x'));
    m_state->current_table_path = path("small.tbl");
    QVERIFY(save_table(*m_state, m_host));
    QCOMPARE(fileBytes(path("small.tbl")), imageBytes(m_state->image));
}

void TestTableFiles::lowerCaseModelIsRefusedAndTheImageStays()
{
    PagerImage image = sampleImage();
    const char lower[] = "zr730";
    for (int i = 0; i < 5; ++i) image[993 + i] = std::uint8_t(lower[i]);
    writeBytes(path("lower.tbl"), imageBytes(image));

    m_dialogs->openAnswers.enqueue(path("lower.tbl"));
    QVERIFY(!open_table(*m_state, m_host));
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text, formatMessage(path("lower.tbl")));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::None);
    QCOMPARE(m_messages->shown[0].buttons, MsgButtons::Ok);
    QVERIFY(m_state->image == default_image());
    QCOMPARE(m_host.bandSelections, 0);
    QVERIFY(m_host.titles.isEmpty());
}

void TestTableFiles::rejectedOpenKeepsTheCurrentFileForSave()
{
    const QByteArray refused(1024, '\0');
    writeBytes(path("bad.tbl"), refused);
    m_state->current_table_path = path("before.tbl");
    m_dialogs->openAnswers.enqueue(path("bad.tbl"));
    QVERIFY(!open_table(*m_state, m_host));
    QCOMPARE(m_state->current_table_path, path("before.tbl"));

    // File ▸ Save goes to the file still named in the title, never over the refused one.
    QVERIFY(save_table(*m_state, m_host));
    QCOMPARE(fileBytes(path("before.tbl")), imageBytes(m_state->image));
    QCOMPARE(fileBytes(path("bad.tbl")), refused);
}

void TestTableFiles::openOfAMissingNameSaysSoAndChangesNothing()
{
    m_state->current_table_path = path("before.tbl");
    m_dialogs->openAnswers.enqueue(path("nothing-here.tbl"));
    QVERIFY(!open_table(*m_state, m_host));
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("This file is not exit!")});
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::None);
    QCOMPARE(m_state->current_table_path, path("before.tbl"));
    QVERIFY(m_state->image == default_image());
}

void TestTableFiles::cancelledDialogsEndSilently()
{
    m_state->current_table_path = path("before.tbl");
    QVERIFY(!open_table(*m_state, m_host));
    QVERIFY(!save_table_as(*m_state, m_host));
    QVERIFY(m_messages->shown.isEmpty());
    QVERIFY(m_host.titles.isEmpty());
    QCOMPARE(m_state->current_table_path, path("before.tbl"));
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void TestTableFiles::dialogsStartInTheProgramFolderWithTheTableFilter()
{
    open_table(*m_state, m_host);
    QCOMPARE(m_dialogs->lastFolder, m_dir->path());
    QCOMPARE(m_dialogs->lastFilter, QStringLiteral("Table files (*.tbl)|*.tbl"));
    m_dialogs->lastFolder.clear();
    m_dialogs->lastFilter.clear();
    save_table_as(*m_state, m_host);
    QCOMPARE(m_dialogs->lastFolder, m_dir->path());
    QCOMPARE(m_dialogs->lastFilter, QStringLiteral("Table files (*.tbl)|*.tbl"));
}

void TestTableFiles::saveAsAsksBeforeOverwritingAndNoWritesNothing()
{
    const QByteArray old(1024, 'o');
    writeBytes(path("keep.tbl"), old);
    m_state->current_table_path = path("before.tbl");
    m_dialogs->saveAnswers.enqueue(path("keep.tbl"));
    m_messages->answers.enqueue(MsgAnswer::No);
    QVERIFY(!save_table_as(*m_state, m_host));

    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text,
             QStringLiteral("This file is arealy exist ! \nAre you sure overwrite this file?"));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::None);
    QCOMPARE(m_messages->shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(fileBytes(path("keep.tbl")), old);
    QCOMPARE(m_state->current_table_path, path("before.tbl"));
}

void TestTableFiles::saveAsYesOverwritesAndNamesTheFileInTheTitle()
{
    writeBytes(path("over.tbl"), QByteArray(1024, 'o'));
    m_dialogs->saveAnswers.enqueue(path("over.tbl"));
    m_messages->answers.enqueue(MsgAnswer::Yes);
    QVERIFY(save_table_as(*m_state, m_host));
    QCOMPARE(fileBytes(path("over.tbl")), imageBytes(m_state->image));
    QCOMPARE(m_state->current_table_path, path("over.tbl"));
    QCOMPARE(m_host.titles, QStringList{path("over.tbl")});
}

void TestTableFiles::saveWritesTheCurrentPathWithoutAskingAndLowersTheFlag()
{
    writeBytes(path("cur.tbl"), QByteArray(1024, 'o'));
    m_state->current_table_path = path("cur.tbl");
    QVERIFY(save_table(*m_state, m_host));
    QVERIFY(m_messages->shown.isEmpty());
    QVERIFY(!m_state->use_current_path);
    QCOMPARE(fileBytes(path("cur.tbl")), imageBytes(m_state->image));

    // Without a path chosen yet, Save writes the program folder's default.tbl.
    m_state->current_table_path.clear();
    QVERIFY(save_table(*m_state, m_host));
    QCOMPARE(fileBytes(path("default.tbl")), imageBytes(m_state->image));
}

void TestTableFiles::saveToAnUnwritableFolderLeavesTheOldFileAndSaysSo()
{
    const QString folder = path("locked");
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/cfg.tbl");
    QByteArray old(2000, 'q');
    writeBytes(file, old);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool canStillWrite = ::access(folder.toLocal8Bit().constData(), W_OK) == 0;
    if (canStillWrite) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSKIP("this user can write into any folder (the next test covers the failure path)");
    }

    m_state->current_table_path = file;
    const bool saved = save_table(*m_state, m_host);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!saved);
    QCOMPARE(fileBytes(file), old);
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text, QString::fromLatin1(text::kSaveFailedHead) + file
                                            + QStringLiteral("]: the folder is not writable.\nNothing on disk has been changed."));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::None);
    QVERIFY(m_host.titles.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("cfg.tbl")});
}

void TestTableFiles::saveThatCannotCreateItsTemporaryFileLeavesTheOldFile()
{
    // A name at the file-system limit leaves no room for the temporary file's suffix, so the
    // save fails before anything is written, whoever runs it.
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".tbl");
    const QString file = path(name);
    const QByteArray old = QByteArray(1024, 'k') + QByteArray(500, 't');
    writeBytes(file, old);

    m_state->current_table_path = file;
    QVERIFY(!save_table(*m_state, m_host));
    QCOMPARE(fileBytes(file), old);
    QCOMPARE(m_messages->shown.size(), 1);
    const QString text = m_messages->shown[0].text;
    QVERIFY2(text.startsWith(QString::fromLatin1(text::kSaveFailedHead) + file + QStringLiteral("]: ")),
             qPrintable(text));
    QVERIFY(text.endsWith(QString::fromLatin1(text::kSaveFailedTail)));
    QVERIFY(m_host.titles.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{name});
}

void TestTableFiles::saveToAMissingFolderSaysSo()
{
    m_dialogs->saveAnswers.enqueue(path("no/such/folder/x.tbl"));
    QVERIFY(!save_table_as(*m_state, m_host));
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text, QString::fromLatin1(text::kSaveFailedHead) + path("no/such/folder/x.tbl")
                                            + QStringLiteral("]: the folder does not exist.\nNothing on disk has been changed."));
}

void TestTableFiles::saveKilledMidwayLeavesTheOldFileWhole_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("killed while writing") << "during-write" << false;
    QTest::newRow("killed before replacing") << "before-replace" << false;
    QTest::newRow("not killed") << "none" << true;
}

void TestTableFiles::saveKilledMidwayLeavesTheOldFileWhole()
{
    QFETCH(QString, stage);
    QFETCH(bool, replaced);
    const QString file = path("kept.tbl");
    const QByteArray old = QByteArray(1024, '\x11') + "tail";
    writeBytes(file, old);
    QProcess child;
    endWithThisTest(child);
    child.start(QStringLiteral(ZR730_SAVE_CHILD_PATH), {file, stage});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus() == QProcess::CrashExit, !replaced);
    QCOMPARE(fileBytes(file), replaced ? QByteArray(1024, '\x5A') + "tail" : old); // never a mix
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"kept.tbl"}); // nothing left behind

    QVERIFY(save_table_file(file, m_state->image).ok); // the next save works and leaves no stray file
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"kept.tbl"});
}

void TestTableFiles::defaultTableIsOpenedSilentlyWhenPresent()
{
    const PagerImage image = sampleImage();
    writeBytes(path("default.tbl"), imageBytes(image));
    m_state->image = default_image();
    QVERIFY(open_default_table(*m_state, m_host));
    QVERIFY(m_state->image == image);
    QVERIFY(m_messages->shown.isEmpty());
    QVERIFY(!m_state->use_current_path);
    QCOMPARE(m_state->current_table_path, path("default.tbl"));
    QCOMPARE(m_host.titles, QStringList{path("default.tbl")});
    QCOMPARE(m_dialogs->lastFilter, QString()); // no dialog was shown
}

void TestTableFiles::missingDefaultTableChangesNothing()
{
    QVERIFY(!open_default_table(*m_state, m_host));
    QVERIFY(m_messages->shown.isEmpty());
    QVERIFY(m_state->image == default_image());
    QCOMPARE(m_state->current_table_path, path("default.tbl"));
    QCOMPARE(m_host.bandSelections, 0);
}

void TestTableFiles::invalidDefaultTableShowsTheFormatMessageAndKeepsTheDefaults()
{
    writeBytes(path("default.tbl"), QByteArray(1024, '\xFF'));
    QVERIFY(!open_default_table(*m_state, m_host));
    QCOMPARE(m_messages->texts(), QStringList{formatMessage(path("default.tbl"))});
    QVERIFY(m_state->image == default_image());
    QVERIFY(!m_state->use_current_path);
}

void TestTableFiles::saveThatRunsOutOfSpaceLeavesTheOldFileAndSaysSo()
{
    // A file-size limit below the new content stands in for a full disk, and binds root too.
    const QString file = path(QStringLiteral("full.tbl"));
    const QByteArray old = QByteArray(1024, 'o') + QByteArray(976, 't');
    writeBytes(file, old);
    m_state->current_table_path = file;

    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    auto *previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1500;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool ok = save_table(*m_state, m_host);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!ok);
    QCOMPARE(fileBytes(file), old);
    QCOMPARE(m_messages->shown.size(), 1);
    const QString text = m_messages->shown[0].text;
    QVERIFY2(text.contains(QStringLiteral("the disk may be full")), qPrintable(text));
    QVERIFY(text.endsWith(QString::fromLatin1(text::kSaveFailedTail)));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("full.tbl")});
}

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_table_files.moc"
