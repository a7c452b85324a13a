#include "app/InstalledFiles.h"

#include "Wait.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tapwise {
namespace {

// A remover started for file has reached its wait: a child of it reads its
// input.
bool removerIsReading(const QString& file) {
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile command("/proc/" + pid + "/cmdline");
        if (!command.open(QIODevice::ReadOnly) ||
            !command.readAll().split('\0').contains(QFile::encodeName(file)))
            continue;
        QFile children("/proc/" + pid + "/task/" + pid + "/children");
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            QFile name("/proc/" + QString::fromLatin1(child.trimmed()) + "/comm");
            if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "cat")
                return true;
        }
    }
    return false;
}

// An installation of its own: bin/tapwise, bin/tapwise-store and a shared
// folder, as the install step lays them out.
class InstalledFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prefix.isValid());
        for (const QString folder : {"bin", "share/tapwise", "share/other"})
            QDir().mkpath(prefix.filePath(folder));
        for (const QString file : {"bin/tapwise", "bin/tapwise-store", "share/tapwise/notes"})
            touch(file);
    }
    QString path(const QString& relative) const { return prefix.filePath(relative); }
    void touch(const QString& relative) const {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir prefix;
};

TEST_F(InstalledFilesTest, OnlyListedFilesOfAManifestThatListsTheProgram) {
    const QString manifest = "# installed\n" + path("bin/tapwise") + "\n" +
                             path("bin/tapwise-store") + "\n\n" + path("share/tapwise/notes") +
                             "\n" + path("share/other") + "\n" +       // a folder
                             path("bin/../bin/tapwise-store") + "\n" + // not clean
                             "share/tapwise/notes\n" +                 // not absolute
                             path("share/tapwise/gone") + "\n" +       // missing
                             path("bin/tapwise") + "\n";               // twice
    EXPECT_EQ(
        RemovableInstalledFiles(manifest, path("bin/tapwise")),
        QStringList({path("bin/tapwise"), path("bin/tapwise-store"), path("share/tapwise/notes")}));

    // Another copy of the program (a build tree beside an installation)
    // removes nothing.
    touch("tapwise");
    EXPECT_TRUE(RemovableInstalledFiles(manifest, path("tapwise")).isEmpty());
    EXPECT_TRUE(RemovableInstalledFiles("", path("bin/tapwise")).isEmpty());
}

TEST_F(InstalledFilesTest, FilesInAFolderTheUserCannotChangeStay) {
    if (geteuid() == 0)
        GTEST_SKIP() << "every folder is writable for root";
    QFile::setPermissions(path("share/tapwise"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString manifest = path("bin/tapwise") + "\n" + path("share/tapwise/notes") + "\n";
    EXPECT_EQ(RemovableInstalledFiles(manifest, path("bin/tapwise")),
              QStringList{path("bin/tapwise")});
    QFile::setPermissions(path("share/tapwise"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(InstalledFilesTest, TheRemoverWaitsForTheDescriptorThenRemovesFilesAndTheEmptyFolder) {
    const QStringList files = {path("bin/tapwise"), path("share/tapwise/notes")};
    const Result<int> remover = StartRemover(files, path("share/tapwise"));
    ASSERT_TRUE(remover.ok()) << remover.error().message.toStdString();
    // While the descriptor is open the remover waits, reading, and nothing
    // has gone.
    EXPECT_TRUE(test::waitUntil([&] { return removerIsReading(files[1]); }));
    EXPECT_TRUE(QFile::exists(files[0]));
    EXPECT_TRUE(QFile::exists(files[1]));
    close(remover.value());
    EXPECT_TRUE(test::waitUntil(
        [&] { return !QFile::exists(files[0]) && !QFile::exists(path("share/tapwise")); }));
    EXPECT_TRUE(QFile::exists(path("bin/tapwise-store")));
    EXPECT_TRUE(QFile::exists(path("bin")));

    // A folder that still holds other files stays.
    touch("share/other/kept");
    const Result<int> second = StartRemover({path("bin/tapwise-store")}, path("share/other"));
    ASSERT_TRUE(second.ok());
    close(second.value());
    EXPECT_TRUE(test::waitUntil([&] { return !QFile::exists(path("bin/tapwise-store")); }));
    EXPECT_TRUE(QFile::exists(path("share/other/kept")));
}

} // namespace
} // namespace tapwise
