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
        const QString name = entry.section(u"->"_s, 0, 0);
        QString folder = root;
        for (const QString &part : name.section(u'/', 0, -2).split(u'/', Qt::SkipEmptyParts))
            ::mkdir(rawPath(folder += u'/' + part).constData(), 0755);
        const QByteArray path = rawPath(root + u'/' + name);
        if (entry.contains(u"->"))
            QVERIFY(::symlink(rawPath(entry.section(u"->"_s, 1)).constData(), path.constData()) ==
                    0);
        else if (!name.endsWith(u'/'))
            QVERIFY(::close(::creat(path.constData(), 0644)) == 0);
    }
}

QStringList relativeTo(const QString &root, QStringList paths)
{
    for (QString &path : paths)
        path = path.startsWith(root + u'/') ? path.mid(root.size() + 1) : u"outside: "_s + path;
    return paths;
}

// A, with files of its own, and the subfolders B and C, with files and a deeper level. Folders
// are entered in the order A, C, D, E, B.
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
    void search_data();
    void search();
    void foundListKeepsWhatItHeld();
};

void TestSearchFolder::search_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<qsizetype>("limit");
    // On entering a folder: "cancel X" stops at X, "remove X" takes X away before it is read
    // (root reads any folder whatever its mode; no user can prevent this).
    QTest::addColumn<QString>("entering");
    QTest::addColumn<SearchEnd>("end");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("leftOut"); // names that are not valid UTF-8
    const auto row = [](const char *name, const QStringList &tree, bool subfolders,
                        const QStringList &expected, const QStringList &leftOut = {}) {
        QTest::newRow(name) << tree << subfolders << kFoundListLimit << QString()
                            << SearchEnd::Completed << expected << leftOut;
    };
    row("subfolders last to first, own files after", kTree, true, kTreeOrder);
    row("starting folder only", kTree, false, {"A/a1.mp3", "A/a2.mp3"});
    row("names sorted ignoring case",
        {"A/b.mp3", "A/B.mp3", "A/a.mp3", "A/C.mp3", "A/c/x.mp3", "A/B2/y.mp3"}, true,
        {"A/c/x.mp3", "A/B2/y.mp3", "A/a.mp3", "A/B.mp3", "A/b.mp3", "A/C.mp3"});
    row("extension in any letter case, other names left out",
        {"A/1.mp3", "A/2.MP3", "A/3.mP3", "A/x.mp3.txt", "A/mp3", "A/x.mp4"}, false,
        {"A/1.mp3", "A/2.MP3", "A/3.mP3"});
    row("a folder named like an MP3 is a folder", {"A/x.mp3/", "A/y.mp3/inner.mp3"}, true,
        {"A/y.mp3/inner.mp3"});
    row("hidden entries left out", {"A/.hidden.mp3", "A/.cache/z.mp3", "A/shown.mp3"}, true,
        {"A/shown.mp3"});
    row("link to a file is listed", {"A/real.mp3", "A/link.mp3->real.mp3"}, false,
        {"A/link.mp3", "A/real.mp3"});
    row("links to folders and loops are not followed",
        {"X/x.mp3", "A/a.mp3", "A/toX->../X", "A/B/up->..", "A/B/up.mp3->.."}, true, {"A/a.mp3"});
    row("latin-1 file name", {"A/caf\\xe9.mp3", "A/ok.mp3"}, false, {"A/ok.mp3"},
        {"A/caf\\xe9.mp3"});
    row("overlong and surrogate sequences, valid text kept",
        {"A/\\xc0\\xaf.mp3", "A/\\xed\\xa0\\x80.mp3", "A/\u00e8\\xe8.mp3", "A/perch\u00e9.mp3"},
        false, {"A/perch\u00e9.mp3"},
        {"A/\\xc0\\xaf.mp3", "A/\\xed\\xa0\\x80.mp3", "A/\u00e8\\xe8.mp3"});
    row("folder, searched with its subfolders", {"A/vecchi\\xe0/x.mp3", "A/B/b.mp3"}, true,
        {"A/B/b.mp3"}, {"A/vecchi\\xe0/"});
    QTest::newRow("full in C, B never entered")
        << kTree << true << qsizetype(2) << u"cancel B"_s << SearchEnd::ListFull
        << kTreeOrder.first(2) << QStringList();
    QTest::newRow("exactly the files found") << kTree << true << qsizetype(7) << QString()
                                             << SearchEnd::Completed << kTreeOrder << QStringList();
    QTest::newRow("cancel stops at the next folder")
        << kTree << true << kFoundListLimit << u"cancel B"_s << SearchEnd::Cancelled
        << kTreeOrder.first(3) << QStringList();
    QTest::newRow("folder gone before it is read")
        << kTree << true << kFoundListLimit << u"remove C"_s << SearchEnd::Completed
        << kTreeOrder.mid(3) << QStringList();
}

void TestSearchFolder::search()
{
    QFETCH(QStringList, tree);
    QFETCH(bool, subfolders);
    QFETCH(qsizetype, limit);
    QFETCH(QString, entering);
    QFETCH(SearchEnd, end);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, leftOut);
    QTemporaryDir dir;
    makeTree(dir.path(), tree);
    QStringList found;
    QStringList left;
    const auto onEntering = [&](const QString &folder) {
        if (!entering.isEmpty() && folder.endsWith(u"/A/"_s + entering.section(u' ', 1))) {
            if (entering.startsWith(u"remove"))
                QDir(folder).removeRecursively();
            return entering.startsWith(u"remove");
        }
        return true;
    };
    QCOMPARE(SearchFolder(dir.path() + u"/A"_s, {subfolders, limit}, found, onEntering, &left),
             end);
    QCOMPARE(relativeTo(dir.path(), found), expected);
    QCOMPARE(relativeTo(dir.path(), left), leftOut);
    const QString report = leftOutReport(left);
    for (const QString &name : left)
        QVERIFY2(report.contains(u'\n' + name), qPrintable(report));
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
