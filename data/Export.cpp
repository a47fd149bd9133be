// A grid's columns and rows as a tab-separated text file for a spreadsheet.
#include "DMsales.h"
#include "Errors.h"
#include "Format.h"
#include "Gbk.h"

#include <QSaveFile>

QByteArray TfrmDMcarsales::exportText(DataSet &data, const GridColumns &columns)
{
    static const QByteArray lineEnd("\r\n");
    QString header;
    for (const GridColumn &c : columns)
        header += c.title + QLatin1Char('\t');
    QByteArray out = toGbk(header) + lineEnd;

    for (int row = 0; row < data.recordCount(); ++row) {
        QString line;
        for (const GridColumn &c : columns)
            line += Fmt::display(data.valueAt(row, c.field)) + QLatin1Char('\t');
        out += toGbk(line) + lineEnd;
    }
    return out;
}

void TfrmDMcarsales::ExportGridToText(DataSet &data, const GridColumns &columns, QWidget *parent)
{
    if (!SaveDialog1)
        throw AppError(QStringLiteral("没有可用的保存文件对话框"));
    if (!SaveDialog1->execute(parent))
        return;
    // Built whole first and written in one go: a failure leaves no partial file.
    const QByteArray text = exportText(data, columns);
    QSaveFile file(SaveDialog1->fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(SaveDialog1->fileName,
                                                                 file.errorString()));
}
