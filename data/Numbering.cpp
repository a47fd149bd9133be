// Document numbers: prefix + year-month + four-digit serial.
#include "Numbering.h"
#include "DMsales.h"
#include "Db.h"
#include "Errors.h"

namespace {

constexpr int SerialsPerMonth = 10000;

QString serialText(qint64 serial)
{
    return (QStringLiteral("0000") + QString::number(serial)).right(4);
}

} // namespace

QString TfrmDMcarsales::NextDocumentNumber(const QString &prefixColumn,
                                           const QString &counterColumn,
                                           const QString &typeCode, const QString &tableName,
                                           const QString &numberField)
{
    const QString prefixCol = Db::identifier(prefixColumn);
    const QString counterCol = Db::identifier(counterColumn);
    const QString table = Db::identifier(tableName);
    const QString field = Db::identifier(numberField);
    const QVariantMap type{{QStringLiteral(":type"), typeCode}};

    Db::Transaction t;

    QVariant ym, prefix;
    if (!QueryFirstRow(QStringLiteral("SELECT YM_S FROM XTDH"), {&ym}) || ym.isNull())
        throw DbError(QStringLiteral("单据编号表(XTDH)中没有年月记录，请先进行数据初始化！"));
    if (!QueryFirstRow(QStringLiteral("SELECT ") + prefixCol + QStringLiteral(" FROM DHSZ"),
                       {&prefix}) || prefix.isNull())
        throw DbError(QStringLiteral("单据编号前缀表(DHSZ)中没有记录！"));

    // Every serial taken from the counter is consumed even when its number is
    // already in use; after a full round of them every serial is in use.
    int counterDraws = 0;
    for (;;) {
        QVariant recycled;
        QueryFirstRow(QStringLiteral("SELECT min(recycle) FROM recycle WHERE type = :type"),
                      {&recycled}, type);
        qint64 serial;
        if (!recycled.isNull()) {
            serial = recycled.toLongLong();
            Db::exec(QStringLiteral("DELETE FROM recycle WHERE recycle = :serial AND type = :type"),
                     {{QStringLiteral(":serial"), serial}, {QStringLiteral(":type"), typeCode}});
        } else {
            if (++counterDraws > SerialsPerMonth)
                throw AppError(QStringLiteral("编号 %1%2 的 %3 个流水号已全部用完，无法生成新的单据号！")
                                   .arg(prefix.toString(), ym.toString())
                                   .arg(SerialsPerMonth));
            if (Db::execCount(QStringLiteral("UPDATE XTDH SET ") + counterCol + QStringLiteral(" = ")
                              + counterCol + QStringLiteral(" + 1")) == 0)
                throw DbError(QStringLiteral("单据编号表(XTDH)中没有记录，请先进行数据初始化！"));
            QVariant counter;
            QueryFirstRow(QStringLiteral("SELECT ") + counterCol + QStringLiteral(" FROM XTDH"),
                          {&counter});
            serial = counter.toLongLong();
        }

        const QString number = prefix.toString() + ym.toString() + serialText(serial);
        const QVariant used = Db::scalar(QStringLiteral("SELECT count(1) FROM ") + table
                                             + QStringLiteral(" WHERE ") + field
                                             + QStringLiteral(" = :number"),
                                         {{QStringLiteral(":number"), number}});
        if (used.toLongLong() == 0) {
            t.commit();
            return number;
        }
    }
}

bool TfrmDMcarsales::RecycleDocumentNumber(const QString &number, const QString &typeCode)
{
    bool ok = false;
    qint64 serial = number.right(4).toLongLong(&ok);
    if (!ok)
        serial = 0;
    const QVariantMap binds{{QStringLiteral(":serial"), serial}, {QStringLiteral(":type"), typeCode}};

    Db::Transaction t;
    const QVariant count = Db::scalar(
        QStringLiteral("SELECT count(recycle) FROM recycle WHERE recycle = :serial AND type = :type"),
        binds);
    if (count.toLongLong() != 0)
        return true;
    Db::exec(QStringLiteral("INSERT INTO recycle (s_code, recycle, type) VALUES ('cmsp', :serial, :type)"),
             binds);
    t.commit();
    return false;
}

QString nextNumber(const DocumentNumbering &n)
{
    return frmDMcarsales->NextDocumentNumber(n.prefixColumn, n.counterColumn, n.typeCode, n.table,
                                             n.numberField);
}

void giveBackUnstoredNumbers(const DocumentNumbering &n, const QStringList &drawn)
{
    Db::Transaction t;
    for (const QString &number : drawn) {
        const bool stored = !Db::scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = :n")
                                                .arg(Db::identifier(n.table), Db::identifier(n.numberField)),
                                        {{QStringLiteral(":n"), number}})
                                 .isNull();
        if (!stored)
            frmDMcarsales->RecycleDocumentNumber(number, n.typeCode);
    }
    t.commit();
}
