#pragma once

#include "ReportPages.h"

#include <QList>

class QPaintDevice;
class QPainter;
class QWidget;

// The one way out to paper. By default a report goes to the system's default
// printer with a progress window; with no printer installed it is written as
// a PDF file in the current directory and an information box names the file.
// Tests install a CapturedPrints to read the laid-out pages instead.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    // Throws AppError when the report could not be printed.
    virtual void print(const Rpt::Document &doc, QWidget *parent) = 0;

    static ReportPrinter *current();
    static void install(ReportPrinter *printer); // nullptr: the system's

    static bool hasPrinter();
    static void printOnDefaultPrinter(const Rpt::Document &doc, QWidget *parent);
    // Writes "<title>_<yyyyMMdd_HHmmss>.pdf" in the current directory, shows
    // the information box and returns the file's full path.
    static QString printToPdfFile(const Rpt::Document &doc, QWidget *parent);
    static void writePdf(const Rpt::Document &doc, const QString &fileName);
    // Paints one page on a painter whose device has the given resolution.
    static void paintPage(QPainter &painter, const Rpt::Page &page, double dotsPerInch);
};

// Captures every printout while it exists.
class CapturedPrints : public ReportPrinter {
public:
    CapturedPrints();
    ~CapturedPrints() override;
    void print(const Rpt::Document &doc, QWidget *parent) override;

    QList<Rpt::Document> documents;
    bool fail = false; // makes the next prints fail, as a broken printer would

private:
    ReportPrinter *m_previous;
};
