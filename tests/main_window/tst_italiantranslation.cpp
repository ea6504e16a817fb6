#include "main_window/italiantranslation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

class TestItalianTranslation : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsReadItalian_data();
    void standardButtonsReadItalian();
};

void TestItalianTranslation::standardButtonsReadItalian_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("yes") << int(QDialogButtonBox::Yes) << QStringLiteral("Sì");
    QTest::newRow("no") << int(QDialogButtonBox::No) << QStringLiteral("No");
    QTest::newRow("ok") << int(QDialogButtonBox::Ok) << QStringLiteral("OK");
}

void TestItalianTranslation::standardButtonsReadItalian()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    static const bool installed = installItalianQtTranslation(*qApp);
    QVERIFY2(installed, "Qt's Italian translation (qt6-translations-l10n) is not installed");
    const auto standard = static_cast<QDialogButtonBox::StandardButton>(button);
    QDialogButtonBox box{QDialogButtonBox::StandardButtons(standard)};
    QCOMPARE(box.button(standard)->text().remove(u'&'), text);
}

QTEST_MAIN(TestItalianTranslation)
#include "tst_italiantranslation.moc"
