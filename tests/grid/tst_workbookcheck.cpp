#include "exportgrid.h"

#include "grid/cataloguemodel.h"
#include "grid/workbookcheck.h"
#include "grid/xlsxexport.h"
#include "support/filestate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

// A workbook cut short while the library packed it is XlsxExport's test (a file-size limit);
// here the faults a damaged file shows on its own.
class TestWorkbookCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_workbook;
    static constexpr int kRows = 300;

private slots:
    void initTestCase()
    {
        std::vector<GridRow> rows;
        for (int r = 0; r < kRows; ++r)
            rows.push_back({u"Brano %1"_s.arg(r), u"Artista"_s, u"Album"_s, u"1999"_s, u"Rock"_s,
                            QString(), u"brano %1"_s.arg(r), u"/m/"_s, u"1 KB"_s, u"OK"_s,
                            u"DATI"_s, QString::number(r + 1)});
        CatalogueModel model;
        model.setRows(rowsShowing(rows));
        const QString path = m_dir.filePath(u"lista.xlsx"_s);
        QCOMPARE(XlsxExport::write(model, path).outcome, GridExport::Outcome::Written);
        m_workbook = fileBytes(path);
        QVERIFY(m_workbook.startsWith("PK\x03\x04"));
    }

    void tellsADamagedWorkbook_data()
    {
        QTest::addColumn<qsizetype>("cutAt");
        QTest::addColumn<qsizetype>("changedByte");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("complete");
        QTest::newRow("as written, with its header row")
            << qsizetype(-1) << qsizetype(-1) << kRows + 1 << true;
        QTest::newRow("a row more expected")
            << qsizetype(-1) << qsizetype(-1) << kRows + 2 << false;
        QTest::newRow("the zip directory cut off")
            << qsizetype(-30) << qsizetype(-1) << kRows + 1 << false;
        QTest::newRow("the first part's packed bytes changed")
            << qsizetype(-1) << qsizetype(80) << kRows + 1 << false;
        QTest::newRow("the directory's CRC of the first part changed")
            << qsizetype(-1) << qsizetype(-2) << kRows + 1 << false;
        QTest::newRow("empty") << qsizetype(0) << qsizetype(-1) << kRows + 1 << false;
    }

    void tellsADamagedWorkbook()
    {
        QFETCH(qsizetype, cutAt);
        QFETCH(qsizetype, changedByte);
        QFETCH(int, rows);
        QFETCH(bool, complete);
        QByteArray bytes = m_workbook;
        if (cutAt >= 0)
            bytes.truncate(cutAt);
        else if (cutAt != -1)
            bytes.chop(-cutAt);
        if (changedByte == -2) {
            // The first record of the zip directory, whose offset the last 22 bytes give; its
            // CRC is 16 bytes in.
            changedByte =
                qFromLittleEndian<quint32>(bytes.constData() + bytes.size() - 22 + 16) + 16;
        }
        if (changedByte >= 0)
            bytes[changedByte] = static_cast<char>(bytes[changedByte] ^ 0x5A);
        const QString path = m_dir.filePath(u"copia.xlsx"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        QString error;
        QCOMPARE(WorkbookCheck::isComplete(path, rows, &error), complete);
        QCOMPARE(error.isEmpty(), complete);
    }
};

QTEST_GUILESS_MAIN(TestWorkbookCheck)
#include "tst_workbookcheck.moc"
