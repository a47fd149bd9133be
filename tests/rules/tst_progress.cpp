// A contract's progress as the stock moves cars against it, without a window.
#include "ContractProgress.h"
#include "TestDb.h"

#include <QTest>

class TestContractProgress : public QObject {
    Q_OBJECT

private slots:
    void deliveredOnceItsCarsAreMoved_data();
    void deliveredOnceItsCarsAreMoved();
};

void TestContractProgress::deliveredOnceItsCarsAreMoved_data()
{
    QTest::addColumn<bool>("sales");
    QTest::addColumn<QList<int>>("quantities"); // one line each
    QTest::addColumn<int>("moved");             // stock records naming the contract
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("number");        // the number asked for
    QTest::addColumn<int>("after");
    const int saved = codeNumber(ContractProgress::Saved), executing = codeNumber(ContractProgress::Executing),
              delivered = codeNumber(ContractProgress::Delivered);
    for (const bool sales : {false, true}) {
        const char *side = sales ? "sales" : "purchases";
        QTest::addRow("%s: fewer", side) << sales << QList<int>{1, 2} << 2 << executing << "HT-1" << executing;
        QTest::addRow("%s: as ordered", side) << sales << QList<int>{1, 2} << 3 << executing << "HT-1" << delivered;
        QTest::addRow("%s: more", side) << sales << QList<int>{1, 2} << 4 << executing << "HT-1" << executing;
        QTest::addRow("%s: without lines", side) << sales << QList<int>{} << 1 << executing << "HT-1" << executing;
        QTest::addRow("%s: not started", side) << sales << QList<int>{1} << 1 << saved << "HT-1" << delivered;
        QTest::addRow("%s: blank number", side) << sales << QList<int>{1} << 1 << executing << "  " << executing;
    }
}

void TestContractProgress::deliveredOnceItsCarsAreMoved()
{
    QFETCH(bool, sales);
    QFETCH(QList<int>, quantities);
    QFETCH(int, moved);
    QFETCH(int, before);
    QFETCH(QString, number);
    QFETCH(int, after);
    TestDb db;
    const ContractDeliveries &side = sales ? ContractDeliveries::sales() : ContractDeliveries::purchases();
    db.insert(side.contractTable, {{side.serialField, "S1"}, {"contract_no", "HT-1"}, {"isfinished", before}});
    for (int qty : quantities)
        db.insert(side.linesTable, {{side.serialField, "S1"}, {"carmodel", "桑塔纳"}, {"qty", qty}});
    const QString key = sales ? "carout_no" : "carin_no";
    for (int i = 0; i < moved; ++i)
        db.insert(side.recordTable, {{key, QString("R%1").arg(i)}, {side.recordContractField, "HT-1"}});
    // A record of another contract counts for that one only.
    db.insert(side.recordTable, {{key, "OTHER"}, {side.recordContractField, "HT-2"}});

    QCOMPARE(finishWhenDelivered(side, number), after != before);
    QCOMPARE(db.scalar("SELECT isfinished FROM " + side.contractTable).toInt(), after);
}

QTEST_MAIN(TestContractProgress)
#include "tst_progress.moc"
