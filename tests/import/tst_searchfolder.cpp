#include "import/folderlisting.h"
#include "import/searchfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A path as bytes, every "\\xNN" in it standing for the byte NN: names that are not UTF-8.
QByteArray rawPath(const QString &path)
{
    QByteArray raw = QFile::encodeName(path);
    for (qsizetype at = raw.indexOf("\\x"); at >= 0; at = raw.indexOf("\\x", at + 1))
        raw.replace(at, 4, QByteArray(1, char(raw.mid(at + 2, 2).toInt(nullptr, 16))));
    return raw;
}

// Makes a tree below `root` from entries relative to it: "a/" a folder, "a/x.mp3" an empty
// file, "a/l->target" a symbolic link (target taken as written). Parents are made as needed.
void makeTree(const QString &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const qsizetype arrow = entry.indexOf(QStringLiteral("->"));
        const QString name = arrow < 0 ? entry : entry.left(arrow);
        const QString parent = name.endsWith(u'/') ? name : name.section(u'/', 0, -2);
        QString folder = root;
        for (const QString &part : parent.split(u'/', Qt::SkipEmptyParts)) {
            folder += u'/' + part;
            ::mkdir(rawPath(folder).constData(), 0755);
        }
        const QByteArray path = rawPath(root + u'/' + name);
        if (arrow >= 0) {
            QVERIFY2(::symlink(rawPath(entry.mid(arrow + 2)).constData(), path.constData()) == 0,
                     qPrintable(entry));
        } else if (!name.endsWith(u'/')) {
            const int fd = ::creat(path.constData(), 0644);
            QVERIFY2(fd >= 0, qPrintable(entry));
            ::close(fd);
        }
    }
}

QStringList relativeTo(const QString &root, const QStringList &paths)
{
    QStringList relative;
    for (const QString &path : paths) {
        if (!path.startsWith(root + u'/'))
            return {QStringLiteral("outside the tree: ") + path};
        relative << path.mid(root.size() + 1);
    }
    return relative;
}

// A, with files of its own, and the subfolders B and C, with files and a deeper level.
const QStringList kTree = {"A/a1.mp3",   "A/a2.mp3",     "A/B/b1.mp3",    "A/B/b2.mp3",
                           "A/C/c1.mp3", "A/C/D/d1.mp3", "A/C/D/E/e1.mp3"};
const QStringList kTreeOrder = {"A/C/D/E/e1.mp3", "A/C/D/d1.mp3", "A/C/c1.mp3", "A/B/b1.mp3",
                                "A/B/b2.mp3",     "A/a1.mp3",     "A/a2.mp3"};

} // namespace

Q_DECLARE_METATYPE(SearchEnd)

class TestSearchFolder : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void cancelStopsAtTheNextFolder_data();
    void cancelStopsAtTheNextFolder();
    void limit_data();
    void limit();
    void undecodableNamesAreLeftOut_data();
    void undecodableNamesAreLeftOut();
    void unreadableFolderIsSkipped();
    void foundListKeepsWhatItHeld();
};

void TestSearchFolder::order_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("subfolders last to first, own files after") << kTree << true << kTreeOrder;
    QTest::newRow("starting folder only") << kTree << false << QStringList{"A/a1.mp3", "A/a2.mp3"};
    QTest::newRow("names sorted ignoring case")
        << QStringList{"A/b.mp3", "A/B.mp3", "A/a.mp3", "A/C.mp3", "A/c/x.mp3", "A/B2/y.mp3"}
        << true
        << QStringList{"A/c/x.mp3", "A/B2/y.mp3", "A/a.mp3", "A/B.mp3", "A/b.mp3", "A/C.mp3"};
    QTest::newRow("extension in any letter case, other names left out")
        << QStringList{"A/1.mp3", "A/2.MP3", "A/3.mP3", "A/x.mp3.txt", "A/mp3", "A/x.mp4"} << false
        << QStringList{"A/1.mp3", "A/2.MP3", "A/3.mP3"};
    QTest::newRow("a folder named like an MP3 is a folder")
        << QStringList{"A/x.mp3/", "A/y.mp3/inner.mp3"} << true << QStringList{"A/y.mp3/inner.mp3"};
    QTest::newRow("hidden entries left out")
        << QStringList{"A/.hidden.mp3", "A/.cache/z.mp3", "A/shown.mp3"} << true
        << QStringList{"A/shown.mp3"};
    QTest::newRow("link to a file is listed") << QStringList{"A/real.mp3", "A/link.mp3->real.mp3"}
                                              << false << QStringList{"A/link.mp3", "A/real.mp3"};
    QTest::newRow("link loop is not followed")
        << QStringList{"A/B/b.mp3", "A/B/up->..", "A/B/up.mp3->.."} << true
        << QStringList{"A/B/b.mp3"};
    QTest::newRow("link to a folder is not followed")
        << QStringList{"X/x.mp3", "A/a.mp3", "A/toX->../X"} << true << QStringList{"A/a.mp3"};
}

void TestSearchFolder::order()
{
    QFETCH(QStringList, tree);
    QFETCH(bool, subfolders);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    makeTree(dir.path(), tree);
    QStringList found;
    SearchOptions options;
    options.includeSubfolders = subfolders;
    QCOMPARE(SearchFolder(dir.path() + QStringLiteral("/A"), options, found), SearchEnd::Completed);
    QCOMPARE(relativeTo(dir.path(), found), expected);
}

void TestSearchFolder::cancelStopsAtTheNextFolder_data()
{
    QTest::addColumn<int>("stopAt");
    // Folders are entered in the order A, C, D, E, B.
    QTest::newRow("deepest folder") << 4;
    QTest::newRow("entering B after C's tree") << 5;
}

void TestSearchFolder::cancelStopsAtTheNextFolder()
{
    QFETCH(int, stopAt);
    QTemporaryDir dir;
    makeTree(dir.path(), kTree);
    const QString start = dir.path() + QStringLiteral("/A");

    // What a full search had found when it entered each folder.
    QStringList all;
    QList<qsizetype> foundOnEntry;
    SearchFolder(start, {true}, all, [&](const QString &) {
        foundOnEntry << all.size();
        return true;
    });
    QCOMPARE(relativeTo(dir.path(), all), kTreeOrder);
    QCOMPARE(foundOnEntry.size(), 5);

    QStringList found;
    int entered = 0;
    const SearchEnd end =
        SearchFolder(start, {true}, found, [&](const QString &) { return ++entered < stopAt; });
    QCOMPARE(end, SearchEnd::Cancelled);
    QCOMPARE(entered, stopAt);
    QCOMPARE(found, all.first(foundOnEntry.at(stopAt - 1)));
}

void TestSearchFolder::limit_data()
{
    QTest::addColumn<qsizetype>("limit");
    QTest::addColumn<SearchEnd>("end");
    QTest::addColumn<int>("foldersEntered");
    // Folders are entered in the order A, C, D, E, B; files are found e1, d1, c1, b1, b2, a1, a2.
    QTest::newRow("full in C, B never entered") << qsizetype(2) << SearchEnd::ListFull << 4;
    QTest::newRow("exactly the files found") << qsizetype(7) << SearchEnd::Completed << 5;
}

void TestSearchFolder::limit()
{
    QFETCH(qsizetype, limit);
    QFETCH(SearchEnd, end);
    QFETCH(int, foldersEntered);
    QTemporaryDir dir;
    makeTree(dir.path(), kTree);
    QStringList found;
    int entered = 0;
    const SearchOptions options{true, limit};
    QCOMPARE(SearchFolder(dir.path() + QStringLiteral("/A"), options, found,
                          [&](const QString &) {
                              ++entered;
                              return true;
                          }),
             end);
    QCOMPARE(relativeTo(dir.path(), found), kTreeOrder.first(limit));
    QCOMPARE(entered, foldersEntered);
}

void TestSearchFolder::undecodableNamesAreLeftOut_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("leftOut");

    QTest::newRow("latin-1 file name") << QStringList{"A/caf\\xe9.mp3", "A/ok.mp3"} << false
                                       << QStringList{"A/ok.mp3"} << QStringList{"A/caf\\xe9.mp3"};
    QTest::newRow("names that would decode alike")
        << QStringList{"A/bad\\xff\\xfe.mp3", "A/bad\\xfe\\xff.mp3", "A/ok.mp3"} << false
        << QStringList{"A/ok.mp3"} << QStringList{"A/bad\\xfe\\xff.mp3", "A/bad\\xff\\xfe.mp3"};
    QTest::newRow("overlong and surrogate sequences, valid text kept")
        << QStringList{"A/\\xc0\\xaf.mp3", "A/\\xed\\xa0\\x80.mp3", "A/\u00e8\\xe8.mp3",
                       "A/perch\u00e9.mp3"}
        << false << QStringList{"A/perch\u00e9.mp3"}
        << QStringList{"A/\\xc0\\xaf.mp3", "A/\\xed\\xa0\\x80.mp3", "A/\u00e8\\xe8.mp3"};
    QTest::newRow("folder, searched with its subfolders")
        << QStringList{"A/vecchi\\xe0/x.mp3", "A/B/b.mp3", "A/B/l\\xe0.txt"} << true
        << QStringList{"A/B/b.mp3"} << QStringList{"A/vecchi\\xe0/"};
}

void TestSearchFolder::undecodableNamesAreLeftOut()
{
    QFETCH(QStringList, tree);
    QFETCH(bool, subfolders);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, leftOut);
    QTemporaryDir dir;
    makeTree(dir.path(), tree);
    QStringList found;
    QStringList left;
    SearchOptions options;
    options.includeSubfolders = subfolders;
    SearchFolder(dir.path() + QStringLiteral("/A"), options, found, {}, &left);
    QCOMPARE(relativeTo(dir.path(), found), expected);
    QCOMPARE(relativeTo(dir.path(), left), leftOut);

    const QString report = leftOutReport(left);
    QCOMPARE(report.isEmpty(), left.isEmpty());
    for (const QString &name : left)
        QVERIFY2(report.contains(u'\n' + name), qPrintable(report));
}

void TestSearchFolder::unreadableFolderIsSkipped()
{
    // Root reads any folder whatever its permissions: the folder C vanishes between the
    // listing of A and its own reading instead, which no user can prevent.
    QTemporaryDir dir;
    makeTree(dir.path(), kTree);
    QStringList found;
    const SearchEnd end =
        SearchFolder(dir.path() + QStringLiteral("/A"), {true}, found, [&](const QString &f) {
            if (f.endsWith(QStringLiteral("/A/C")))
                QDir(f).removeRecursively();
            return true;
        });
    QCOMPARE(end, SearchEnd::Completed);
    QCOMPARE(relativeTo(dir.path(), found),
             (QStringList{"A/B/b1.mp3", "A/B/b2.mp3", "A/a1.mp3", "A/a2.mp3"}));
}

// A search adds to the list; emptying it is the window's reset. The starting folder may end in
// a slash; a missing one, or a file, gives nothing.
void TestSearchFolder::foundListKeepsWhatItHeld()
{
    QTemporaryDir dir;
    makeTree(dir.path(), {"A/a.mp3", "A/B/b.mp3", "file.mp3"});
    QStringList found{dir.path() + QStringLiteral("/earlier/x.mp3")};
    SearchFolder(dir.path() + QStringLiteral("/A/"), {true}, found);
    for (const char *nothing : {"/none", "/file.mp3"}) {
        QCOMPARE(SearchFolder(dir.path() + QLatin1String(nothing), {true}, found),
                 SearchEnd::Completed);
        QVERIFY(!listFolder(dir.path() + QLatin1String(nothing)).readable);
    }
    QCOMPARE(relativeTo(dir.path(), found), (QStringList{"earlier/x.mp3", "A/B/b.mp3", "A/a.mp3"}));
    QCOMPARE(entryPath(u"/"_s, u"brano.mp3"_s), u"/brano.mp3"_s);
}

QTEST_GUILESS_MAIN(TestSearchFolder)
#include "tst_searchfolder.moc"
