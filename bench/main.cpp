// The benchmark: on a dealer's years of data, how fast each list, picker and
// statistics window shows its first screen, its count and sums, against the
// sqlite3 shell running the same statement, and the memory of ten open lists.
#include "Db.h"
#include "Errors.h"
#include "Generate.h"
#include "ListProbe.h"
#include "Schema.h"
#include "Statements.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int FirstScreen = 200;
constexpr double ScreenBoundMs = 100;
// A list's first screen may take this much beyond twice the shell's.
constexpr double ScreenSlackMs = 10;
// The shell times in whole milliseconds: a figure it gives as 0 may be up to 1.
constexpr double ShellResolutionMs = 1;
constexpr double MemoryBoundMb = 150;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double medianMs(const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}

double rssMb()
{
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The statement as the shell takes it: bound values written as literals.
QString literal(const ListStatement &s)
{
    QString sql = s.sql;
    QStringList names = s.binds.keys();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &name : names) {
        const QVariant v = s.binds.value(name);
        const QString value = v.typeId() == QMetaType::QString
                                      ? QLatin1Char('\'') + v.toString().replace('\'', "''") + QLatin1Char('\'')
                                      : v.toString();
        sql.replace(name.startsWith(':') ? name : ':' + name, value);
    }
    return sql;
}

// The same statements in the sqlite3 shell, with its own settings: each run
// timed by the shell itself (.timer), in one process, so its cache is warm
// like the program's after the first run.
class Shell {
public:
    explicit Shell(const QString &database)
        : m_program(QStandardPaths::findExecutable(QStringLiteral("sqlite3"))), m_database(database)
    {
    }
    bool available() const { return !m_program.isEmpty(); }
    // Median over the runs of the statements' summed time, in ms.
    double ms(const QStringList &statements)
    {
        QString script = QStringLiteral(".timer on\n");
        for (int run = 0; run < Runs; ++run)
            for (const QString &s : statements)
                script += s + QStringLiteral(";\n");
        QProcess p;
        p.start(m_program, {QStringLiteral("-batch"), QStringLiteral("-readonly"), m_database});
        p.write(script.toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(-1);
        std::vector<double> times;
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        for (const QString &line : lines)
            if (line.startsWith(QStringLiteral("Run Time: real ")))
                times.push_back(line.section(' ', 3, 3).toDouble() * 1000);
        if (times.size() != size_t(Runs * statements.size()))
            return -1;
        std::vector<double> perRun(Runs, 0.0);
        for (size_t i = 0; i < times.size(); ++i)
            perRun[i / statements.size()] += times[i];
        return median(perRun);
    }

private:
    QString m_program, m_database;
};

using Lists = std::vector<std::unique_ptr<QObject>>;

void openScreen(const BenchCase &c, Lists &lists)
{
    for (const ListStatement &s : c.screen)
        lists.push_back(openList(s, FirstScreen));
}

void runTotals(const BenchCase &c)
{
    for (const ListStatement &s : c.totals) {
        QSqlQuery q = Db::exec(s.sql, s.binds);
        while (q.next()) {
        }
    }
}

// Display width: a Chinese character takes two columns.
int width(const QString &s)
{
    int w = 0;
    for (const QChar ch : s)
        w += ch.unicode() >= 0x1100 ? 2 : 1;
    return w;
}

QString pad(const QString &s, int w, bool right = false)
{
    const QString fill(qMax(0, w - width(s)), QLatin1Char(' '));
    return right ? fill + s : s + fill;
}

QString ms(double v) { return v < 0 ? QStringLiteral("-") : QString::number(v, 'f', v < 10 ? 1 : 0); }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString path = QFileInfo(args.value(1, QStringLiteral("bench.mdb"))).absoluteFilePath();

    try {
        if (!QFile::exists(path)) {
            out << "Making the benchmark database " << path << " ..." << Qt::endl;
            out << "  done in " << QString::number(generateDatabase(path), 'f', 1) << " s" << Qt::endl;
        }
        QSqlDatabase db = openDatabase(path);
        Schema::upgrade();

        Shell shell(path);
        // Further arguments name the windows to measure; none: every window.
        const QStringList only = args.mid(2);
        QList<BenchCase> cases;
        for (const BenchCase &c : benchCases())
            if (only.isEmpty() || only.contains(c.window))
                cases << c;
        const QStringList head{"window", "condition", "rows", "screen ms", "count+sums ms", "shell screen ms",
                               "shell count ms", "bound ms", "RSS 10 MB", "over"};
        QList<QStringList> table;
        for (const BenchCase &c : cases) {
            QString rows = QStringLiteral("-");
            if (!c.totals.isEmpty())
                rows = Db::scalar(c.totals.first().sql, c.totals.first().binds).toString();
            // Warm the page cache once, as a window opened twice would find it.
            Lists warm;
            openScreen(c, warm);
            warm.clear();
            const double screen = medianMs([&] { Lists l; openScreen(c, l); });
            const double totals = c.totals.isEmpty() ? -1 : medianMs([&] { runTotals(c); });

            QStringList shellScreen, shellTotals;
            // The same screen: in the list's own order, where the window gives one.
            for (const ListStatement &s : c.screen)
                shellScreen << literal(s)
                                       + (c.list && !s.order.isEmpty() ? QStringLiteral(" order by ") + s.order
                                                                        : QString())
                                       + (c.list ? QStringLiteral(" limit %1").arg(FirstScreen) : QString());
            for (const ListStatement &s : c.totals)
                shellTotals << literal(s);
            const double sScreen = shell.available() ? shell.ms(shellScreen) : -1;
            const double sTotals = shell.available() && !c.totals.isEmpty() ? shell.ms(shellTotals) : -1;

            double memory;
            {
                Lists ten;
                for (int i = 0; i < 10; ++i)
                    openScreen(c, ten);
                memory = rssMb();
            }
            // A list: its first screen in 10 ms plus twice the shell's, and under
            // 100 ms. Figures (the statistics): the whole statement, which the
            // shell too needs in full, within twice the shell's or 100 ms.
            const double bound = c.list ? qMin(ScreenBoundMs, ScreenSlackMs + 2 * sScreen)
                                        : qMax(ScreenBoundMs, 2 * sScreen);
            QStringList over;
            if (screen > bound)
                over << QStringLiteral("screen");
            if (totals > 2 * qMax(sTotals, ShellResolutionMs))
                over << QStringLiteral("count");
            if (memory > MemoryBoundMb)
                over << QStringLiteral("memory");
            table << QStringList{c.window, c.condition, rows, ms(screen), ms(totals), ms(sScreen), ms(sTotals),
                                 ms(bound), QString::number(memory, 'f', 0), over.join(',')};
            out << "." << Qt::flush;
        }
        out << Qt::endl;

        QList<int> widths;
        for (int i = 0; i < head.size(); ++i) {
            int w = width(head[i]);
            for (const QStringList &row : table)
                w = qMax(w, width(row[i]));
            widths << w;
        }
        auto line = [&](const QStringList &cells) {
            QStringList padded;
            for (int i = 0; i < cells.size(); ++i)
                padded << pad(cells[i], widths[i], i >= 2 && i < 9);
            out << "| " << padded.join(" | ") << " |" << Qt::endl;
        };
        out << Qt::endl << "Median of " << Runs << " runs; first screen = " << FirstScreen
            << " rows; shell screen: the list statement with limit " << FirstScreen
            << " (figures: the whole statements), timed by the shell." << Qt::endl
            << "bound: a list's first screen within " << ScreenSlackMs << " ms plus twice the shell's and under "
            << ScreenBoundMs << " ms; figures within twice the shell or " << ScreenBoundMs
            << " ms; count and sums within twice the shell's (at least " << ShellResolutionMs
            << " ms, its resolution); memory " << MemoryBoundMb << " MB with ten lists open." << Qt::endl
            << Qt::endl;
        line(head);
        QStringList rule;
        for (int w : widths)
            rule << QString(w, '-');
        out << "|-" << rule.join("-|-") << "-|" << Qt::endl;
        for (const QStringList &row : table)
            line(row);
    } catch (const AppError &e) {
        QTextStream(stderr) << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
