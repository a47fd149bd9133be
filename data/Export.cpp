// A grid's columns and rows as a tab-separated text file for a spreadsheet.
#include "DMsales.h"
#include "Errors.h"
#include "Format.h"
#include "Gbk.h"

#include <QBuffer>
#include <QSaveFile>

// Row by row into the device: a paged data set reads its pages in turn, so a
// long list is never all in memory. False when the device refused a write.
bool TfrmDMcarsales::writeExport(QIODevice &out, DataSet &data, const GridColumns &columns)
{
    static const QByteArray lineEnd("\r\n");
    QString header;
    for (const GridColumn &c : columns)
        header += c.title + QLatin1Char('\t');
    QByteArray line = toGbk(header) + lineEnd;
    if (out.write(line) != line.size())
        return false;
    for (int row = 0; row < data.recordCount(); ++row) {
        QString text;
        for (const GridColumn &c : columns)
            text += c.text(data.valueAt(row, c.field), Fmt::StoredDates::AsStored) + QLatin1Char('\t');
        line = toGbk(text) + lineEnd;
        if (out.write(line) != line.size())
            return false;
    }
    return true;
}

QByteArray TfrmDMcarsales::exportText(DataSet &data, const GridColumns &columns)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeExport(buffer, data, columns);
    return buffer.data();
}

void TfrmDMcarsales::ExportGridToText(DataSet &data, const GridColumns &columns, QWidget *parent)
{
    if (!SaveDialog1)
        throw AppError(QStringLiteral("没有可用的保存文件对话框"));
    if (!SaveDialog1->execute(parent))
        return;
    // The save file only replaces the file once all is written: a failure
    // leaves no partial file.
    QSaveFile file(SaveDialog1->fileName);
    if (!file.open(QIODevice::WriteOnly) || !writeExport(file, data, columns) || !file.commit())
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(SaveDialog1->fileName,
                                                                 file.errorString()));
}
