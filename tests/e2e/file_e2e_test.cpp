// Loading command files and saving the log when things go wrong, and the "Open" button, with the
// window on a simulated device.
#ifndef _WIN32
#include <sys/fsuid.h>
#include <unistd.h>
#endif

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <set>

#include "app/services/application_title.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

enum class LoadWay { EditAndEnter, Picker };
enum class SaveTarget { FileInReadOnlyDirectory, ExistingDirectory, EmptyName };

#ifndef _WIN32
// The user id of "nobody", whom a read-only directory keeps out even where the tests run as root.
constexpr uid_t kNobody = 65534;

// While it lives, file access on this thread is checked as for an ordinary user: root passes
// every permission check, which would let a save into a read-only directory succeed.
class OrdinaryFileAccess {
public:
    OrdinaryFileAccess() : previous_(static_cast<uid_t>(setfsuid(geteuid() == 0 ? kNobody : -1))) {}
    ~OrdinaryFileAccess() { setfsuid(previous_); }
    OrdinaryFileAccess(const OrdinaryFileAccess&) = delete;
    OrdinaryFileAccess& operator=(const OrdinaryFileAccess&) = delete;

    static bool Ordinary() { return setfsuid(-1) != 0; }

private:
    uid_t previous_;
};
#endif

std::set<std::string> NamesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace

Q_DECLARE_METATYPE(LoadWay)
Q_DECLARE_METATYPE(SaveTarget)

class FileE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void openWithANameLoadsTheFileAndItPlays();
    void openWithoutANameSaysNoFileIsSelected();
    void aFileThatCannotBeOpenedIsReported_data();
    void aFileThatCannotBeOpenedIsReported();
    void aFailedSaveLeavesTheOldFileAndTheLog_data();
    void aFailedSaveLeavesTheOldFileAndTheLog();
};

void FileE2eTest::openWithANameLoadsTheFileAndItPlays() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    const std::string path = scenario.File("cmds.txt");
    WriteBytes(path, "G0\r\nG1\r\n");

    Type(window.LoadEdit, QString::fromStdString(path));
    Click(window.GoButton);

    QCOMPARE(window.UploadFile->toPlainText(), QString("G0\nG1\n"));
    QVERIFY(scenario.Boxes().boxes.empty());
    Click(window.PlayButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"--> G0", "<-- OK", "--> G1", "<-- OK"}));
    QCOMPARE(device.Wire(), QByteArray("G0\rG1\r"));
}

void FileE2eTest::openWithoutANameSaysNoFileIsSelected() {
    Scenario scenario;
    scenario.StartDevice();
    TMainForm& window = scenario.OpenWindow();
    const QString before = window.UploadFile->toPlainText();

    Click(window.GoButton);

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QString("No File Selected"));
    QCOMPARE(boxes[0].caption, QString("Can't Load File"));
    QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
    QCOMPARE(window.UploadFile->toPlainText(), before);
}

void FileE2eTest::aFileThatCannotBeOpenedIsReported_data() {
    QTest::addColumn<LoadWay>("way");
    QTest::addColumn<bool>("named");  // the name of a file that does not exist, or no name
    QTest::addColumn<bool>("areaKept");
    QTest::newRow("missing, Enter") << LoadWay::EditAndEnter << true << true;
    QTest::newRow("missing, picker") << LoadWay::Picker << true << false;
    QTest::newRow("no name, Enter") << LoadWay::EditAndEnter << false << true;
}

void FileE2eTest::aFileThatCannotBeOpenedIsReported() {
    QFETCH(LoadWay, way);
    QFETCH(bool, named);
    QFETCH(bool, areaKept);
    Scenario scenario;
    TMainForm& window = scenario.OpenWindow();
    LoadCommandFile(window, scenario.File("first.txt"), "KEEP\r\n");
    QCOMPARE(window.UploadFile->toPlainText(), QString("KEEP\n"));
    const QString path = named ? QString::fromStdString(scenario.File("missing.txt")) : QString();

    if (way == LoadWay::EditAndEnter) {
        Enter(window.LoadEdit, path);
    } else {
        scenario.Boxes().fileAnswer = path;
        Click(window.PickLoadButton);
        QCOMPARE(window.LoadEdit->text(), path);
    }

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    // The message gains a full stop unless it ends in a character that sorts below one.
    QCOMPARE(boxes[0].text,
             path.isEmpty() ? QString("Cannot open file ") : "Cannot open file " + path + ".");
    QCOMPARE(boxes[0].caption, QString(kApplicationTitle));
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(window.UploadFile->toPlainText(), areaKept ? QString("KEEP\n") : QString());
}

void FileE2eTest::aFailedSaveLeavesTheOldFileAndTheLog_data() {
    QTest::addColumn<SaveTarget>("target");
    QTest::newRow("into a read-only directory") << SaveTarget::FileInReadOnlyDirectory;
    QTest::newRow("onto a directory") << SaveTarget::ExistingDirectory;
    QTest::newRow("no name") << SaveTarget::EmptyName;
}

void FileE2eTest::aFailedSaveLeavesTheOldFileAndTheLog() {
    QFETCH(SaveTarget, target);
#ifdef _WIN32
    if (target == SaveTarget::FileInReadOnlyDirectory) {
        QSKIP("closing a directory to the user takes an access control list on Windows");
    }
#endif
    Scenario scenario;
    scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    Enter(window.ManualEntry, "A");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> A", "<-- OK"}), kWaitMs);

    const std::string place = scenario.File("place");
    fs::create_directory(place);
    const QByteArray oldLog = "the log saved before\r\n";
    std::string path;
    switch (target) {
        case SaveTarget::FileInReadOnlyDirectory:
            // The file itself may be written: only replacing it through the directory fails.
            path = place + "/log.txt";
            WriteBytes(path, oldLog);
            fs::permissions(path, fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::add);
            break;
        case SaveTarget::ExistingDirectory:
            path = place + "/log";
            fs::create_directory(path);
            WriteBytes(path + "/inside.txt", oldLog);
            break;
        case SaveTarget::EmptyName:
            break;
    }
    const std::set<std::string> namesBefore = NamesIn(place);

    if (target == SaveTarget::FileInReadOnlyDirectory) {
        // Only the last step of the way is closed to the ordinary user.
        fs::permissions(fs::path(scenario.FilesDir()).parent_path(),
                        fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
        fs::permissions(place, fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
#ifndef _WIN32
        OrdinaryFileAccess access;
        if (!OrdinaryFileAccess::Ordinary()) QSKIP("file access cannot be made ordinary");
        Enter(window.SaveEdit, QString::fromStdString(path));
#endif
    } else {
        Enter(window.SaveEdit, QString::fromStdString(path));
    }
    fs::permissions(place, fs::perms::owner_all, fs::perm_options::add);

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, path.empty()
                                ? QString("Cannot create file ")
                                : "Cannot create file " + QString::fromStdString(path) + ".");
    QCOMPARE(boxes[0].caption, QString(kApplicationTitle));
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(LogLines(window), QStringList({"--> A", "<-- OK"}));
    // Nothing replaced and nothing left behind.
    QCOMPARE(NamesIn(place), namesBefore);
    if (target == SaveTarget::FileInReadOnlyDirectory) QCOMPARE(ReadBytes(path), oldLog);
    if (target == SaveTarget::ExistingDirectory) {
        QVERIFY(fs::is_directory(path));
        QCOMPARE(ReadBytes(path + "/inside.txt"), oldLog);
    }
}

QTEST_MAIN(FileE2eTest)
#include "file_e2e_test.moc"
