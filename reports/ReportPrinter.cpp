#include "ReportPrinter.h"
#include "Clock.h"
#include "Errors.h"
#include "Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QRegularExpression>

namespace Rpt {

QFont toQFont(const Font &font)
{
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    return f;
}

double textWidth(const QString &text, const Font &font)
{
    // Measured large and unhinted, so that the width is the same at any
    // resolution, then scaled to the point size.
    constexpr double Pixels = 1000;
    QFont f = toQFont(font);
    f.setPixelSize(int(Pixels));
    f.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(f).horizontalAdvance(text) / Pixels * font.pointSize * 25.4 / 72.0;
}

QStringList Page::texts() const
{
    QStringList out;
    for (const auto &item : items)
        if (item.kind == PageItem::Text)
            out << item.text;
    return out;
}

} // namespace Rpt

namespace {

ReportPrinter *g_installed = nullptr;

class SystemPrinter : public ReportPrinter {
public:
    void print(const Rpt::Document &doc, QWidget *parent) override
    {
        if (hasPrinter())
            printOnDefaultPrinter(doc, parent);
        else
            printToPdfFile(doc, parent);
    }
};

void setUpPage(QPagedPaintDevice &device, const Rpt::Document &doc)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(doc.setup.orientation);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// Paints every page; progress, when given, follows the pages.
void paintDocument(QPagedPaintDevice &device, const Rpt::Document &doc, double dpi,
                   QProgressDialog *progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(QStringLiteral("无法开始打印: %1").arg(doc.title));
    for (int i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            throw AppError(QStringLiteral("打印失败: %1").arg(doc.title));
        ReportPrinter::paintPage(painter, doc.pages.at(i), dpi);
        if (progress)
            progress->setValue(i + 1);
    }
    if (!painter.end())
        throw AppError(QStringLiteral("打印失败: %1").arg(doc.title));
}

} // namespace

ReportPrinter *ReportPrinter::current()
{
    static SystemPrinter system;
    return g_installed ? g_installed : &system;
}

void ReportPrinter::install(ReportPrinter *printer) { g_installed = printer; }

bool ReportPrinter::hasPrinter() { return !QPrinterInfo::availablePrinters().isEmpty(); }

void ReportPrinter::paintPage(QPainter &painter, const Rpt::Page &page, double dpi)
{
    const double k = dpi / 25.4;
    auto dev = [k](const QRectF &mm) {
        return QRectF(mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k);
    };
    QPen pen(Qt::black);
    pen.setWidthF(0.2 * k);
    for (const auto &item : page.items) {
        const QRectF r = dev(item.rect);
        switch (item.kind) {
        case Rpt::PageItem::Line:
            painter.setPen(pen);
            painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        case Rpt::PageItem::Box:
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
            break;
        case Rpt::PageItem::Text: {
            if (item.text.isEmpty())
                break;
            QFont f = Rpt::toQFont(item.font);
            // The device may draw a little wider than the layout measured.
            for (int i = 0; item.shrinkToFit && i < 3; ++i) {
                const double drawn = QFontMetricsF(f, painter.device()).horizontalAdvance(item.text);
                if (drawn <= r.width())
                    break;
                f.setPointSizeF(f.pointSizeF() * r.width() / drawn * 0.99);
            }
            painter.save();
            painter.setFont(f);
            painter.setPen(Qt::black);
            // A long text is cut at its box, never drawn over the next column.
            painter.setClipRect(r);
            painter.drawText(r, int(item.align) | Qt::TextSingleLine, item.text);
            painter.restore();
            break;
        }
        }
    }
}

void ReportPrinter::printOnDefaultPrinter(const Rpt::Document &doc, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(doc.title);
    printer.setFullPage(true);
    setUpPage(printer, doc);
    QProgressDialog progress(QStringLiteral("正在打印 %1 ...").arg(doc.title), QString(), 0,
                             int(doc.pages.size()), parent);
    progress.setWindowTitle(Msg::defaultTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    paintDocument(printer, doc, printer.resolution(), &progress);
}

namespace {
QString notSaved(const QString &title, const QString &where, const QString &reason)
{
    return QStringLiteral("报表“%1”无法保存为文件：\n%2\n%3").arg(title, where, reason);
}

// Why the file cannot be made, in the user's words where the folder says it.
QString unwritable(const QString &fileName, const QFile &file)
{
    const QFileInfo folder(QFileInfo(fileName).absolutePath());
    const QString path = QDir::toNativeSeparators(folder.filePath());
    if (!folder.exists())
        return QStringLiteral("文件夹 %1 不存在。").arg(path);
    if (!folder.isDir())
        return QStringLiteral("%1 不是文件夹。").arg(path);
    if (!folder.isWritable())
        return QStringLiteral("文件夹 %1 不允许写入。").arg(path);
    return file.errorString();
}
} // namespace

void ReportPrinter::writePdf(const Rpt::Document &doc, const QString &fileName)
{
    // The file is opened before anything is painted: one that cannot be made
    // is said so in the print's error, and no painter begins on it.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(
            notSaved(doc.title, QDir::toNativeSeparators(fileName), unwritable(fileName, file)));
    try {
        QPdfWriter pdf(&file);
        pdf.setTitle(doc.title);
        pdf.setCreator(QStringLiteral("huoyun"));
        pdf.setResolution(300);
        setUpPage(pdf, doc);
        paintDocument(pdf, doc, pdf.resolution(), nullptr);
    } catch (const AppError &) {
        file.remove(); // no half-written file is left behind
        throw;
    }
}

QString ReportPrinter::printToPdfFile(const Rpt::Document &doc, QWidget *parent)
{
    QString base = doc.title;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]")), QStringLiteral("_"));
    if (base.isEmpty())
        base = QStringLiteral("report");
    base += QLatin1Char('_') + Clock::now().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    // A current folder that was removed has no path any more.
    if (QDir::currentPath().isEmpty())
        throw AppError(notSaved(doc.title, base + QStringLiteral(".pdf"),
                                QStringLiteral("当前文件夹已不存在。")));
    const QDir dir = QDir::current();
    QString path = dir.absoluteFilePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFile::exists(path); ++n) // two prints within one second
        path = dir.absoluteFilePath(QStringLiteral("%1_%2.pdf").arg(base).arg(n));
    writePdf(doc, path);
    Msg::information(QStringLiteral("没有安装打印机，报表已保存为文件：\n%1").arg(path), parent);
    return path;
}

CapturedPrints::CapturedPrints() : m_previous(g_installed) { install(this); }

CapturedPrints::~CapturedPrints() { install(m_previous); }

void CapturedPrints::print(const Rpt::Document &doc, QWidget *)
{
    if (fail)
        throw AppError(QStringLiteral("打印失败: %1").arg(doc.title));
    documents.append(doc);
}
