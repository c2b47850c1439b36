// The data folder a program finds from its own folder: beside it in a
// portable folder, else share/tessarin of an installed prefix, else its own
// folder (which the "cannot read paidat.dat" message then names).
#include "app/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

TEST(DataFolder, PortableFolderFirstThenInstalledPrefixElseTheProgramFolder) {
    struct Case {
        const char* name;
        QStringList sheets;  // where paidat.dat lies, relative to the prefix
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"portable folder, even with an installed copy", {"bin", "share/tessarin"}, "bin"},
        {"installed prefix", {"share/tessarin"}, "share/tessarin"},
        {"sheet in the wrong shared folder", {"share/other"}, "bin"},
        {"no sheet anywhere", {}, "bin"},
    };
    for (const Case& c : cases) {
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QDir root(prefix.path());
        root.mkpath(QStringLiteral("bin"));
        for (const QString& dir : c.sheets) {
            root.mkpath(dir);
            QFile sheet(root.filePath(dir + QStringLiteral("/paidat.dat")));
            ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
        }
        const QString expected = QDir(root.filePath(QString::fromUtf8(c.expected))).canonicalPath();
        EXPECT_EQ(QDir(dataFolder(root.filePath(QStringLiteral("bin")))).canonicalPath(), expected) << c.name;
    }
}

}  // namespace
}  // namespace tessarin::test
